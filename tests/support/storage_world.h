#pragma once
// What the storage contract needs of an implementation: its compound files
// and a folder of its own to put them in.
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "platform/storage.h"

namespace quill::platform::testing {

class StorageWorld {
 public:
  virtual ~StorageWorld() = default;
  virtual StorageFiles& files() = 0;
  // A path for a file called `name` in a folder that starts empty.
  virtual std::u16string PathOf(const std::u16string& name) = 0;
  // Puts a file of plain bytes at `path`, as a file that is not a compound
  // file (one half written when the system went down, say) lies on disk.
  virtual void WritePlainFile(const std::u16string& path, const std::string& bytes) = 0;
  // The bytes of a file of plain bytes; "<missing>" if there is none.
  virtual std::string ReadPlainFile(const std::u16string& path) = 0;
};

struct StorageWorldMaker {
  std::string name;
  std::function<std::unique_ptr<StorageWorld>()> make;
};

inline void PrintTo(const StorageWorldMaker& maker, std::ostream* out) { *out << maker.name; }

StorageWorldMaker MemoryStorageWorldMaker();
#ifdef _WIN32
StorageWorldMaker Win32StorageWorldMaker();
#endif

}  // namespace quill::platform::testing
