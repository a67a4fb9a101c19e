#pragma once
// Message boxes and the common file dialogs, owned by one window.
#include "platform/dialogs.h"
#include "platform/types.h"

namespace quill::platform {

class Win32Dialogs : public Dialogs {
 public:
  Win32Dialogs(WindowId owner, std::u16string title) : owner_(owner), title_(std::move(title)) {}
  void SetOwner(WindowId owner) { owner_ = owner; }

  int ShowMessage(const std::u16string& text, unsigned style) override;
  std::optional<std::u16string> OpenFile(const std::u16string& filter) override;
  // Its extension is dialog template 100 of the executable's resources.
  std::optional<std::u16string> OpenTextRecordFile(const std::u16string& filter,
                                                   bool& page_separated) override;
  std::optional<std::u16string> SaveFile(const std::u16string& filter,
                                         const std::u16string& default_extension) override;

 private:
  WindowId owner_;
  std::u16string title_;
};

}  // namespace quill::platform
