#pragma once

#include <optional>
#include <string_view>

#include "common/interaction.h"
#include "store/engine/database.h"
#include "store/queries/taxpayer_record.h"

namespace athup::index {

// The taxpayer entry ("確定"): the typed BAN must name a taxpayer of the master and have eight
// characters. Shows why not and returns nothing otherwise.
class TaxpayerEntryFlow {
 public:
  TaxpayerEntryFlow(Interaction& interaction, store::Database& orbCode)
      : m_interaction(interaction), m_orbCode(orbCode) {}

  [[nodiscard]] std::optional<store::TaxpayerRecord> select(std::string_view typed);

  static constexpr const char* kEnterBanMessage = "請輸入統一編號";
  static constexpr const char* kNotFoundMessage = "找不到營業人建檔資料";

 private:
  Interaction& m_interaction;
  store::Database& m_orbCode;
};

}  // namespace athup::index
