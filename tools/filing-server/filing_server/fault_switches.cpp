#include "filing_server/fault_switches.h"

namespace athup::filing_server {

const std::vector<std::pair<Fault, std::string>>& FaultSwitches::names() {
  static const std::vector<std::pair<Fault, std::string>> kNames = {
      {Fault::Refuse, "refuse"},
      {Fault::RefuseUpload, "refuse-upload"},
      {Fault::HtmlPage, "html-page"},
      {Fault::DailyMaximum, "daily-maximum"},
      {Fault::SerialCheckN, "serial-check-n"},
      {Fault::T02CheckN, "t02-check-n"},
      {Fault::T08CheckN, "t08-check-n"},
      {Fault::Status6, "status-6"},
      {Fault::Status2Unequal, "status-2-unequal"},
      {Fault::DropUpload, "drop-upload"},
      {Fault::Slow, "slow"},
      {Fault::MalformedXml, "malformed-xml"},
      {Fault::ListNotBase64, "list-not-base64"},
      {Fault::ListNotZlib, "list-not-zlib"},
      {Fault::VersionWithoutDate, "version-without-date"},
      {Fault::NotFound, "not-found"},
  };
  return kNames;
}

std::optional<Fault> FaultSwitches::byName(std::string_view name) {
  for (const auto& [fault, text] : names()) {
    if (text == name) return fault;
  }
  return std::nullopt;
}

void FaultSwitches::set(Fault fault, std::string value, int skip) {
  const std::lock_guard lock(m_mutex);
  m_on[fault] = Setting{std::move(value), skip < 0 ? 0 : skip};
}

void FaultSwitches::clear(Fault fault) {
  const std::lock_guard lock(m_mutex);
  m_on.erase(fault);
}

void FaultSwitches::clearAll() {
  const std::lock_guard lock(m_mutex);
  m_on.clear();
}

std::optional<std::string> FaultSwitches::take(Fault fault) {
  const std::lock_guard lock(m_mutex);
  const auto it = m_on.find(fault);
  if (it == m_on.end()) return std::nullopt;
  if (it->second.skip > 0) {
    --it->second.skip;
    return std::nullopt;
  }
  return it->second.value;
}

bool FaultSwitches::isOn(Fault fault) const {
  const std::lock_guard lock(m_mutex);
  const auto it = m_on.find(fault);
  return it != m_on.end() && it->second.skip == 0;
}

}  // namespace athup::filing_server
