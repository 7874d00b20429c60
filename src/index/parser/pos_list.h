#pragma once

#include <cstdint>
#include <vector>

namespace athup::index {

// An ordered list of stream positions (the line starts of a text file).
class TPosList {
 public:
  void Add(std::int64_t position) { m_items.push_back(position); }
  // An index out of range removes nothing.
  void Delete(int index);
  void Clear() { m_items.clear(); }
  [[nodiscard]] bool Find(std::int64_t position) const { return IndexOf(position) >= 0; }
  // The index of the position, -1 when it is not in the list.
  [[nodiscard]] int IndexOf(std::int64_t position) const;
  // The entry at index, clamped to the first or last entry; 0 for an empty list.
  [[nodiscard]] std::int64_t Get(int index) const;
  [[nodiscard]] int Count() const { return static_cast<int>(m_items.size()); }

 private:
  std::vector<std::int64_t> m_items;
};

}  // namespace athup::index
