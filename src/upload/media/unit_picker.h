#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace athup::upload {

// The two lists of the media window without the window: the taxpayers not yet picked (kept
// sorted) and those picked (in the order they were added). Each move returns the row of the list
// it took entries from to select next, so the user can keep pressing the same button; nullopt
// when that list is empty.
class UnitPicker {
 public:
  explicit UnitPicker(std::vector<std::string> available = {});

  [[nodiscard]] const std::vector<std::string>& available() const { return m_available; }
  [[nodiscard]] const std::vector<std::string>& picked() const { return m_picked; }

  // Moves the entries at the given rows of available() to the end of picked(). The next
  // selection is the row of the first selected entry, the last row when the list got shorter
  // than that, the first when nothing was selected.
  std::optional<std::size_t> include(const std::vector<std::size_t>& rows);
  std::optional<std::size_t> includeAll();
  // The same from picked() back into available().
  std::optional<std::size_t> exclude(const std::vector<std::size_t>& rows);
  std::optional<std::size_t> excludeAll();

  // What the buttons may do: include only with entries to pick; exclude and create only with
  // picked entries.
  [[nodiscard]] bool canInclude() const { return !m_available.empty(); }
  [[nodiscard]] bool canExclude() const { return !m_picked.empty(); }

 private:
  void sortAvailable();

  std::vector<std::string> m_available;
  std::vector<std::string> m_picked;
};

}  // namespace athup::upload
