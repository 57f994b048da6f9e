#include "tests/support/TempStore.h"

#include <stdlib.h>

#include "store/DemoStore.h"
#include "store/Schema.h"
#include "tests/support/ScriptedUi.h"

namespace xel::testing {

TempStore::Directory::Directory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "xel02-store-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    FailScript("cannot make a temporary directory from " + pattern);
  }
  path = pattern;
}

TempStore::Directory::~Directory() {
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
}

TempStore::TempStore(Contents contents)
    : file_(directory_.path / "store.db"), db_(OpenConnection(ConnectionString())) {
  if (contents != Contents::Empty) {
    CreateSchema(*db_);
  }
  if (contents == Contents::Demo) {
    SeedDemoStore(*db_);
  }
}

}  // namespace xel::testing
