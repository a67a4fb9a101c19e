#pragma once
// The menus of a form: the main menu and popup menus, declared as trees of
// named items with a command tag and a click handler.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <windows.h>

#include "framework/command_numbers.h"

namespace quill::framework {

struct MenuItem;

// How an owner-drawn item is to look when it is drawn.
struct MenuItemLook {
  bool selected;
  bool checked;
  bool enabled;
};

struct MenuItem {
  std::wstring name;     // empty for separators
  std::wstring caption;  // "-" for a separator
  std::vector<MenuItem> items;
  std::function<void(int tag)> on_click;
  int tag = 0;
  bool enabled = true;
  bool radio = false;         // shows a round check mark
  bool owner_draw = false;    // drawn by the program, with room for an image
  bool column_break = false;  // starts a new column
  bool submenu = false;       // opens a submenu, even while it has no items
  int image = -1;             // index into the owner's image list; -1 none
  // Draws an owner-drawn item into `rect`; the menu has selected the form
  // font and set the text colour that matches `look.selected`.
  std::function<void(const MenuItem& item, HDC dc, const RECT& rect, const MenuItemLook& look)>
      on_draw;
};

// The items of a declared menu: a command, a separator, a submenu.
inline MenuItem Item(std::wstring name, std::wstring caption,
                     std::function<void(int)> on_click = {}, int tag = 0) {
  MenuItem item;
  item.name = std::move(name);
  item.caption = std::move(caption);
  item.on_click = std::move(on_click);
  item.tag = tag;
  return item;
}
inline MenuItem Separator() {
  MenuItem item;
  item.caption = L"-";
  return item;
}
inline MenuItem Submenu(std::wstring name, std::wstring caption, std::vector<MenuItem> items) {
  MenuItem item = Item(std::move(name), std::move(caption));
  item.items = std::move(items);
  item.submenu = true;
  return item;
}

class MenuSet {
 public:
  // Commands are numbered from the window's numbers.
  explicit MenuSet(CommandNumbers& numbers) : numbers_(numbers) {}
  ~MenuSet();
  MenuSet(const MenuSet&) = delete;
  MenuSet& operator=(const MenuSet&) = delete;

  // A menu bar, or a popup menu, from the item tree; owned by the set
  // (a menu bar until it is given to a window).
  HMENU BuildMenuBar(const std::vector<MenuItem>& items);
  HMENU BuildPopup(const std::wstring& name, const std::vector<MenuItem>& items);

  // A command with no item (a shortcut key's): its number, whose
  // WM_COMMAND runs the handler.
  UINT AddCommand(std::function<void(int tag)> handler);
  // Runs the handler of a command; false if the command is not an item's.
  bool Dispatch(UINT command);
  bool Exists(const std::wstring& name) const { return items_.count(name) != 0; }
  void SetEnabled(const std::wstring& name, bool enabled);
  bool Enabled(const std::wstring& name) const;
  void SetChecked(const std::wstring& name, bool checked);
  bool Checked(const std::wstring& name) const;
  std::wstring Caption(const std::wstring& name) const;
  int Tag(const std::wstring& name) const;
  // The command number of an item (0 for a submenu or an unknown name).
  UINT Command(const std::wstring& name) const;
  // The submenu an item opens, and the name of the item whose submenu a
  // menu handle is (empty if none).
  HMENU Submenu(const std::wstring& name) const;
  std::wstring NameOfSubmenu(HMENU menu) const;
  // The names of the items directly in a submenu or popup, in order.
  std::vector<std::wstring> Children(const std::wstring& name) const;
  // Replaces the items of a submenu built at run time.
  void Refill(const std::wstring& name, const std::vector<MenuItem>& items);
  // Clicks an item as the user would.
  void Click(const std::wstring& name);

  // Owner-drawn items.
  bool Measure(MEASUREITEMSTRUCT& item, HFONT font);
  bool Draw(const DRAWITEMSTRUCT& item, HFONT font);

 private:
  struct Entry {
    HMENU parent;
    UINT command;
    HMENU submenu;
    MenuItem item;  // without children
    std::vector<std::wstring> children;
  };
  void Fill(HMENU menu, const std::wstring& owner, const std::vector<MenuItem>& items);
  void Forget(const std::wstring& name);
  const Entry* Find(const std::wstring& name) const;

  std::map<std::wstring, Entry> items_;
  std::map<UINT, std::wstring> by_command_;
  std::vector<HMENU> owned_;
  CommandNumbers& numbers_;
  std::map<UINT, std::function<void(int tag)>> commands_;
  int separators_ = 0;
};

}  // namespace quill::framework
