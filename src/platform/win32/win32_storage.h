#pragma once
// Compound files through OLE structured storage (ole32).
#include "platform/storage.h"

namespace quill::platform {

class Win32StorageFiles : public StorageFiles {
 public:
  HResult CreateDocfile(const std::u16string& path, std::uint32_t mode,
                        std::unique_ptr<Storage>& out) override;
  HResult OpenDocfile(const std::u16string& path, std::uint32_t mode,
                      std::unique_ptr<Storage>& out) override;
  bool Delete(const std::u16string& path) override;
  bool Move(const std::u16string& from, const std::u16string& to) override;
  bool Replace(const std::u16string& from, const std::u16string& to) override;
  bool Exists(const std::u16string& path) override;
};

}  // namespace quill::platform
