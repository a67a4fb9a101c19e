#pragma once
// The simple controls: labels, edits, the memo, check boxes, radio groups,
// group boxes, the track bar with its up-down, the status bar, the image.
#include <functional>
#include <string>
#include <vector>

#include "framework/container.h"
#include "framework/control.h"
#include "win32/handles.h"

namespace quill::framework {

class Label : public Control {
 public:
  Label(std::wstring name, Box box, std::wstring caption)
      : Control(std::move(name), L"Label"), box_(box), caption_(std::move(caption)) {}
  void Create(HWND parent, UINT id, HFONT font) override;

 private:
  Box box_;
  std::wstring caption_;
};

// A one-line edit whose typed characters can be filtered.
class Edit : public Control {
 public:
  Edit(std::wstring name, Box box, std::wstring text, int max_length = 0)
      : Control(std::move(name), L"Edit"),
        box_(box),
        text_(std::move(text)),
        max_length_(max_length) {}
  void Create(HWND parent, UINT id, HFONT font) override;
  bool OnCommand(HWND source, UINT command, UINT code) override;

  // Decides whether a typed character goes in.
  std::function<bool(wchar_t)> key_filter;
  std::function<void()> on_change;
  int max_length() const { return max_length_; }

 protected:
  LRESULT WindowProcedure(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  Box box_;
  std::wstring text_;
  int max_length_;
};

// A multi-line edit that wraps words, with a vertical scroll bar.
class Memo : public Control {
 public:
  explicit Memo(std::wstring name) : Control(std::move(name), L"Memo") {}
  void Create(HWND parent, UINT id, HFONT font) override;
  // The lines as the control wraps them.
  std::vector<std::wstring> Lines() const;
  // One of them, without reading the others; empty past the last.
  std::wstring Line(int index) const;
  // Replaces the text; the control is drawn again when the window next
  // paints, not at once.
  void SetText(const std::wstring& text);
  // The first line the control would show for each text at its present
  // size, without changing what it shows (changing the text of a shown
  // control costs a redraw).
  std::vector<std::wstring> FirstLinesOf(const std::vector<std::wstring>& texts) const;

 private:
  // A hidden twin of the control lays out a text whose first line may wrap.
  std::wstring TwinFirstLine(const std::wstring& text) const;
  // A message-only window: no search for the program's windows finds it.
  mutable win32::UniqueWindow twin_;
};

class CheckBox : public Control {
 public:
  CheckBox(std::wstring name, Box box, std::wstring caption)
      : Control(std::move(name), L"CheckBox"), box_(box), caption_(std::move(caption)) {}
  void Create(HWND parent, UINT id, HFONT font) override;
  bool OnCommand(HWND source, UINT command, UINT code) override;
  bool Checked() const;
  void SetChecked(bool checked);
  std::function<void()> on_click;

 private:
  Box box_;
  std::wstring caption_;
};

// A push button. `dialog_id` IDOK or IDCANCEL makes it the one Enter or
// Escape presses in its form.
class Button : public Control {
 public:
  Button(std::wstring name, Box box, std::wstring caption, int dialog_id = 0)
      : Control(std::move(name), L"Button"),
        box_(box),
        caption_(std::move(caption)),
        dialog_id_(dialog_id) {}
  void Create(HWND parent, UINT id, HFONT font) override;
  bool OnCommand(HWND source, UINT command, UINT code) override;
  std::function<void()> on_click;

 private:
  Box box_;
  std::wstring caption_;
  int dialog_id_;
};

// A framed group of radio buttons in columns, filled column by column.
class RadioGroup : public Control {
 public:
  RadioGroup(std::wstring name, Box box, std::wstring caption, std::vector<std::wstring> items,
             int columns, int index)
      : Control(std::move(name), L"RadioGroup"),
        box_(box),
        caption_(std::move(caption)),
        items_(std::move(items)),
        columns_(columns),
        index_(index) {}
  // The buttons are siblings of the frame: they go with it.
  ~RadioGroup() override;
  void Create(HWND parent, UINT id, HFONT font) override;
  bool OnCommand(HWND source, UINT command, UINT code) override;
  std::vector<std::wstring> Items() const override { return items_; }
  int ItemIndex() const { return index_; }
  void SetItemIndex(int index);
  // The radio buttons, for inspection.
  const std::vector<HWND>& buttons() const { return buttons_; }
  std::vector<HWND> OwnedWindows() const override { return buttons_; }
  std::function<void()> on_click;

 private:
  void MarkTabStop();
  Box box_;
  std::wstring caption_;
  std::vector<std::wstring> items_;
  int columns_;
  int index_;
  std::vector<HWND> buttons_;
};

// A frame with a caption that holds other controls.
class GroupBox : public Container {
 public:
  GroupBox(std::wstring name, Box box, std::wstring caption)
      : Container(std::move(name), L"GroupBox", box), caption_(std::move(caption)) {}
  void Create(HWND parent, UINT id, HFONT font) override;

 private:
  std::wstring caption_;
};

class TrackBar : public Control {
 public:
  TrackBar(std::wstring name, Box box, int minimum, int maximum, int frequency, int position)
      : Control(std::move(name), L"TrackBar"),
        box_(box),
        min_(minimum),
        max_(maximum),
        frequency_(frequency),
        position_(position) {}
  void Create(HWND parent, UINT id, HFONT font) override;
  void OnScroll(HWND source) override;
  int Position() const;
  void SetPosition(int position);
  std::function<void()> on_change;

 private:
  Box box_;
  int min_, max_, frequency_, position_;
};

// Arrows attached to an edit, which holds the number.
class UpDown : public Control {
 public:
  UpDown(std::wstring name, Box box, Edit& buddy, int minimum, int maximum, int position)
      : Control(std::move(name), L"UpDown"),
        box_(box),
        buddy_(buddy),
        min_(minimum),
        max_(maximum),
        position_(position) {}
  void Create(HWND parent, UINT id, HFONT font) override;
  void OnScroll(HWND source) override;
  int Position() const;
  void SetPosition(int position);
  std::function<void()> on_click;

 private:
  Box box_;
  Edit& buddy_;
  int min_, max_, position_;
};

// A status bar with one simple text panel.
class StatusBar : public Control {
 public:
  StatusBar(std::wstring name, int height)
      : Control(std::move(name), L"StatusBar"), height_(height) {}
  void Create(HWND parent, UINT id, HFONT font) override;
  void SetSimpleText(const std::wstring& text);
  std::wstring SimpleText() const;

 private:
  int height_;
};

// Shows a picture at its top-left corner on the control's colour.
class ImageView : public Control {
 public:
  explicit ImageView(std::wstring name) : Control(std::move(name), L"Image") {}
  void Create(HWND parent, UINT id, HFONT font) override;
  // Takes ownership of the bitmap (or clears the picture).
  void SetPicture(win32::UniqueBitmap bitmap);
  HBITMAP Picture() const { return picture_.get(); }
  // Replaces the picture by a blank white one the size of the control, or
  // by none when the control has no area. The picture keeps that size when
  // the control is resized later.
  void ClearPicture();
  // Draws on the picture (if there is one) through a memory DC, given the
  // picture's size, and shows the result.
  void DrawOnPicture(const std::function<void(HDC dc, int width, int height)>& draw);

 protected:
  LRESULT WindowProcedure(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  win32::UniqueBitmap picture_;
};

}  // namespace quill::framework
