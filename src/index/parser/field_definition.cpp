#include "index/parser/field_definition.h"

#include "common/errors.h"
#include "index/parser/field_definitions.h"
#include "index/parser/parser_messages.h"

namespace athup::index {

FieldDefinition::FieldDefinition(FieldDefinitions& owner, std::string name)
    : m_owner(owner), m_fieldName(std::move(name)) {}

void FieldDefinition::setFieldType(FieldType type) {
  if (!isAcceptedFieldType(type)) throw Error(badFieldTypeMessage());
  m_fieldType = type;
}

void FieldDefinition::setSize(int size) {
  m_size = size < 0 ? 0 : size;
  m_owner.layoutChanged();
}

int FieldDefinition::startPosition() const {
  return m_owner.startOf(index());
}

int FieldDefinition::index() const {
  return m_owner.indexOf(this);
}

std::string FieldDefinition::displayName() const {
  return m_fieldName + " <" + std::to_string(m_size) + " " + fieldTypeName(m_fieldType) + ">";
}

}  // namespace athup::index
