#pragma once
// TFAbout, "バージョン情報": the program's name and version with an OK
// button. Made once at start and shown modally whenever it is asked for.
#include "framework/controls.h"
#include "framework/form.h"
#include "win32/handles.h"

namespace quill::ui {

class TFAbout : public framework::Form {
 public:
  ~TFAbout() override;
  bool Create();
  // Shows the box over `owner` until it is closed.
  void ShowFor(HWND owner);

  framework::Label& TitleLabel() const { return *title_; }
  framework::Label& VersionLabel() const { return *version_; }
  framework::Button& OKBtn() const { return *ok_; }

 private:
  win32::UniqueFont title_font_;  // outlives the label that draws with it
  framework::Label* title_ = nullptr;
  framework::Label* version_ = nullptr;
  framework::Button* ok_ = nullptr;
};

}  // namespace quill::ui
