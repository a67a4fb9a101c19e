#pragma once
// A flat tool bar of image buttons, each with its hint as a tooltip.
#include <functional>
#include <string>
#include <vector>

#include "framework/control.h"

namespace quill::framework {

class ToolBar : public Control {
 public:
  struct Button {
    std::wstring name;
    std::wstring hint;
    int image;
    std::function<void()> on_click;
  };

  ToolBar(std::wstring name, int height, std::vector<Button> buttons, HIMAGELIST images,
          HIMAGELIST disabled_images)
      : Control(std::move(name), L"ToolBar"),
        height_(height),
        buttons_(std::move(buttons)),
        images_(images),
        disabled_images_(disabled_images) {}
  void Create(HWND parent, UINT id, HFONT font) override;
  bool OnCommand(HWND source, UINT command, UINT code) override;
  void OnDpiChanged(UINT from, UINT to) override;
  // Pictures of another size (the lists stay the caller's).
  void SetImages(HIMAGELIST images, HIMAGELIST disabled_images);
  // The button names, left to right.
  std::vector<std::wstring> Items() const override;

  const std::wstring& Hint(const std::wstring& button) const;
  int ImageOf(const std::wstring& button) const;
  void SetImage(const std::wstring& button, int image);
  bool ButtonEnabled(const std::wstring& button) const;
  void SetButtonEnabled(const std::wstring& button, bool enabled);
  bool Down(const std::wstring& button) const;
  void SetDown(const std::wstring& button, bool down);
  // Clicks a button as the user would.
  void Click(const std::wstring& button);

 private:
  void PassImages();
  void SizeButtons(UINT dpi);
  int CommandOf(const std::wstring& button) const;
  int height_;
  std::vector<Button> buttons_;
  HIMAGELIST images_;
  HIMAGELIST disabled_images_;
};

}  // namespace quill::framework
