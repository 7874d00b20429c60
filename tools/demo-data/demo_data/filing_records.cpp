#include "demo_data/filing_records.h"

#include <string>

#include "common/big5.h"
#include "common/errors.h"

namespace athup::demodata {
namespace {

const std::string kLineEnd = "\r\n";

std::string magnitudeDigits(std::int64_t value) {
  // the magnitude as text, safe for the most negative value
  const std::uint64_t magnitude =
      value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  return std::to_string(magnitude);
}

void checkWidth(const std::string& record, std::size_t width, std::string_view what) {
  if (record.size() != width) {
    throw Error(std::string(what) + " record has " + std::to_string(record.size()) +
                " bytes instead of " + std::to_string(width));
  }
}

}  // namespace

std::string leftField(std::string_view utf8, std::size_t width, char fill) {
  std::string big5 = common::utf8ToBig5(utf8);
  if (big5.size() > width) {
    throw Error("\"" + std::string(utf8) + "\" does not fit a field of " + std::to_string(width) +
                " bytes");
  }
  big5.append(width - big5.size(), fill);
  return big5;
}

std::string zeroFilledNumber(std::int64_t value, std::size_t width) {
  if (value < 0) throw Error("negative value " + std::to_string(value) + " in an unsigned field");
  std::string text = std::to_string(value);
  if (text.size() > width) {
    throw Error(text + " does not fit a number field of " + std::to_string(width));
  }
  return std::string(width - text.size(), '0') + text;
}

std::string signedZoned(std::int64_t value, std::size_t width, bool signedPositive) {
  std::string text = magnitudeDigits(value);
  if (text.size() > width) {
    throw Error(text + " does not fit a signed field of " + std::to_string(width));
  }
  text.insert(0, width - text.size(), '0');
  const int last = text.back() - '0';
  if (value < 0) {
    text.back() = last == 0 ? '}' : static_cast<char>('J' + last - 1);
  } else if (signedPositive) {
    text.back() = last == 0 ? '{' : static_cast<char>('A' + last - 1);
  }
  return text;
}

std::string formatT02Record(const T02Line& line) {
  std::string record;
  record.reserve(kT02RecordWidth);
  record += leftField(line.BAN, 8);
  record += leftField(line.HSN_CD, 1);
  record += leftField(line.VAT_LOSN_X9, 9);
  record += leftField(line.DATA_YYMM_X5, 5);
  record += leftField(line.INVO_YM, 5);
  record += leftField(line.INVO_TRACK, 10);
  record += leftField(line.BUYER_BAN, 8);
  record += leftField(line.EXPORT_MODE, 1);
  record += leftField(line.PCTS_MODE, 1);
  record += leftField(line.BILL_OF_SIGHT_TP, 2);
  record += leftField(line.BILL_OF_SIGHT_NO, 14);
  record += zeroFilledNumber(line.ZTX_S_AMT, 12);
  record += leftField(line.FGN_EXCH_DATE, 7);
  record += kLineEnd;
  checkWidth(record, kT02RecordWidth, ".T02");
  return record;
}

std::string formatT08Record(const T08Line& line) {
  std::string record;
  record.reserve(kT08RecordWidth);
  record += leftField(line.BL_YR, 3);
  record += leftField(line.BL_MM, 2);
  record += leftField(line.HSN_CD, 1);
  record += leftField(line.BAN, 8);
  record += leftField(line.VAT_LOSN_X9, 9);
  record += leftField(line.INVO_DATE, 7);
  record += leftField(line.INVO_TRACK_NO, 14);
  record += leftField(line.FA_REF_NM, 150);
  // the quantity fills its whole field with digits, so it reads as a number with or without the
  // blanks of a left-aligned field
  record += zeroFilledNumber(line.FA_REF_QTY, 12);
  record += signedZoned(line.FA_REF_AMT, 12, line.signedPositive);
  record += signedZoned(line.FA_REF_TAX, 10, line.signedPositive);
  record += leftField(line.UES_NM, 300);
  record += kLineEnd;
  checkWidth(record, kT08RecordWidth, ".T08");
  return record;
}

}  // namespace athup::demodata
