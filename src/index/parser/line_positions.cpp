#include "index/parser/line_positions.h"

#include <algorithm>

namespace athup::index {

void LinePositions::remove(int index) {
  if (index < 0 || index >= count()) return;
  m_items.erase(m_items.begin() + index);
}

int LinePositions::indexOf(std::int64_t position) const {
  const auto found = std::find(m_items.begin(), m_items.end(), position);
  return found == m_items.end() ? -1 : static_cast<int>(found - m_items.begin());
}

std::int64_t LinePositions::at(int index) const {
  if (m_items.empty()) return 0;
  const auto clamped = std::clamp(index, 0, count() - 1);
  return m_items[static_cast<std::size_t>(clamped)];
}

}  // namespace athup::index
