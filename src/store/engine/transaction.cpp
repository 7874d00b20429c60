#include "store/engine/transaction.h"

#include "store/engine/database.h"

namespace athup::store {

Transaction::Transaction(Transaction&& other) noexcept : m_database(other.m_database) {
  other.m_database = nullptr;
}

Transaction::~Transaction() {
  if (m_database != nullptr) {
    m_database->endTransaction(false);
  }
}

void Transaction::commit() {
  Database* database = m_database;
  m_database = nullptr;
  if (database != nullptr) {
    database->endTransaction(true);
  }
}

void Transaction::rollback() {
  Database* database = m_database;
  m_database = nullptr;
  if (database != nullptr) {
    database->endTransaction(false);
  }
}

}  // namespace athup::store
