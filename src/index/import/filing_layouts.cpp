#include "index/import/filing_layouts.h"

#include <stdexcept>
#include <string>

namespace athup::index {

namespace {

struct FieldLayout {
  const char* name;
  int width;
  FieldAlignment alignment;
  char fill;
  bool filterFill;
};

constexpr FieldAlignment kLeft = FieldAlignment::Left;
constexpr FieldAlignment kRight = FieldAlignment::Right;

constexpr FieldLayout kT02Fields[] = {
    {"BAN", 8, kLeft, ' ', true},
    {"HSN_CD", 1, kLeft, ' ', true},
    {"VAT_LOSN_X9", 9, kLeft, ' ', true},
    {"DATA_YYMM_X5", 5, kLeft, ' ', true},
    {"INVO_YM", 5, kLeft, ' ', true},
    {"INVO_TRACK", 10, kLeft, ' ', true},
    {"BUYER_BAN", 8, kLeft, ' ', true},
    {"EXPORT_MODE", 1, kLeft, ' ', true},
    {"PCTS_MODE", 1, kLeft, ' ', true},
    {"BILL_OF_SIGHT_TP", 2, kLeft, ' ', true},
    {"BILL_OF_SIGHT_NO", 14, kLeft, ' ', true},
    {"ZTX_S_AMT", 12, kRight, '0', true},
    {"FGN_EXCH_DATE", 7, kLeft, ' ', true},
    {"ENTER", 2, kLeft, ' ', true},
};

constexpr FieldLayout kT08Fields[] = {
    {"BL_YR", 3, kLeft, ' ', false},          {"BL_MM", 2, kLeft, ' ', false},
    {"HSN_CD", 1, kLeft, ' ', false},         {"BAN", 8, kLeft, ' ', false},
    {"VAT_LOSN_X9", 9, kLeft, ' ', false},    {"INVO_DATE", 7, kLeft, ' ', false},
    {"INVO_TRACK_NO", 14, kLeft, ' ', false}, {"FA_REF_NM", 150, kLeft, ' ', false},
    {"FA_REF_QTY", 12, kLeft, ' ', false},    {"FA_REF_AMT", 12, kLeft, ' ', false},
    {"FA_REF_TAX", 10, kLeft, ' ', false},    {"UES_NM", 300, kLeft, ' ', false},
    {"ENTER", 2, kLeft, ' ', true},
};

// Return-header format codes: N number, Zk text with its zero fill kept, Zf text with the zero
// fill removed, R right-aligned text, Tf blank-filled text.
enum class TetFormat { N, Zk, Zf, R, Tf };

struct TetField {
  const char* name;
  int width;
  TetFormat format;
};

constexpr TetField kTetFields[] = {
    {"DATA_TP", 1, TetFormat::Zk},
    {"SPACE1", 2, TetFormat::Zf},
    {"VAT_PFN_X8", 8, TetFormat::Zk},
    {"BAN", 8, TetFormat::Zk},
    {"DATA_YYMM_X5", 5, TetFormat::Zk},
    {"FLG_TMS", 1, TetFormat::Zk},
    {"VAT_LOSN_X9", 9, TetFormat::Zk},
    {"SPACE2", 5, TetFormat::Zf},
    {"TOTAL_PAID_MK", 1, TetFormat::Zk},
    {"SPACE3", 6, TetFormat::Zf},
    {"USE_INVO_COPY_N10", 10, TetFormat::N},
    {"VEV3_TXL_S_AMT", 12, TetFormat::N},
    {"CV3_TXL_S_AMT", 12, TetFormat::N},
    {"VCV2_TXL_S_AMT", 12, TetFormat::N},
    {"N_NV_TXL_S_AMT", 12, TetFormat::N},
    {"RTN_TXL_S_AMT", 12, TetFormat::N},
    {"TXL_S_AMT_TOT", 12, TetFormat::N},
    {"VEV3_TXL_TAX", 10, TetFormat::N},
    {"CV3_TXL_TAX", 10, TetFormat::N},
    {"VCV2_TXL_TAX", 10, TetFormat::N},
    {"N_NV_TXL_TAX", 10, TetFormat::N},
    {"RTN_TXL_TAX", 10, TetFormat::N},
    {"TXL_TAX_TOT", 10, TetFormat::N},
    {"NO_USE_INV_AMT", 12, TetFormat::N},
    {"NO_CS_Z_TAX_S_AMT", 12, TetFormat::N},
    {"SPACE4", 12, TetFormat::R},
    {"CS_Z_TAX_S_AMT", 12, TetFormat::N},
    {"RTN_ZTX_S_AMT", 12, TetFormat::N},
    {"ZTX_S_AMT_TOT", 12, TetFormat::N},
    {"VEV3_XMP_S_AMT", 12, TetFormat::N},
    {"CV3_XMP_S_AMT", 12, TetFormat::N},
    {"VCV2_XMP_S_AMT", 12, TetFormat::N},
    {"N_NV_XMP_S_AMT", 12, TetFormat::N},
    {"RTN_XMP_S_AMT", 12, TetFormat::N},
    {"XMP_S_AMT_TOT", 12, TetFormat::N},
    {"SP_ED_P_25_S_AMT", 12, TetFormat::N},
    {"SP_ED_P_25_TAX", 10, TetFormat::N},
    {"SP_ED_P_15_S_AMT", 12, TetFormat::N},
    {"SP_ED_P_15_TAX", 10, TetFormat::N},
    {"FIP_INVO_S_AMT", 12, TetFormat::N},
    {"FIP_INVO_TAX", 10, TetFormat::N},
    {"FIP_NISP_S_AMT", 12, TetFormat::N},
    {"FIP_NISP_TAX", 10, TetFormat::N},
    {"REINS_RVNU_S_AMT", 12, TetFormat::N},
    {"REINS_RVNU_TAX", 10, TetFormat::N},
    {"EXEMP_RVNU_S_AMT", 12, TetFormat::N},
    {"SP_RTN_S_AMT", 12, TetFormat::N},
    {"SP_RTN_S_TAX", 10, TetFormat::N},
    {"SP_S_AMT_TOT", 12, TetFormat::N},
    {"SP_TAX_TOT", 10, TetFormat::N},
    {"SALE_AMT_TOTAL", 12, TetFormat::N},
    {"SALE_LND_AMT", 12, TetFormat::N},
    {"SALE_OTH_FA_S12", 12, TetFormat::N},
    {"INVO_PE_AMT", 12, TetFormat::N},
    {"INVO_FA_AMT", 12, TetFormat::N},
    {"CV3_PE_AMT", 12, TetFormat::N},
    {"CV3_FA_AMT", 12, TetFormat::N},
    {"OTH_PE_AMT", 12, TetFormat::N},
    {"OTH_FA_AMT", 12, TetFormat::N},
    {"RTN_PE_AMT", 12, TetFormat::N},
    {"RTN_FA_AMT", 12, TetFormat::N},
    {"PE_AMT_TOT", 12, TetFormat::N},
    {"FA_AMT_TOT", 12, TetFormat::N},
    {"INVO_PE_TAX", 10, TetFormat::N},
    {"INVO_FA_TAX", 10, TetFormat::N},
    {"CV3_PE_TAX", 10, TetFormat::N},
    {"CV3_FA_TAX", 10, TetFormat::N},
    {"OTH_PE_TAX", 10, TetFormat::N},
    {"OTH_FA_TAX", 10, TetFormat::N},
    {"RTN_PE_TAX", 10, TetFormat::N},
    {"RTN_FA_TAX", 10, TetFormat::N},
    {"PE_TAX_TOT", 10, TetFormat::N},
    {"FA_TAX_TOT", 10, TetFormat::N},
    {"PE_PRS_T_AMT", 12, TetFormat::N},
    {"FA_PRS_T_AMT", 12, TetFormat::N},
    {"NO_CREDIT_RATE", 3, TetFormat::N},
    {"PT_CRD_PURCHS", 10, TetFormat::N},
    {"CS_COLL_PE_AMT", 12, TetFormat::N},
    {"CS_COLL_FA_AMT", 12, TetFormat::N},
    {"IM_EXE", 12, TetFormat::N},
    {"IM_SERV_PRS_AMT", 12, TetFormat::N},
    {"CS_COLL_PE_TAX", 10, TetFormat::N},
    {"CS_COLL_FA_TAX", 10, TetFormat::N},
    {"IM_SERV_PRS_TAX", 10, TetFormat::N},
    {"SPACE5", 10, TetFormat::Zf},
    {"SPACE6", 10, TetFormat::Zf},
    {"IM_SRV_PYBL_TAX", 10, TetFormat::N},
    {"TXL_TAX_TOT1", 10, TetFormat::N},
    {"SPACE7", 10, TetFormat::Zf},
    {"PYBL_SERV_TAX1", 10, TetFormat::N},
    {"SP_TAX_TOT1", 10, TetFormat::N},
    {"SUPLE_TAX_S10", 10, TetFormat::N},
    {"TOT_S10", 10, TetFormat::N},
    {"PT_CRD_PURCHS_TOT", 10, TetFormat::N},
    {"LP_ACU_DTN_CREDIT", 10, TetFormat::N},
    {"SH_REF", 10, TetFormat::N},
    {"TOT1_S10", 10, TetFormat::N},
    {"FLG_TAX_S10", 10, TetFormat::N},
    {"DTN_CREDIT_TAX_S10", 10, TetFormat::N},
    {"REF_LIMIT_TOT", 10, TetFormat::N},
    {"ZSP_SH_REF", 10, TetFormat::N},
    {"ZSP_ACU_DTN_CREDIT", 10, TetFormat::N},
    {"FLG_DATE_G1", 6, TetFormat::Zf},
    {"SPACE8", 17, TetFormat::Zf},
    {"VAT_FLG_MODE", 1, TetFormat::Zf},
    {"SPACE9", 1, TetFormat::Zf},
    {"HSN_CD", 1, TetFormat::Zf},
    {"SPACE10", 6, TetFormat::Zf},
    {"DECL_MK", 1, TetFormat::Tf},
    {"DECLNT_IDN", 10, TetFormat::Tf},
    {"DECLNT", 12, TetFormat::Tf},
    {"DECLNT_TEL", 20, TetFormat::Tf},
    {"DECLNT_CER", 50, TetFormat::Tf},
    {"FRN_INS_RVNU_AMT", 12, TetFormat::N},
    {"FRN_ELEVEN_INDUS_AMT", 12, TetFormat::N},
    {"FRN_OTH_AMT", 12, TetFormat::N},
    {"FRN_INS_RVNU_TAX", 10, TetFormat::N},
    {"FRN_ELEVEN_INDUS_TAX", 10, TetFormat::N},
    {"FRN_OTH_TAX", 10, TetFormat::N},
    {"SP_BK_5_AMT", 12, TetFormat::N},
    {"SP_BK_5_TAX", 10, TetFormat::N},
    {"SPACE11", 4, TetFormat::Zf},
    {"ENTER", 2, TetFormat::Tf},
};

FieldLayout layoutOf(const TetField& field) {
  switch (field.format) {
    case TetFormat::N:
    case TetFormat::R:
      return {field.name, field.width, kRight, '0', true};
    case TetFormat::Zk:
      return {field.name, field.width, kLeft, '0', false};
    case TetFormat::Zf:
      return {field.name, field.width, kLeft, '0', true};
    case TetFormat::Tf:
      break;
  }
  return {field.name, field.width, kLeft, ' ', true};
}

template <typename Range>
void addAll(FieldDefinitions& definitions, const Range& fields) {
  for (const auto& field : fields) {
    definitions.add(field.name, field.width, field.alignment, field.fill, field.filterFill);
  }
}

}  // namespace

void applyFilingLayout(RecordFormat& format, std::string_view type) {
  FieldDefinitions& definitions = format.fieldDefinitions();
  if (type == "T02") {
    definitions.clear();
    addAll(definitions, kT02Fields);
  } else if (type == "T08") {
    definitions.clear();
    addAll(definitions, kT08Fields);
  } else if (type == "TET") {
    definitions.clear();
    for (const auto& field : kTetFields) {
      const FieldLayout layout = layoutOf(field);
      definitions.add(layout.name, layout.width, layout.alignment, layout.fill, layout.filterFill);
    }
  } else {
    throw std::invalid_argument("not a filing-file type: " + std::string(type));
  }
}

}  // namespace athup::index
