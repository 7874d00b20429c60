#pragma once

#include "store/engine/database.h"
#include "store/queries/attachment_queries.h"
#include "store/queries/category_queries.h"
#include "store/queries/last_upload_queries.h"
#include "store/queries/taxpayer_queries.h"

namespace athup::app {

// The lookups the index, check, upload and receipt flows share, over the two aliases of the
// session (ORBWIN, the period's tables; ORBCODE, the code tables) and the ATH_DB alias on the
// code folder that the start-up checks bind. Every lookup runs its statement, reads the result
// and is done, so they can be called in any order.
class DataQueries {
 public:
  DataQueries(store::Database& orbWin, store::Database& orbCode)
      : m_orbWin(orbWin),
        m_orbCode(orbCode),
        m_taxpayers(orbCode),
        m_categories(orbCode),
        m_attachments(orbWin),
        m_lastUploads(orbWin) {}
  DataQueries(const DataQueries&) = delete;
  DataQueries& operator=(const DataQueries&) = delete;

  [[nodiscard]] store::Database& orbWin() { return m_orbWin; }
  [[nodiscard]] store::Database& orbCode() { return m_orbCode; }
  [[nodiscard]] store::Database& athDb() { return m_athDb; }
  [[nodiscard]] store::TaxpayerQueries& taxpayers() { return m_taxpayers; }
  [[nodiscard]] store::CategoryQueries& categories() { return m_categories; }
  [[nodiscard]] store::AttachmentQueries& attachments() { return m_attachments; }
  [[nodiscard]] store::LastUploadQueries& lastUploads() { return m_lastUploads; }

 private:
  store::Database& m_orbWin;
  store::Database& m_orbCode;
  store::Database m_athDb;
  store::TaxpayerQueries m_taxpayers;
  store::CategoryQueries m_categories;
  store::AttachmentQueries m_attachments;
  store::LastUploadQueries m_lastUploads;
};

}  // namespace athup::app
