#pragma once
// A list view in report style: rows with a caption, sub-items and a small
// icon; optionally check boxes and captions edited in place.
#include <functional>
#include <string>
#include <vector>

#include "framework/control.h"

namespace quill::framework {

class ListView : public Control {
 public:
  struct Column {
    std::wstring caption;
    int width;
  };
  struct Options {
    bool check_boxes = false;
    bool edit_captions = false;
    bool drag_rows = false;
  };

  ListView(std::wstring name, Box box, std::vector<Column> columns, Options options)
      : Control(std::move(name), L"ListView"),
        box_(box),
        columns_(std::move(columns)),
        options_(options) {}
  void Create(HWND parent, UINT id, HFONT font) override;
  bool OnNotify(NMHDR* header, LRESULT& result) override;
  void OnDpiChanged(UINT from, UINT to) override;
  // The column captions.
  std::vector<std::wstring> Items() const override;

  int Count() const;
  void Clear();
  int AddRow(const std::wstring& caption, int image = -1);
  void DeleteRow(int row);
  std::wstring Caption(int row) const;
  void SetCaption(int row, const std::wstring& caption);
  std::wstring SubItem(int row, int column) const;
  // Replaces the sub-items (columns 1 onwards).
  void SetSubItems(int row, const std::vector<std::wstring>& items);
  int Image(int row) const;
  void SetImage(int row, int image);
  bool Selected(int row) const;
  // Marks one row selected, without moving the focus mark or scrolling.
  void SelectOnly(int row);
  // Scrolls the list, if need be, so that the row is in view.
  void EnsureVisible(int row);
  // Rows added or changed while a Filling lives are drawn once, when it
  // ends: a list of a thousand rows is filled without a repaint per row.
  class Filling {
   public:
    explicit Filling(ListView& list);
    ~Filling();
    Filling(const Filling&) = delete;
    Filling& operator=(const Filling&) = delete;

   private:
    ListView& list_;
    bool suspended_;
  };
  bool Checked(int row) const;
  void SetChecked(int row, bool checked);
  // The row at a point of the client area, or -1.
  int RowAt(int x, int y) const;
  void SetSmallImages(HIMAGELIST images);

  // A mouse button pressed on the list, before it handles it itself.
  std::function<void(int x, int y)> on_mouse_down;
  // Every key pressed in the list goes here and nowhere else.
  std::function<void(WPARAM key)> on_key_down;
  // A row dragged and dropped: the row under the drop point, or -1.
  std::function<void(int target)> on_drag_drop;
  std::function<void(int row, bool checked)> on_check_change;
  std::function<void(int row, const std::wstring& caption)> on_caption_edited;

 protected:
  LRESULT WindowProcedure(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  Box box_;
  std::vector<Column> columns_;
  Options options_;
  bool dragging_ = false;
  bool filling_ = false;
};

}  // namespace quill::framework
