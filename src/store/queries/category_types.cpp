#include "store/queries/category_types.h"

#include "store/catalogue/own_tables.h"

namespace athup::store {

bool isCategoryType(std::string_view type) {
  return type == "T02" || type == "T08" || type == "TET";
}

std::string indexTableOf(std::string_view type) {
  if (type == "T02") {
    return std::string(kAthT02Table);
  }
  if (type == "T08") {
    return std::string(kAthT08Table);
  }
  if (type == "TET") {
    return std::string(kAthTetTable);
  }
  return {};
}

std::string crcColumnOf(std::string_view type) {
  return isCategoryType(type) ? std::string(type) + "_CRC" : std::string();
}

std::string categoryCodeOf(std::string_view type) {
  if (type == "T02") {
    return "02";
  }
  if (type == "T08") {
    return "08";
  }
  if (type == "TET") {
    return "14";
  }
  return std::string(type);
}

std::string categoryTypeOfCode(std::string_view code) {
  if (code == "02") {
    return "T02";
  }
  if (code == "08") {
    return "T08";
  }
  if (code == "14") {
    return "TET";
  }
  return std::string(code);
}

}  // namespace athup::store
