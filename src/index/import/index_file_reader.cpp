#include "index/import/index_file_reader.h"

#include <variant>

#include "common/ascii.h"
#include "common/big5.h"
#include "index/import/filing_layouts.h"
#include "index/import/signed_zoned.h"
#include "index/parser/record_reader.h"

namespace athup::index {

namespace {

constexpr std::int64_t kProgressStep = 1000;
// The widest row (T08) with its FILE_SEQ and checksum columns: a row is never reallocated.
constexpr std::size_t kMostColumns = 17;

std::string trimTrailingBlanks(std::string text) {
  const auto end = text.find_last_not_of(' ');
  text.erase(end == std::string::npos ? 0 : end + 1);
  return text;
}

// Rows are built with the file's Big5 text and converted to UTF-8 together at the end: one
// converter for the whole file rather than one per field.

// A CHAR column's value: the field as text without trailing fill blanks, so that a full-width
// field is not refused for its padding.
std::string charValue(const RecordReader& reader, std::string_view name) {
  return trimTrailingBlanks(reader.fieldByName(name).asString());
}

std::string rawCopy(const std::string& record, std::size_t from, std::size_t to) {
  if (from >= record.size()) {
    return {};
  }
  return record.substr(from, to - from);
}

// Only texts with Big5 characters need converting; most fields of a filing file are ASCII.
void convertTextsToUtf8(std::vector<store::Params>& rows) {
  std::vector<store::Value*> values;
  std::vector<std::string> texts;
  for (auto& row : rows) {
    for (auto& param : row) {
      const auto* text = std::get_if<std::string>(&param.value.data());
      if (text != nullptr && !common::isAsciiOnly(*text)) {
        values.push_back(&param.value);
        texts.push_back(*text);
      }
    }
  }
  common::big5ToUtf8Each(texts);
  for (std::size_t i = 0; i < values.size(); ++i) *values[i] = store::Value(std::move(texts[i]));
}

std::string fileSeqOf(std::string_view type, std::int64_t number) {
  std::string digits = std::to_string(number);
  if (digits.size() < 6) {
    digits.insert(0, 6 - digits.size(), '0');
  }
  return std::string(type) + digits;
}

double zonedValue(const RecordReader& reader, std::string_view name,
                  std::vector<std::string>& warnings) {
  const std::string text = reader.fieldByName(name).asString();
  if (!hasDigitLeadingPart(text)) {
    warnings.push_back(nonNumericFieldMessage(text));  // before a failure, which follows it
  }
  return parseSignedZoned(text).value;
}

store::Params t02Row(const RecordReader& reader) {
  store::Params row;
  row.reserve(kMostColumns);
  for (const char* name :
       {"BAN", "HSN_CD", "VAT_LOSN_X9", "DATA_YYMM_X5", "INVO_YM", "INVO_TRACK", "BUYER_BAN",
        "EXPORT_MODE", "PCTS_MODE", "BILL_OF_SIGHT_TP", "BILL_OF_SIGHT_NO"}) {
    row.push_back({name, charValue(reader, name)});
  }
  row.push_back({"ZTX_S_AMT", reader.fieldByName("ZTX_S_AMT").asCurrency()});
  row.push_back({"FGN_EXCH_DATE", charValue(reader, "FGN_EXCH_DATE")});
  row.push_back({"ORI_DATA", rawCopy(reader.recordText(), 0, 83)});
  return row;
}

store::Params t08Row(const RecordReader& reader, std::vector<std::string>& warnings) {
  store::Params row;
  row.reserve(kMostColumns);
  for (const char* name : {"BL_YR", "BL_MM", "HSN_CD", "BAN", "VAT_LOSN_X9"}) {
    row.push_back({name, charValue(reader, name)});
  }
  row.push_back({"INVO_DATE", trimTrailingBlanks(reader.fieldByName("INVO_DATE").rawText())});
  row.push_back({"INVO_TRACK_NO", charValue(reader, "INVO_TRACK_NO")});
  row.push_back({"FA_REF_NM", charValue(reader, "FA_REF_NM")});
  row.push_back({"FA_REF_QTY", reader.fieldByName("FA_REF_QTY").asCurrency()});
  row.push_back({"FA_REF_AMT", zonedValue(reader, "FA_REF_AMT", warnings)});
  row.push_back({"FA_REF_TAX", zonedValue(reader, "FA_REF_TAX", warnings)});
  row.push_back({"UES_NM", reader.fieldByName("UES_NM").asString()});
  const std::string& record = reader.recordText();
  row.push_back({"ORI_DATA_1", rawCopy(record, 0, 228)});
  row.push_back({"ORI_DATA_2", rawCopy(record, 228, 468)});
  row.push_back({"ORI_DATA_3", rawCopy(record, 468, 528)});
  return row;
}

store::Params tetRow(const RecordReader& reader) {
  store::Params row;
  row.reserve(kMostColumns);
  for (const char* name :
       {"BAN", "HSN_CD", "VAT_LOSN_X9", "DATA_YYMM_X5", "DATA_TP", "FLG_TMS", "TOTAL_PAID_MK"}) {
    row.push_back({name, charValue(reader, name)});
  }
  return row;
}

void openFilingFile(RecordReader& reader, const std::filesystem::path& file,
                    std::string_view type) {
  applyFilingLayout(reader, type);
  reader.setMode(ParsingMode::FixedRecords);
  reader.setFileName(file);
  reader.open();
}

}  // namespace

std::vector<store::Params> readIndexFile(const std::filesystem::path& file, std::string_view type,
                                         const std::string& crc, std::vector<std::string>& warnings,
                                         const ReadProgress& progress) {
  RecordReader reader;
  openFilingFile(reader, file, type);
  std::vector<store::Params> rows;
  const std::int64_t total = reader.recordCount();
  rows.reserve(static_cast<std::size_t>(total));
  const std::string crcColumn = std::string(type) + "_CRC";
  std::int64_t number = 1;
  for (std::int64_t i = 0; i < total; ++i) {
    if (i > 0) {
      reader.next();
    }
    if (progress && i % kProgressStep == 0) {
      progress(i, total);
    }
    store::Params row;
    if (type == "T02") {
      if (reader.fieldByName("PCTS_MODE").asString() != "1") {
        continue;
      }
      row = t02Row(reader);
    } else if (type == "T08") {
      row = t08Row(reader, warnings);
    } else {
      row = tetRow(reader);
    }
    row.push_back({"FILE_SEQ", fileSeqOf(type, number++)});
    row.push_back({crcColumn, crc});
    rows.push_back(std::move(row));
  }
  convertTextsToUtf8(rows);
  if (progress) {
    progress(total, total);
  }
  return rows;
}

std::int64_t countUnclearedT02Lines(const std::filesystem::path& file) {
  RecordReader reader;
  openFilingFile(reader, file, "T02");
  std::int64_t count = 0;
  const std::int64_t total = reader.recordCount();
  for (std::int64_t i = 0; i < total; ++i) {
    if (i > 0) {
      reader.next();
    }
    if (reader.fieldByName("PCTS_MODE").asString() == "1") {
      ++count;
    }
  }
  return count;
}

}  // namespace athup::index
