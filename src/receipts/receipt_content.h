#pragma once

#include <optional>
#include <string>
#include <vector>

#include "store/queries/taxpayer_record.h"
#include "upload/result/result_records.h"

namespace athup::receipts {

// What one taxpayer's receipt is printed from.
struct ReceiptInputs {
  upload::ResultHeader header;                    // the receipt file's "ORB000" line
  std::vector<std::string> statusLines;           // the stored lines, ordered by their full text
  std::optional<store::TaxpayerRecord> taxpayer;  // nullopt when the master has no row
  std::string hsnCd;                              // office code of the last return upload
  std::string applyYM;                            // gApplyYM
  std::string todayYYYYMMDD;                      // the day it is printed, Gregorian
};

// One summary row per attachment category.
struct CategoryRow {
  std::string label;         // "02：零稅率非經海關"
  std::string count;         // status lines of the category
  std::string uploadDate;    // ROC date of the category's first line, "113/05/20"
  std::string uploadsToday;  // columns 23-25 of the header, the same on every row
};

// One row per uploaded file.
struct DetailRow {
  std::string fileCd;      // columns 7-8
  std::string fileName;    // name "." extension, both trimmed
  std::string fileSize;    // "###,###,###,##0"
  std::string uploadedAt;  // "yyyy/mm/dd hh:nn:ss"
};

// Every text of the receipt, before it is laid out on pages.
struct ReceiptContent {
  std::string title;
  std::string periodText;  // "102年03月"
  std::string ban;
  std::string banName;
  std::string losn;
  std::vector<CategoryRow> categories;
  std::vector<DetailRow> details;
  std::string ministryLine;
  std::string officeName;
  std::string receiptDate;  // "113.05.21"
};

inline constexpr const char* kReceiptTitle = "營業稅網路申報附件上傳收執聯";

// Fills every band's texts from the inputs. Categories appear in the order their codes first
// occur in the lines (by the full text, so by code); the stamp's date is the second time stamp of
// the last category's first line.
[[nodiscard]] ReceiptContent buildReceiptContent(const ReceiptInputs& inputs);

}  // namespace athup::receipts
