#pragma once
// Tabs over pages; the program draws the tab captions itself.
#include <functional>
#include <string>
#include <vector>

#include "framework/container.h"

namespace quill::framework {

class PageControl : public Control {
 public:
  explicit PageControl(std::wstring name) : Control(std::move(name), L"PageControl") {}
  void Create(HWND parent, UINT id, HFONT font) override;
  bool OnNotify(NMHDR* header, LRESULT& result) override;
  bool OnDrawItem(const DRAWITEMSTRUCT& item) override;
  std::vector<std::wstring> Items() const override;

  // Adds a page; the Form creates its window inside the tab control.
  void AddPage(Container* page, std::wstring caption);
  int ActivePage() const;
  void SetActivePage(int index);
  // Fits the pages into the tab control's display area.
  void LayOutPages();
  Container* Page(int index) const { return pages_[index]; }

  // Draws one tab: its index, rectangle, caption, and whether it is chosen.
  std::function<void(HDC dc, const RECT& rect, const std::wstring& caption, bool selected)>
      on_draw_tab;

 protected:
  LRESULT WindowProcedure(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  std::vector<Container*> pages_;
  std::vector<std::wstring> captions_;
};

}  // namespace quill::framework
