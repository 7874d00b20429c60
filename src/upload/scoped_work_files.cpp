#include "upload/scoped_work_files.h"

#include <system_error>

namespace athup::upload {

ScopedWorkFiles::~ScopedWorkFiles() {
  for (const auto& file : m_files) {
    std::error_code ignored;  // a file that is gone already, or cannot go, must not end the run
    std::filesystem::remove(file, ignored);
  }
}

}  // namespace athup::upload
