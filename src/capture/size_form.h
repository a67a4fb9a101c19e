#pragma once
// TFSize, "サイズ指定": the width and height of the fixed-size capture
// rectangle. Made once and reused, so the edits keep what was entered last.
#include <functional>
#include <string>

#include "framework/controls.h"
#include "framework/form.h"

namespace quill::capture {

class TFSize : public framework::Form {
 public:
  ~TFSize() override;
  bool Create();
  // Shows the dialog over `owner`. OK is taken only when `accept` agrees
  // with the two texts (it tells the user why not); true if it closed so.
  bool ShowModalFor(
      HWND owner,
      const std::function<bool(const std::wstring& width, const std::wstring& height)>& accept);

  framework::Edit& WEdit() const { return *w_edit_; }
  framework::Edit& HEdit() const { return *h_edit_; }
  framework::Button& OKBtn() const { return *ok_; }
  framework::Button& CancelBTn() const { return *cancel_; }

 private:
  framework::Edit* w_edit_ = nullptr;
  framework::Edit* h_edit_ = nullptr;
  framework::Button* ok_ = nullptr;
  framework::Button* cancel_ = nullptr;
  std::function<bool(const std::wstring&, const std::wstring&)> accept_;
};

}  // namespace quill::capture
