#include <cstddef>
#include <string>
#include <vector>

#include "common/errors.h"
#include "demo_data/filing_records.h"

namespace athup::demodata {
namespace {

// Format codes of the return header: N numbers (right, "0"), Zk and Zf texts (left, "0"), R text
// (right, "0"), Tf text (left, blank).
enum class Format { kN, kZk, kZf, kR, kTf };

struct TetField {
  const char* name;
  std::size_t width;
  Format format;
};

// The return header record, field by field; the widths add up to kTetRecordWidth.
const std::vector<TetField>& tetFields() {
  static const std::vector<TetField> fields = {
      {"DATA_TP", 1, Format::kZk},
      {"SPACE1", 2, Format::kZf},
      {"VAT_PFN_X8", 8, Format::kZk},
      {"BAN", 8, Format::kZk},
      {"DATA_YYMM_X5", 5, Format::kZk},
      {"FLG_TMS", 1, Format::kZk},
      {"VAT_LOSN_X9", 9, Format::kZk},
      {"SPACE2", 5, Format::kZf},
      {"TOTAL_PAID_MK", 1, Format::kZk},
      {"SPACE3", 6, Format::kZf},
      {"USE_INVO_COPY_N10", 10, Format::kN},
      {"VEV3_TXL_S_AMT", 12, Format::kN},
      {"CV3_TXL_S_AMT", 12, Format::kN},
      {"VCV2_TXL_S_AMT", 12, Format::kN},
      {"N_NV_TXL_S_AMT", 12, Format::kN},
      {"RTN_TXL_S_AMT", 12, Format::kN},
      {"TXL_S_AMT_TOT", 12, Format::kN},
      {"VEV3_TXL_TAX", 10, Format::kN},
      {"CV3_TXL_TAX", 10, Format::kN},
      {"VCV2_TXL_TAX", 10, Format::kN},
      {"N_NV_TXL_TAX", 10, Format::kN},
      {"RTN_TXL_TAX", 10, Format::kN},
      {"TXL_TAX_TOT", 10, Format::kN},
      {"NO_USE_INV_AMT", 12, Format::kN},
      {"NO_CS_Z_TAX_S_AMT", 12, Format::kN},
      {"SPACE4", 12, Format::kR},
      {"CS_Z_TAX_S_AMT", 12, Format::kN},
      {"RTN_ZTX_S_AMT", 12, Format::kN},
      {"ZTX_S_AMT_TOT", 12, Format::kN},
      {"VEV3_XMP_S_AMT", 12, Format::kN},
      {"CV3_XMP_S_AMT", 12, Format::kN},
      {"VCV2_XMP_S_AMT", 12, Format::kN},
      {"N_NV_XMP_S_AMT", 12, Format::kN},
      {"RTN_XMP_S_AMT", 12, Format::kN},
      {"XMP_S_AMT_TOT", 12, Format::kN},
      {"SP_ED_P_25_S_AMT", 12, Format::kN},
      {"SP_ED_P_25_TAX", 10, Format::kN},
      {"SP_ED_P_15_S_AMT", 12, Format::kN},
      {"SP_ED_P_15_TAX", 10, Format::kN},
      {"FIP_INVO_S_AMT", 12, Format::kN},
      {"FIP_INVO_TAX", 10, Format::kN},
      {"FIP_NISP_S_AMT", 12, Format::kN},
      {"FIP_NISP_TAX", 10, Format::kN},
      {"REINS_RVNU_S_AMT", 12, Format::kN},
      {"REINS_RVNU_TAX", 10, Format::kN},
      {"EXEMP_RVNU_S_AMT", 12, Format::kN},
      {"SP_RTN_S_AMT", 12, Format::kN},
      {"SP_RTN_S_TAX", 10, Format::kN},
      {"SP_S_AMT_TOT", 12, Format::kN},
      {"SP_TAX_TOT", 10, Format::kN},
      {"SALE_AMT_TOTAL", 12, Format::kN},
      {"SALE_LND_AMT", 12, Format::kN},
      {"SALE_OTH_FA_S12", 12, Format::kN},
      {"INVO_PE_AMT", 12, Format::kN},
      {"INVO_FA_AMT", 12, Format::kN},
      {"CV3_PE_AMT", 12, Format::kN},
      {"CV3_FA_AMT", 12, Format::kN},
      {"OTH_PE_AMT", 12, Format::kN},
      {"OTH_FA_AMT", 12, Format::kN},
      {"RTN_PE_AMT", 12, Format::kN},
      {"RTN_FA_AMT", 12, Format::kN},
      {"PE_AMT_TOT", 12, Format::kN},
      {"FA_AMT_TOT", 12, Format::kN},
      {"INVO_PE_TAX", 10, Format::kN},
      {"INVO_FA_TAX", 10, Format::kN},
      {"CV3_PE_TAX", 10, Format::kN},
      {"CV3_FA_TAX", 10, Format::kN},
      {"OTH_PE_TAX", 10, Format::kN},
      {"OTH_FA_TAX", 10, Format::kN},
      {"RTN_PE_TAX", 10, Format::kN},
      {"RTN_FA_TAX", 10, Format::kN},
      {"PE_TAX_TOT", 10, Format::kN},
      {"FA_TAX_TOT", 10, Format::kN},
      {"PE_PRS_T_AMT", 12, Format::kN},
      {"FA_PRS_T_AMT", 12, Format::kN},
      {"NO_CREDIT_RATE", 3, Format::kN},
      {"PT_CRD_PURCHS", 10, Format::kN},
      {"CS_COLL_PE_AMT", 12, Format::kN},
      {"CS_COLL_FA_AMT", 12, Format::kN},
      {"IM_EXE", 12, Format::kN},
      {"IM_SERV_PRS_AMT", 12, Format::kN},
      {"CS_COLL_PE_TAX", 10, Format::kN},
      {"CS_COLL_FA_TAX", 10, Format::kN},
      {"IM_SERV_PRS_TAX", 10, Format::kN},
      {"SPACE5", 10, Format::kZf},
      {"SPACE6", 10, Format::kZf},
      {"IM_SRV_PYBL_TAX", 10, Format::kN},
      {"TXL_TAX_TOT1", 10, Format::kN},
      {"SPACE7", 10, Format::kZf},
      {"PYBL_SERV_TAX1", 10, Format::kN},
      {"SP_TAX_TOT1", 10, Format::kN},
      {"SUPLE_TAX_S10", 10, Format::kN},
      {"TOT_S10", 10, Format::kN},
      {"PT_CRD_PURCHS_TOT", 10, Format::kN},
      {"LP_ACU_DTN_CREDIT", 10, Format::kN},
      {"SH_REF", 10, Format::kN},
      {"TOT1_S10", 10, Format::kN},
      {"FLG_TAX_S10", 10, Format::kN},
      {"DTN_CREDIT_TAX_S10", 10, Format::kN},
      {"REF_LIMIT_TOT", 10, Format::kN},
      {"ZSP_SH_REF", 10, Format::kN},
      {"ZSP_ACU_DTN_CREDIT", 10, Format::kN},
      {"FLG_DATE_G1", 6, Format::kZf},
      {"SPACE8", 17, Format::kZf},
      {"VAT_FLG_MODE", 1, Format::kZf},
      {"SPACE9", 1, Format::kZf},
      {"HSN_CD", 1, Format::kZf},
      {"SPACE10", 6, Format::kZf},
      {"DECL_MK", 1, Format::kTf},
      {"DECLNT_IDN", 10, Format::kTf},
      {"DECLNT", 12, Format::kTf},
      {"DECLNT_TEL", 20, Format::kTf},
      {"DECLNT_CER", 50, Format::kTf},
      {"FRN_INS_RVNU_AMT", 12, Format::kN},
      {"FRN_ELEVEN_INDUS_AMT", 12, Format::kN},
      {"FRN_OTH_AMT", 12, Format::kN},
      {"FRN_INS_RVNU_TAX", 10, Format::kN},
      {"FRN_ELEVEN_INDUS_TAX", 10, Format::kN},
      {"FRN_OTH_TAX", 10, Format::kN},
      {"SP_BK_5_AMT", 12, Format::kN},
      {"SP_BK_5_TAX", 10, Format::kN},
      {"SPACE11", 4, Format::kZf},
      {"ENTER", 2, Format::kTf},
  };
  return fields;
}

std::string rightField(const std::string& text, std::size_t width, char fill) {
  if (text.size() > width)
    throw Error("\"" + text + "\" does not fit a field of " + std::to_string(width));
  return std::string(width - text.size(), fill) + text;
}

}  // namespace

std::string formatTetRecord(const TetRecord& record) {
  std::size_t known = 0;
  std::string out;
  out.reserve(kTetRecordWidth);
  for (const TetField& field : tetFields()) {
    const std::string name = field.name;
    const auto text = record.texts.find(name);
    const auto amount = record.amounts.find(name);
    known += (text != record.texts.end()) + (amount != record.amounts.end());
    const std::string value = text != record.texts.end() ? text->second : std::string();
    if (name == "ENTER") {
      out += "\r\n";
      continue;
    }
    switch (field.format) {
      case Format::kN:
        out += zeroFilledNumber(amount != record.amounts.end() ? amount->second : 0, field.width);
        break;
      case Format::kZk:
      case Format::kZf:
        out += leftField(value, field.width, '0');
        break;
      case Format::kR:
        out += rightField(value, field.width, '0');
        break;
      case Format::kTf:
        out += leftField(value, field.width, ' ');
        break;
    }
  }
  // a misspelt field name would otherwise vanish without a trace
  if (known != record.texts.size() + record.amounts.size()) {
    throw Error("the return header names a field that its layout does not have");
  }
  if (out.size() != kTetRecordWidth) {
    throw Error(".TET record has " + std::to_string(out.size()) + " bytes instead of " +
                std::to_string(kTetRecordWidth));
  }
  return out;
}

}  // namespace athup::demodata
