#pragma once

namespace athup::store {

class Database;

// A transaction on one Database, from Database::transaction. Commit explicitly; one that is
// destroyed uncommitted rolls back. Tables of several files commit together (super-journal).
class Transaction {
 public:
  Transaction(Transaction&& other) noexcept;
  Transaction& operator=(Transaction&&) = delete;
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  ~Transaction();

  void commit();
  void rollback();

 private:
  friend class Database;
  explicit Transaction(Database& database) : m_database(&database) {}
  Database* m_database;
};

}  // namespace athup::store
