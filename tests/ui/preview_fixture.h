#pragma once
// The real window recording pictures and texts put on the real clipboard,
// with ways to look at its preview, status line and display menu.
#include <string>
#include <vector>

#include "clipboard_pictures.h"
#include "recording_form.h"
#include "ui/code_page.h"
#include "ui/settings_pages.h"

namespace quill::ui {

class PreviewTest : public RecordingFormTest {
 protected:
  // Another program puts the items on the clipboard; the window records them.
  void Capture(const std::vector<ClipboardItem>& items) {
    const int before = form_->recorder().RecordCount();
    ASSERT_TRUE(PutOnClipboard(items));
    for (int tries = 0; tries < 100 && form_->recorder().RecordCount() == before; ++tries) {
      Pump();
      ::Sleep(10);
    }
    ASSERT_EQ(form_->recorder().RecordCount(), before + 1) << "the clipboard was not recorded";
  }
  static ClipboardItem Dib(const DibShape& shape) { return {CF_DIB, GlobalCopy(SolidDib(shape))}; }
  static ClipboardItem Text(const std::string& text) { return {CF_TEXT, AnsiText(text)}; }

  framework::ImageView& Image() const { return *form_->widgets().Image1; }
  framework::Memo& Memo() const { return *form_->widgets().Memo1; }
  framework::ToolBar& Tools() const { return *form_->widgets().ToolBar1; }
  std::wstring Status() const { return form_->widgets().StatusBar->SimpleText(); }
  // The preview area as the layout leaves it, for the picture to be fitted in.
  void SizeImage(int width, int height) {
    const framework::Box box = Image().Bounds();
    Image().SetBounds({box.x, box.y, width, height});
  }

  // --- the display menu, by captions ---
  std::vector<std::wstring> DisplayItems() const { return form_->menus().Children(L"MenuDisplay"); }
  std::wstring DisplayItem(const std::wstring& caption) const {
    for (const std::wstring& item : DisplayItems())
      if (form_->menus().Caption(item) == caption) return item;
    ADD_FAILURE() << "no display item " << ToAnsi(caption);
    return L"";
  }
  std::vector<std::wstring> Captions(bool (framework::MenuSet::*state)(const std::wstring&)
                                         const) const {
    std::vector<std::wstring> captions;
    for (const std::wstring& item : DisplayItems())
      if ((form_->menus().*state)(item)) captions.push_back(form_->menus().Caption(item));
    return captions;
  }
  std::vector<std::wstring> EnabledItems() const { return Captions(&framework::MenuSet::Enabled); }
  std::vector<std::wstring> CheckedItems() const { return Captions(&framework::MenuSet::Checked); }
  void ChooseDisplay(const std::wstring& caption) {
    form_->menus().Click(DisplayItem(caption));
    Pump();
  }
};

}  // namespace quill::ui
