#include "demo_data/notices.h"

#include <string>
#include <vector>

#include "common/big5.h"

namespace athup::demodata {
namespace {

std::string big5Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += common::utf8ToBig5(line) + "\r\n";
  return text;
}

std::string versionText(const DemoVersion& version) {
  const int hundredths = std::stoi(version.now);
  const std::string cents = std::to_string(hundredths % 100);
  return std::to_string(hundredths / 100) + "." + (cents.size() < 2 ? "0" : "") + cents;
}

}  // namespace

std::string readmeNotice(const std::string& fileName, const Scenario& scenario) {
  const std::string year = scenario.gDataYM.substr(0, 3);
  const std::string month = scenario.gDataYM.substr(3, 2);
  if (fileName == "readme.txt") {
    return big5Lines({
        "營業稅電子申報附件上傳系統 公告事項（舊版）",
        "",
        "一、本系統僅供營業人上傳零稅率及固定資產退稅清單之附件。",
        "二、上傳前請先以申報程式完成營業稅申報上傳。",
        "三、附件檔案請勿於上傳後再行修改或搬移。",
        "四、每日上傳次數有上限，請勿重複上傳相同附件。",
        "五、本公告適用於民國108年12月31日以前之作業。",
    });
  }
  return big5Lines({
      "營業稅電子申報附件上傳系統 公告事項",
      "一、本版本為 " + versionText(scenario.version) + " 版，版本日期 " +
          scenario.version.date.substr(0, 3) + "/" + scenario.version.date.substr(3, 2) + "/" +
          scenario.version.date.substr(5, 2) + "。",
      "",
      "二、申報 " + year + " 年 " + month + " 月份資料者，請先完成營業稅申報上傳。",
      "三、上傳前系統將比對申報檔與前次申報上傳之檔案是否相符。",
      "四、非經海關出口之零稅率銷售額，每筆均須上傳證明文件。",
      "五、固定資產退稅清單之附件請依清單順序逐筆設定。",
      "六、如有疑問請洽各地區國稅局服務專線。",
  });
}

std::string versionIniText(const DemoVersion& version) {
  return "[Version]\r\nnow=" + version.now + "\r\n[VersionDate]\r\ndate=" + version.date + "\r\n";
}

}  // namespace athup::demodata
