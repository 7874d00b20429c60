#pragma once

#include <string>
#include <string_view>

// The texts the printed receipt is made of, each from the stored values it shows.
namespace athup::receipts {

// A byte count in the pattern "###,###,###,##0": the text read as a number (blanks around it
// allowed), rounded to a whole number and grouped by thousands; 0 when it is not a number.
[[nodiscard]] std::string formatSize(std::string_view text);

// The period as printed in the page header: characters 1-3 of gApplyYM, "年", the month made two
// characters long, "月" ("10203" -> "102年03月").
[[nodiscard]] std::string periodText(std::string_view applyYM);

// The category as the summary rows name it ("02" -> "02：零稅率非經海關"); another code is shown
// as it is.
[[nodiscard]] std::string categoryLabel(std::string_view fileCd);

// The ROC date of an upload time "yyyymmdd..." as "113/05/20"; empty when the year is no number.
[[nodiscard]] std::string rocSlashDate(std::string_view stamp);

// The date of the receipt stamp from "yyyymmdd": the ROC year right-aligned in three places, the
// month and the day, separated by dots ("20240521" -> "113.05.21"); empty when the year is no
// number.
[[nodiscard]] std::string stampDate(std::string_view yyyymmdd);

// The ministry line of the stamp, its characters spaced with full-width blanks.
inline constexpr std::string_view kMinistryLine = "財　政　部";

// The tax office named on the stamp for the office code of the last return upload: the newer
// names for periods from 10112 printed from 2013 on (isNewOfficeNaming), the older ones before;
// empty for an unknown code.
[[nodiscard]] std::string officeName(std::string_view hsnCd, bool newNaming);

}  // namespace athup::receipts
