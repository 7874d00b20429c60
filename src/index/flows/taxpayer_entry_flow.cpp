#include "index/flows/taxpayer_entry_flow.h"

#include "common/text_helpers.h"
#include "store/queries/taxpayer_queries.h"

namespace athup::index {

std::optional<store::TaxpayerRecord> TaxpayerEntryFlow::select(std::string_view typed) {
  const std::string ban = common::trimBlanks(typed);
  if (ban.empty()) {
    m_interaction.showMessage(MessageKind::Plain, kEnterBanMessage);
    return std::nullopt;
  }
  auto taxpayer = store::TaxpayerQueries(m_orbCode).findTaxpayer(ban);
  if (!taxpayer) {
    m_interaction.showStatus(StatusKind::Note, kNotFoundMessage);
    m_interaction.showMessage(MessageKind::Plain, kNotFoundMessage);
    return std::nullopt;
  }
  // The master is looked up first, so a short number that happens to be there still asks again.
  if (ban.size() < 8) {
    m_interaction.showMessage(MessageKind::Plain, kEnterBanMessage);
    return std::nullopt;
  }
  return taxpayer;
}

}  // namespace athup::index
