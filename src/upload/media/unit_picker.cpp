#include "upload/media/unit_picker.h"

#include <algorithm>
#include <set>

namespace athup::upload {

namespace {

// Moves the entries at `rows` (out-of-range rows ignored) from one list to the end of the other
// and returns the row to select next in the list they left.
std::optional<std::size_t> moveRows(std::vector<std::string>& from, std::vector<std::string>& to,
                                    const std::vector<std::size_t>& rows) {
  const std::set<std::size_t> selected(rows.begin(), rows.end());
  std::optional<std::size_t> first;
  std::vector<std::string> kept;
  for (std::size_t i = 0; i < from.size(); ++i) {
    if (selected.contains(i)) {
      if (!first) {
        first = i;
      }
      to.push_back(from[i]);
    } else {
      kept.push_back(from[i]);
    }
  }
  from = std::move(kept);
  if (from.empty()) {
    return std::nullopt;
  }
  return std::min(first.value_or(0), from.size() - 1);
}

std::optional<std::size_t> moveAll(std::vector<std::string>& from, std::vector<std::string>& to) {
  to.insert(to.end(), from.begin(), from.end());
  from.clear();
  return std::nullopt;
}

}  // namespace

UnitPicker::UnitPicker(std::vector<std::string> available) : m_available(std::move(available)) {
  sortAvailable();
}

std::optional<std::size_t> UnitPicker::include(const std::vector<std::size_t>& rows) {
  return moveRows(m_available, m_picked, rows);
}

std::optional<std::size_t> UnitPicker::includeAll() {
  return moveAll(m_available, m_picked);
}

std::optional<std::size_t> UnitPicker::exclude(const std::vector<std::size_t>& rows) {
  auto next = moveRows(m_picked, m_available, rows);
  sortAvailable();
  return next;
}

std::optional<std::size_t> UnitPicker::excludeAll() {
  auto next = moveAll(m_picked, m_available);
  sortAvailable();
  return next;
}

void UnitPicker::sortAvailable() {
  std::sort(m_available.begin(), m_available.end());
}

}  // namespace athup::upload
