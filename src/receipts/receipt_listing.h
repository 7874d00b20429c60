#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "receipts/receipt_file_list.h"
#include "store/engine/database.h"

// The lines the batch printing lists, one per taxpayer with a receipt file of the period.
namespace athup::receipts {

enum class ReceiptSortKey {
  Ban,         // 統一編號, column 0
  Losn,        // 稅籍編號, column 1
  UploadTime,  // 上傳時間, column 3
};

inline constexpr std::string_view kAscending = "MinToMax";
inline constexpr std::string_view kDescending = "MaxToMin";

inline constexpr std::string_view kReceiptListHint =
    "請選擇營業人統一編號後，再執行[預覽]或[列印]。";
inline constexpr std::string_view kReceiptListStatus =
    "「營利事業暨扣繳單位名稱」空白者，請檢查營業人基本資料有無建立";
inline constexpr std::string_view kReceiptHeadingHint =
    "左邊方框打勾則為全選,取消打勾則為取消全選. 單擊此棒可更改排序之昇降冪";
inline constexpr std::string_view kNothingChosen = "請選擇營業人統一編號!!";

// The line of a taxpayer found in the taxpayer master.
[[nodiscard]] std::string masterDisplayLine(std::string_view ban, std::string_view losn,
                                            std::string_view name, std::string_view fileTime,
                                            ReceiptSortKey key);
// The line of a taxpayer with a receipt file but no master row.
[[nodiscard]] std::string orphanDisplayLine(std::string_view ban);

// The header bar text over the lines, with the arrow at the sorted column.
[[nodiscard]] std::string receiptListHeading(ReceiptSortKey key, std::string_view order);

// The display lines of the files: one per master row of their BANs (read through the ATH_DB
// alias, a thousand BANs a statement), a line for each digits-only BAN without one, sorted by the
// key's column in the order ("MinToMax" or "MaxToMin"), identical lines once. The first eight
// characters of every line are the BAN.
[[nodiscard]] std::vector<std::string> receiptDisplayLines(const std::vector<ReceiptFile>& files,
                                                           store::Database& athDb,
                                                           ReceiptSortKey key,
                                                           std::string_view order);

}  // namespace athup::receipts
