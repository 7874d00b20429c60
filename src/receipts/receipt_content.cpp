#include "receipts/receipt_content.h"

#include <string_view>

#include "common/period_helpers.h"
#include "common/text_helpers.h"
#include "receipts/receipt_texts.h"

namespace athup::receipts {

ReceiptContent buildReceiptContent(const ReceiptInputs& inputs) {
  ReceiptContent content;
  content.title = kReceiptTitle;
  content.periodText = periodText(inputs.applyYM);
  content.ban = inputs.header.ban;
  if (inputs.taxpayer) {
    content.banName = inputs.taxpayer->BAN_NM_X30;
    content.losn = inputs.taxpayer->VAT_LOSN_X9;
  }

  std::vector<upload::StatusLine> lines;
  lines.reserve(inputs.statusLines.size());
  for (const std::string& line : inputs.statusLines) {
    lines.push_back(upload::parseStatusLine(line));
  }

  // The distinct codes in the order of the lines; each row counts its lines and shows the
  // upload date of its first one.
  std::string lastFirstStamp;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& code = lines[i].fileCd;
    bool seen = false;
    for (std::size_t j = 0; j < i && !seen; ++j) {
      seen = lines[j].fileCd == code;
    }
    if (seen) {
      continue;
    }
    std::size_t count = 0;
    for (const upload::StatusLine& other : lines) {
      count += other.fileCd == code ? 1 : 0;
    }
    content.categories.push_back({categoryLabel(code), std::to_string(count),
                                  rocSlashDate(lines[i].receivedAt), inputs.header.uploadsCounted});
    lastFirstStamp = lines[i].secondStamp.substr(0, 8);
  }

  for (const upload::StatusLine& line : lines) {
    content.details.push_back(
        {line.fileCd,
         common::trimBlanks(line.fileName) + "." + common::trimBlanks(line.fileSubName),
         formatSize(line.fileSize), upload::formatStamp(line.receivedAt)});
  }

  content.ministryLine = kMinistryLine;
  content.officeName =
      officeName(inputs.hsnCd, common::isNewOfficeNaming(inputs.applyYM, inputs.todayYYYYMMDD));
  content.receiptDate = stampDate(lastFirstStamp);
  return content;
}

}  // namespace athup::receipts
