// The display menu: the shown record's formats, of which the text, the DIB
// and the enhanced metafile can be chosen to be shown.
#include "ui/code_page.h"
#include "ui/record_preview.h"

namespace quill::ui {
namespace {

constexpr wchar_t kDisplayMenu[] = L"MenuDisplay";

// Items are numbered by their place in the record's name list.
std::wstring DisplayItem(int tag) { return kDisplayMenu + std::to_wstring(tag); }

}  // namespace

void RecordPreview::BuildDisplayMenu(const std::vector<std::string>& names,
                                     const core::FormatFilter& filter) {
  // A record lists its standard formats under the filter's captions, which
  // the user can edit, cut to the length a record keeps: matched by the
  // whole caption, a long one would never be found.
  const std::wstring text_name = FromAnsi(filter.NameOf(platform::cf::kText, ""));
  const std::wstring bitmap_name = FromAnsi(filter.NameOf(platform::cf::kDib, ""));
  const std::wstring metafile_name = FromAnsi(filter.NameOf(platform::cf::kEnhMetafile, ""));
  int text = 0, bitmap = 0, metafile = 0;  // tags of the chosen items; 0 for none

  std::vector<framework::MenuItem> items;
  for (std::size_t i = 1; i < names.size(); ++i) {  // the date comes first
    const int tag = static_cast<int>(i);
    framework::MenuItem item;
    item.name = DisplayItem(tag);
    item.caption = FromAnsi(names[i]);
    item.tag = tag;
    item.enabled = false;
    // One role for each item, to the first item of that name.
    if (!text && item.caption == text_name) {
      text = tag;
      item.on_click = TagCommand(parts_.run, this, &RecordPreview::DisplayTextClick);
    } else if (!bitmap && item.caption == bitmap_name) {
      bitmap = tag;
      item.on_click = TagCommand(parts_.run, this, &RecordPreview::DisplayBitmapClick);
    } else if (!metafile && item.caption == metafile_name) {
      metafile = tag;
      item.on_click = TagCommand(parts_.run, this, &RecordPreview::DisplayMetafileClick);
    }
    item.enabled = static_cast<bool>(item.on_click);
    items.push_back(std::move(item));
  }
  parts_.form.menus().Refill(kDisplayMenu, items);
  // The text is shown first, then the bitmap, then the metafile.
  const int shown = text ? text : bitmap ? bitmap : metafile;
  if (shown) parts_.form.menus().SetChecked(DisplayItem(shown), true);
}

void RecordPreview::DisplayTextClick(int tag) { SelectDisplay(DisplayItem(tag), true); }

void RecordPreview::DisplayBitmapClick(int tag) {
  DrawClipboardBitmap();
  SelectDisplay(DisplayItem(tag), false);
}

void RecordPreview::DisplayMetafileClick(int tag) {
  DrawClipboardMetafile();
  SelectDisplay(DisplayItem(tag), false);
}

void RecordPreview::SelectDisplay(const std::wstring& name, bool show_text) {
  parts_.controls.Memo1->SetVisible(show_text);
  SetFormattedWriteEnabled(show_text);
  parts_.controls.Image1->SetVisible(!show_text);
  framework::MenuSet& menus = parts_.form.menus();
  for (const std::wstring& item : menus.Children(kDisplayMenu))
    if (menus.Checked(item)) menus.SetChecked(item, false);
  menus.SetChecked(name, true);
}

}  // namespace quill::ui
