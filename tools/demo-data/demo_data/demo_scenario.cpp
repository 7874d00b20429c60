#include "demo_data/demo_scenario.h"

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "common/errors.h"
#include "common/number_helpers.h"
#include "common/period_helpers.h"
#include "demo_data/seeded_random.h"

namespace athup::demodata {
namespace {

// What a taxpayer left behind; the first five are always there, extras follow the seed.
enum class Role {
  kEverything,
  kAllThroughCustoms,
  kAssetsOnly,
  kHeaderOnly,
  kNothingFiled,
  kExtra
};

const std::vector<std::string> kNamePrefixes = {"大同", "永豐", "新光", "長榮", "華新", "明道",
                                                "金山", "和泰", "聯發", "南亞", "宏達", "中興",
                                                "福隆", "東元", "國泰", "遠東"};
const std::vector<std::string> kTrades = {"精密工業", "電子",     "國際貿易", "食品", "機械",
                                          "紡織",     "光電科技", "生物科技", "資訊", "化學"};
const std::vector<std::string> kCountyCodes = {"A", "B", "C", "D", "E", "F", "H", "N", "O", "T"};
const std::vector<std::string> kSurnames = {"王", "林", "陳", "張", "李", "黃", "吳", "劉"};
const std::vector<std::string> kGivenNames = {"小明", "美玲", "志豪", "淑芬",
                                              "建宏", "雅婷", "冠宇", "怡君"};

struct Asset {
  const char* name;
  const char* use;
  std::int64_t unitLow;
  std::int64_t unitHigh;
};

const std::vector<Asset> kAssets = {
    {"筆記型電腦", "供業務部門外勤人員使用", 25000, 60000},
    {"數位影印機（彩色多功能）", "供總務部門文件處理使用", 80000, 200000},
    {"分離式冷氣機", "辦公室空調設備汰舊換新", 30000, 90000},
    {"小型貨車", "供倉儲部門配送貨品使用", 600000, 1200000},
    {"機架式伺服器", "資訊部門建置內部系統主機，存放帳務與訂單資料", 150000, 480000},
    {"工業用縫紉機", "生產線設備更新，提高成衣加工產能", 40000, 120000},
    {"辦公桌椅組", "新設分公司辦公室使用", 8000, 20000},
    {"堆高機", "倉庫搬運棧板貨物使用", 350000, 700000},
};

std::string previousPeriod(const std::string& period) {
  return common::monthsToYM(common::ymToMonths(period) - 1);
}

std::string rocDate(const std::string& period, SeededRandom& random) {
  const auto day = random.between(1, 28);
  return period + (day < 10 ? "0" : "") + std::to_string(day);
}

std::string invoiceTrack(SeededRandom& random) {
  std::string track;
  track += random.letter();
  track += random.letter();
  return track + random.digits(8);
}

std::string validBan(SeededRandom& random, std::set<std::string>& used) {
  for (;;) {
    std::string candidate = random.digits(8);
    if (common::isValidBan(candidate) && used.insert(candidate).second) return candidate;
  }
}

ApplyerRow makeTaxpayer(Role role, std::size_t index, SeededRandom& random,
                        std::set<std::string>& usedBans, std::vector<std::string>& prefixes) {
  ApplyerRow row;
  row.BAN = validBan(random, usedBans);
  const std::string& prefix = prefixes[index % prefixes.size()];
  switch (role) {
    case Role::kAllThroughCustoms:
      // the longest name the master holds is 60 bytes; this one comes close
      row.BAN_NM_X30 = prefix + "國際物流運輸倉儲暨報關服務股份有限公司";
      break;
    case Role::kHeaderOnly:
      row.BAN_NM_X30 = "Formosa " + prefix + "資訊有限公司";
      break;
    case Role::kNothingFiled:
      row.BAN_NM_X30 = prefix + random.pick(kTrades) + "企業社";
      break;
    default:
      row.BAN_NM_X30 = prefix + random.pick(kTrades) + "股份有限公司";
  }
  row.VAT_LOSN_X9 = random.digits(9);
  row.HSN_CD = random.pick(kCountyCodes);
  row.VAT_FLG_MODE = random.below(2) ? "1" : "2";
  row.TOTAL_PAID_MK = "N";
  row.DCRD_MK = "N";
  row.PS_TO_HEAD_MK = "N";
  return row;
}

T02Line makeT02Line(const ApplyerRow& taxpayer, const std::string& period, bool throughCustoms,
                    SeededRandom& random, std::set<std::string>& usedBans) {
  T02Line line;
  line.BAN = taxpayer.BAN;
  line.HSN_CD = taxpayer.HSN_CD;
  line.VAT_LOSN_X9 = taxpayer.VAT_LOSN_X9;
  line.DATA_YYMM_X5 = period;
  line.INVO_YM = random.below(2) ? period : previousPeriod(period);
  line.INVO_TRACK = invoiceTrack(random);
  line.ZTX_S_AMT = random.between(12000, 9800000);
  line.FGN_EXCH_DATE = rocDate(line.INVO_YM, random);
  if (throughCustoms) {
    line.EXPORT_MODE = "1";
    line.PCTS_MODE = "2";
    line.BILL_OF_SIGHT_TP = "G5";
    std::string declaration;
    declaration += random.letter();
    declaration += random.letter();
    line.BILL_OF_SIGHT_NO = declaration + random.digits(12);
  } else {
    // sold to a bonded-zone business or paid in foreign exchange: evidence is needed
    line.EXPORT_MODE = "2";
    line.PCTS_MODE = "1";
    line.BILL_OF_SIGHT_TP = "D1";
    line.BILL_OF_SIGHT_NO = random.below(4) ? "FX" + random.digits(10) : "";
    if (random.below(2)) line.BUYER_BAN = validBan(random, usedBans);
  }
  return line;
}

T08Line makeT08Line(const ApplyerRow& taxpayer, const std::string& period, SeededRandom& random) {
  const Asset& asset = random.pick(kAssets);
  T08Line line;
  line.BL_YR = period.substr(0, 3);
  line.BL_MM = period.substr(3, 2);
  line.HSN_CD = taxpayer.HSN_CD;
  line.BAN = taxpayer.BAN;
  line.VAT_LOSN_X9 = taxpayer.VAT_LOSN_X9;
  line.INVO_DATE = rocDate(random.below(2) ? period : previousPeriod(period), random);
  line.INVO_TRACK_NO = invoiceTrack(random);
  line.FA_REF_NM = asset.name;
  line.FA_REF_QTY = random.between(1, 12);
  line.FA_REF_AMT = line.FA_REF_QTY * random.between(asset.unitLow, asset.unitHigh);
  line.FA_REF_TAX = (line.FA_REF_AMT * 5 + 50) / 100;
  line.UES_NM = asset.use;
  line.signedPositive = random.below(3) == 0;
  return line;
}

// A returned asset: the seller's allowance on a purchase line shows as a negative line.
// lastDigitZero makes the amount end in 0, so its sign character is "}".
T08Line allowanceOf(T08Line line, bool lastDigitZero) {
  line.FA_REF_QTY = 1;
  std::int64_t amount = std::max<std::int64_t>(line.FA_REF_AMT / 10, 11);
  if (lastDigitZero) amount -= amount % 10;
  if (!lastDigitZero && amount % 10 == 0) amount += 3;
  line.FA_REF_AMT = -amount;
  line.FA_REF_TAX = -((amount * 5 + 50) / 100);
  line.UES_NM = "退回部分貨品之折讓";
  line.signedPositive = false;
  return line;
}

void fillReturnHeader(TaxpayerFiling& filing, const std::string& period, SeededRandom& random) {
  const ApplyerRow& taxpayer = filing.taxpayer;
  TetRecord& tet = filing.tet;
  tet.texts["DATA_TP"] = "1";
  tet.texts["BAN"] = taxpayer.BAN;
  tet.texts["DATA_YYMM_X5"] = period;
  tet.texts["FLG_TMS"] = "1";
  tet.texts["VAT_LOSN_X9"] = taxpayer.VAT_LOSN_X9;
  tet.texts["TOTAL_PAID_MK"] = taxpayer.TOTAL_PAID_MK;
  tet.texts["VAT_FLG_MODE"] = taxpayer.VAT_FLG_MODE;
  tet.texts["HSN_CD"] = taxpayer.HSN_CD;
  tet.texts["FLG_DATE_G1"] = filing.FLG_DATE_X7.substr(1);  // YYMMDD of the filing date
  const bool byAgent = random.below(2) == 1;
  tet.texts["DECL_MK"] = byAgent ? "2" : "1";
  tet.texts["DECLNT_IDN"] =
      std::string(1, random.letter()) + (random.below(2) ? "1" : "2") + random.digits(8);
  tet.texts["DECLNT"] = random.pick(kSurnames) + random.pick(kGivenNames);
  tet.texts["DECLNT_TEL"] = "02-2" + random.digits(7);
  if (byAgent) tet.texts["DECLNT_CER"] = "北市稅代字第" + random.digits(6) + "號";

  std::int64_t customs = 0;
  std::int64_t notThroughCustoms = 0;
  for (const T02Line& line : filing.t02) {
    (line.PCTS_MODE == "1" ? notThroughCustoms : customs) += line.ZTX_S_AMT;
  }
  std::int64_t assets = 0;
  std::int64_t assetTax = 0;
  for (const T08Line& line : filing.t08) {
    assets += line.FA_REF_AMT;
    assetTax += line.FA_REF_TAX;
  }
  const std::int64_t taxable = random.between(200000, 30000000);
  const std::int64_t tax = (taxable * 5 + 50) / 100;
  const std::int64_t purchases = random.between(100000, taxable);
  const std::int64_t purchaseTax = (purchases * 5 + 50) / 100;
  auto& amounts = tet.amounts;
  amounts["USE_INVO_COPY_N10"] = random.between(10, 900);
  amounts["VEV3_TXL_S_AMT"] = taxable;
  amounts["VEV3_TXL_TAX"] = tax;
  amounts["TXL_S_AMT_TOT"] = taxable;
  amounts["TXL_TAX_TOT"] = tax;
  amounts["NO_CS_Z_TAX_S_AMT"] = notThroughCustoms;
  amounts["CS_Z_TAX_S_AMT"] = customs;
  amounts["ZTX_S_AMT_TOT"] = customs + notThroughCustoms;
  amounts["SALE_AMT_TOTAL"] = taxable + customs + notThroughCustoms;
  amounts["INVO_PE_AMT"] = purchases;
  amounts["INVO_PE_TAX"] = purchaseTax;
  amounts["INVO_FA_AMT"] = std::max<std::int64_t>(assets, 0);
  amounts["INVO_FA_TAX"] = std::max<std::int64_t>(assetTax, 0);
  amounts["PE_AMT_TOT"] = purchases;
  amounts["PE_TAX_TOT"] = purchaseTax;
  amounts["FA_AMT_TOT"] = std::max<std::int64_t>(assets, 0);
  amounts["FA_TAX_TOT"] = std::max<std::int64_t>(assetTax, 0);
  amounts["TXL_TAX_TOT1"] = tax;
}

}  // namespace

bool isValidPeriod(const std::string& period) {
  if (period.size() != 5 ||
      !std::all_of(period.begin(), period.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return false;
  }
  const int month = std::stoi(period.substr(3, 2));
  return std::stoi(period.substr(0, 3)) >= 1 && month >= 1 && month <= 12;
}

Scenario buildScenario(std::uint64_t seed, const std::string& period) {
  if (!isValidPeriod(period)) {
    throw Error("所屬年月份須為五位數字 YYYMM（例如 11310）：" + period);
  }
  Scenario scenario;
  scenario.gDataYM = period;
  scenario.gApplyYM = common::monthsToYM(common::ymToMonths(period) + 1);

  SeededRandom random(seed, "taxpayers:" + period);
  std::vector<std::string> prefixes = kNamePrefixes;
  for (std::size_t i = prefixes.size(); i > 1; --i) {  // Fisher-Yates on our own generator
    std::swap(prefixes[i - 1], prefixes[random.below(i)]);
  }

  std::vector<Role> roles = {Role::kEverything, Role::kAllThroughCustoms, Role::kAssetsOnly,
                             Role::kHeaderOnly, Role::kNothingFiled};
  roles.insert(roles.end(), random.below(3), Role::kExtra);

  std::set<std::string> usedBans;
  for (std::size_t i = 0; i < roles.size(); ++i) {
    const Role role = roles[i];
    TaxpayerFiling filing;
    filing.taxpayer = makeTaxpayer(role, i, random, usedBans, prefixes);
    if (role == Role::kExtra && !scenario.taxpayers.empty()) {
      // a branch whose tax is paid by the head office
      filing.taxpayer.TOTAL_PAID_MK = "Y";
      filing.taxpayer.PS_TO_HEAD_MK = "Y";
      filing.taxpayer.HEAD_BAN = scenario.taxpayers.front().taxpayer.BAN;
    }
    const ApplyerRow& taxpayer = filing.taxpayer;

    if (role == Role::kEverything || role == Role::kExtra) {
      // lines 1 and 3 are not cleared through customs, line 2 is: the index numbers the first two
      // without a gap
      const auto count = random.between(3, 6);
      for (std::int64_t n = 0; n < count; ++n) {
        const bool customs = n == 1 || (n > 2 && random.below(2) == 0);
        filing.t02.push_back(makeT02Line(taxpayer, period, customs, random, usedBans));
      }
    }
    if (role == Role::kAllThroughCustoms) {
      const auto count = random.between(2, 4);
      for (std::int64_t n = 0; n < count; ++n) {
        filing.t02.push_back(makeT02Line(taxpayer, period, true, random, usedBans));
      }
    }
    if (role == Role::kEverything || role == Role::kAssetsOnly) {
      const auto count = random.between(2, 4);
      for (std::int64_t n = 0; n < count; ++n)
        filing.t08.push_back(makeT08Line(taxpayer, period, random));
      if (role == Role::kEverything) {
        // allowances with both negative sign forms, and one positive line signed in its last place
        filing.t08.push_back(allowanceOf(filing.t08.front(), true));
        filing.t08.push_back(allowanceOf(filing.t08[1], false));
        filing.t08.front().signedPositive = true;
      }
    }
    if (role != Role::kNothingFiled) {
      filing.hasTet = true;
      filing.FLG_DATE_X7 = rocDate(scenario.gApplyYM, random);
      filing.UPD_SUCCESS_NO = filing.FLG_DATE_X7 + random.digits(8);
      fillReturnHeader(filing, period, random);
    }
    scenario.applyers.push_back(taxpayer);
    scenario.taxpayers.push_back(std::move(filing));
  }

  // the master repeats the fixed-asset taxpayer's BAN under its former name; lookups take the
  // first row
  ApplyerRow former = scenario.taxpayers[2].taxpayer;
  former.BAN_NM_X30 = prefixes[2] + "實業有限公司";
  former.HSN_CD = random.pick(kCountyCodes);
  scenario.applyers.push_back(former);

  SeededRandom versionRandom(seed, "version:" + period);
  scenario.version.now = std::to_string(versionRandom.between(101, 199));
  scenario.version.date = rocDate(previousPeriod(period), versionRandom);
  return scenario;
}

}  // namespace athup::demodata
