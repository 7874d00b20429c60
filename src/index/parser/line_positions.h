#pragma once

#include <cstdint>
#include <vector>

namespace athup::index {

// An ordered list of stream positions (the line starts of a text file).
class LinePositions {
 public:
  void add(std::int64_t position) { m_items.push_back(position); }
  // An index out of range removes nothing.
  void remove(int index);
  void clear() { m_items.clear(); }
  [[nodiscard]] bool contains(std::int64_t position) const { return indexOf(position) >= 0; }
  // The index of the position, -1 when it is not in the list.
  [[nodiscard]] int indexOf(std::int64_t position) const;
  // The entry at index, clamped to the first or last entry; 0 for an empty list.
  [[nodiscard]] std::int64_t at(int index) const;
  [[nodiscard]] int count() const { return static_cast<int>(m_items.size()); }

 private:
  std::vector<std::int64_t> m_items;
};

}  // namespace athup::index
