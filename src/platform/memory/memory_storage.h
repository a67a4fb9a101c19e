#pragma once
// Compound files, in memory: a "disk" of named files, each a tree of
// storages and streams. Behaves as the system's compound files do in what
// callers rely on: children enumerate shorter names first, then by
// case-insensitive comparison; a create with STGM_CREATE replaces an
// element with all its content; a rename to a taken name fails; a file is
// open, and cannot be opened again, until every object in it is released;
// a file that is not a compound file does not open.
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/storage.h"

namespace quill::platform {

namespace memory_storage {
struct Node;
struct OpenFile;
}  // namespace memory_storage

class MemoryStorageFiles : public StorageFiles {
 public:
  MemoryStorageFiles();
  ~MemoryStorageFiles() override;

  HResult CreateDocfile(const std::u16string& path, std::uint32_t mode,
                        std::unique_ptr<Storage>& out) override;
  HResult OpenDocfile(const std::u16string& path, std::uint32_t mode,
                      std::unique_ptr<Storage>& out) override;
  bool Delete(const std::u16string& path) override;
  bool Move(const std::u16string& from, const std::u16string& to) override;
  bool Replace(const std::u16string& from, const std::u16string& to) override;
  bool Exists(const std::u16string& path) override;

  // Whether some object of the file is still unreleased.
  bool IsOpen(const std::u16string& path) const;
  // A file of plain bytes that is not a compound file (a half-written one,
  // say): it does not open, as the system's, but moves and is replaced.
  void PutPlainFile(const std::u16string& path, std::string bytes);
  // The bytes of such a file; none for a compound file or a missing one.
  std::optional<std::string> PlainFileBytes(const std::u16string& path) const;

 private:
  struct File {
    std::shared_ptr<memory_storage::Node> root;  // none: not a compound file
    std::string plain;                           // the bytes of one that is not
    std::weak_ptr<memory_storage::OpenFile> open;
  };
  std::map<std::u16string, File> files_;  // key: upper-case path
};

}  // namespace quill::platform
