#include "index/parser/parsing_field_def.h"

#include "common/errors.h"
#include "index/parser/parser_messages.h"
#include "index/parser/parsing_field_defs.h"

namespace athup::index {

TParsingFieldDef::TParsingFieldDef(TParsingFieldDefs& owner, std::string name)
    : m_owner(owner), m_fieldName(std::move(name)) {}

void TParsingFieldDef::setFieldType(TFieldType type) {
  if (!isAcceptedFieldType(type)) throw Error(badFieldTypeMessage());
  m_fieldType = type;
}

void TParsingFieldDef::setSize(int size) {
  m_size = size < 0 ? 0 : size;
  m_owner.layoutChanged();
}

int TParsingFieldDef::StartPos() const {
  return m_owner.startOf(Index());
}

int TParsingFieldDef::Index() const {
  return m_owner.indexOf(this);
}

std::string TParsingFieldDef::DisplayName() const {
  return m_fieldName + " <" + std::to_string(m_size) + " " + fieldTypeName(m_fieldType) + ">";
}

}  // namespace athup::index
