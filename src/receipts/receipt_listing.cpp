#include "receipts/receipt_listing.h"

#include <algorithm>
#include <cstddef>

#include "common/big5.h"
#include "common/text_helpers.h"

namespace athup::receipts {

namespace {

constexpr std::size_t kBansPerStatement = 1000;

std::size_t sortColumn(ReceiptSortKey key) {
  switch (key) {
    case ReceiptSortKey::Losn:
      return 1;
    case ReceiptSortKey::UploadTime:
      return 3;
    case ReceiptSortKey::Ban:
      break;
  }
  return 0;
}

}  // namespace

std::string masterDisplayLine(std::string_view ban, std::string_view losn, std::string_view name,
                              std::string_view fileTime, ReceiptSortKey key) {
  const std::string shownName =
      common::padRight(common::trimBlanks(common::cutToBig5Width(name, 50)), 52, "　");
  return std::string(ban) + "       | " + std::string(losn) + "    | " + shownName +
         (key == ReceiptSortKey::UploadTime ? "| " : " | ") + std::string(fileTime);
}

std::string orphanDisplayLine(std::string_view ban) {
  return std::string(ban) + " |              |" + common::padLeft("|", 30, " ");
}

std::string receiptListHeading(ReceiptSortKey key, std::string_view order) {
  const std::string arrow = order.find(kDescending) != std::string_view::npos ? "▼" : "▲";
  const auto mark = [&](ReceiptSortKey column, std::string_view blanks) {
    return key == column ? arrow : std::string(blanks);
  };
  return mark(ReceiptSortKey::Ban, "  ") + "統一編號|" + mark(ReceiptSortKey::Losn, "  ") +
         "稅籍編號|    營利事業暨扣繳單位名稱                       |" +
         (key == ReceiptSortKey::UploadTime ? "   " + arrow : std::string("     ")) + "上傳時間";
}

std::vector<std::string> receiptDisplayLines(const std::vector<ReceiptFile>& files,
                                             store::Database& athDb, ReceiptSortKey key,
                                             std::string_view order) {
  std::vector<std::string> lines;
  std::vector<std::string> listedBans;
  for (std::size_t start = 0; start < files.size(); start += kBansPerStatement) {
    const std::size_t end = std::min(files.size(), start + kBansPerStatement);
    std::string sql =
        "SELECT DISTINCT BAN, BAN_NM_X30 BAN_NAME, VAT_LOSN_X9 FROM ORBDB1_APPLYER WHERE BAN IN (";
    store::Params params;
    for (std::size_t i = start; i < end; ++i) {
      const std::string name = "B" + std::to_string(i - start);
      sql += (i == start ? ":" : ", :") + name;
      params.push_back({name, files[i].ban});
    }
    sql += ")";
    store::ResultSet rows = athDb.query(sql, params);
    for (rows.first(); !rows.eof(); rows.next()) {
      const std::string ban = common::trimBlanks(rows.text("BAN"));
      const auto file = std::find_if(files.begin(), files.end(),
                                     [&](const ReceiptFile& f) { return f.ban == ban; });
      lines.push_back(masterDisplayLine(ban, common::trimBlanks(rows.text("VAT_LOSN_X9")),
                                        rows.text("BAN_NAME"),
                                        file == files.end() ? "" : file->fileTime, key));
      listedBans.push_back(ban);
    }
  }
  for (const ReceiptFile& file : files) {
    if (common::isAllDigits(file.ban) && !common::isInList(file.ban, listedBans)) {
      lines.push_back(orphanDisplayLine(file.ban));
    }
  }
  common::sortRowsByColumn(lines, order, sortColumn(key));
  std::vector<std::string> unique;
  for (std::string& line : lines) {
    if (!common::isInList(line, unique)) {
      unique.push_back(std::move(line));
    }
  }
  return unique;
}

}  // namespace athup::receipts
