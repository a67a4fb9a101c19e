#include "framework/menu.h"

#include <stdexcept>

#include "framework/dpi.h"
#include "win32/handles.h"

namespace quill::framework {
namespace {
constexpr int kImageRoom = 28;  // owner-drawn items leave room for a 24-pixel image
}  // namespace

MenuSet::~MenuSet() {
  for (HMENU menu : owned_) ::DestroyMenu(menu);
}

HMENU MenuSet::BuildMenuBar(const std::vector<MenuItem>& items) {
  const HMENU bar = ::CreateMenu();
  Fill(bar, L"", items);
  return bar;  // the window that takes it destroys it
}

HMENU MenuSet::BuildPopup(const std::wstring& name, const std::vector<MenuItem>& items) {
  const HMENU popup = ::CreatePopupMenu();
  owned_.push_back(popup);
  MenuItem self;
  self.name = name;
  items_[name] = {nullptr, 0, popup, self, {}};
  Fill(popup, name, items);
  return popup;
}

void MenuSet::Fill(HMENU menu, const std::wstring& owner, const std::vector<MenuItem>& items) {
  for (const MenuItem& item : items) {
    if (item.caption == L"-") {
      ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    Entry entry{menu, 0, nullptr, item, {}};
    entry.item.items.clear();
    UINT flags = item.enabled ? MF_ENABLED : MF_GRAYED;
    if (item.column_break) flags |= MF_MENUBARBREAK;
    if (item.submenu || !item.items.empty()) {
      entry.submenu = ::CreatePopupMenu();
      ::AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(entry.submenu),
                    item.caption.c_str());
    } else {
      entry.command = numbers_.Take();
      by_command_[entry.command] = item.name;
      if (item.owner_draw) {
        flags |= MF_OWNERDRAW;
        ::AppendMenuW(menu, flags, entry.command,
                      reinterpret_cast<LPCWSTR>(static_cast<UINT_PTR>(entry.command)));
      } else {
        ::AppendMenuW(menu, flags | MF_STRING, entry.command, item.caption.c_str());
      }
      if (item.radio) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        ::GetMenuItemInfoW(menu, entry.command, FALSE, &info);
        info.fType |= MFT_RADIOCHECK;
        ::SetMenuItemInfoW(menu, entry.command, FALSE, &info);
      }
    }
    const HMENU submenu = entry.submenu;
    items_[item.name] = std::move(entry);
    if (Entry* parent = items_.count(owner) ? &items_[owner] : nullptr)
      parent->children.push_back(item.name);
    if (submenu) Fill(submenu, item.name, item.items);
  }
}

const MenuSet::Entry* MenuSet::Find(const std::wstring& name) const {
  const auto found = items_.find(name);
  return found == items_.end() ? nullptr : &found->second;
}

bool MenuSet::Dispatch(UINT command) {
  if (const auto own = commands_.find(command); own != commands_.end()) {
    if (own->second) own->second(0);
    return true;
  }
  const auto found = by_command_.find(command);
  if (found == by_command_.end()) return false;
  const Entry* entry = Find(found->second);
  if (entry && entry->item.on_click) entry->item.on_click(entry->item.tag);
  return true;
}

UINT MenuSet::Command(const std::wstring& name) const {
  const Entry* entry = Find(name);
  return entry ? entry->command : 0;
}

void MenuSet::Click(const std::wstring& name) {
  const Entry* entry = Find(name);
  if (entry && entry->command && Enabled(name)) Dispatch(entry->command);
}

void MenuSet::SetEnabled(const std::wstring& name, bool enabled) {
  const Entry* entry = Find(name);
  if (!entry || !entry->parent) return;
  const UINT position = entry->command ? entry->command : 0;
  if (entry->command)
    ::EnableMenuItem(entry->parent, position, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

bool MenuSet::Enabled(const std::wstring& name) const {
  const Entry* entry = Find(name);
  if (!entry || !entry->parent || !entry->command) return false;
  return (::GetMenuState(entry->parent, entry->command, MF_BYCOMMAND) &
          (MF_GRAYED | MF_DISABLED)) == 0;
}

void MenuSet::SetChecked(const std::wstring& name, bool checked) {
  const Entry* entry = Find(name);
  if (entry && entry->command)
    ::CheckMenuItem(entry->parent, entry->command,
                    MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool MenuSet::Checked(const std::wstring& name) const {
  const Entry* entry = Find(name);
  if (!entry || !entry->command) return false;
  return (::GetMenuState(entry->parent, entry->command, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

std::wstring MenuSet::Caption(const std::wstring& name) const {
  const Entry* entry = Find(name);
  return entry ? entry->item.caption : L"";
}

int MenuSet::Tag(const std::wstring& name) const {
  const Entry* entry = Find(name);
  return entry ? entry->item.tag : 0;
}

HMENU MenuSet::Submenu(const std::wstring& name) const {
  const Entry* entry = Find(name);
  return entry ? entry->submenu : nullptr;
}

std::wstring MenuSet::NameOfSubmenu(HMENU menu) const {
  for (const auto& [name, entry] : items_)
    if (entry.submenu == menu) return name;
  return L"";
}

std::vector<std::wstring> MenuSet::Children(const std::wstring& name) const {
  const Entry* entry = Find(name);
  return entry ? entry->children : std::vector<std::wstring>{};
}

void MenuSet::Forget(const std::wstring& name) {
  const auto found = items_.find(name);
  if (found == items_.end()) return;
  for (const std::wstring& child : found->second.children) Forget(child);
  if (const UINT command = found->second.command) {
    by_command_.erase(command);
    numbers_.Give(command);
  }
  items_.erase(found);
}

UINT MenuSet::AddCommand(std::function<void(int tag)> handler) {
  const UINT command = numbers_.Take();
  commands_[command] = std::move(handler);
  return command;
}

void MenuSet::Refill(const std::wstring& name, const std::vector<MenuItem>& items) {
  const auto found = items_.find(name);
  if (found == items_.end() || !found->second.submenu) return;
  const HMENU submenu = found->second.submenu;
  for (const std::wstring& child : std::vector<std::wstring>(found->second.children)) Forget(child);
  items_[name].children.clear();
  while (::GetMenuItemCount(submenu) > 0) ::DeleteMenu(submenu, 0, MF_BYPOSITION);
  Fill(submenu, name, items);
}

bool MenuSet::Measure(MEASUREITEMSTRUCT& item, HFONT font) {
  const auto found = by_command_.find(item.itemID);
  if (found == by_command_.end()) return false;
  const std::wstring& caption = items_[found->second].item.caption;
  win32::WindowDC dc(nullptr);
  win32::ScopedSelectObject select(dc.get(), font);
  SIZE size = {};
  ::GetTextExtentPoint32W(dc.get(), caption.c_str(), static_cast<int>(caption.size()), &size);
  const UINT dpi = DpiOf(nullptr);
  item.itemWidth = static_cast<UINT>(size.cx + Scaled(kImageRoom + 8, dpi));
  item.itemHeight = static_cast<UINT>(Scaled(26, dpi));
  return true;
}

bool MenuSet::Draw(const DRAWITEMSTRUCT& item, HFONT font) {
  const auto found = by_command_.find(item.itemID);
  if (found == by_command_.end()) return false;
  const MenuItem& declared = items_[found->second].item;
  const MenuItemLook look = {(item.itemState & ODS_SELECTED) != 0,
                             (item.itemState & ODS_CHECKED) != 0,
                             (item.itemState & (ODS_DISABLED | ODS_GRAYED)) == 0};
  win32::ScopedSelectObject select(item.hDC, font);
  ::SetBkMode(item.hDC, TRANSPARENT);
  ::SetTextColor(item.hDC, ::GetSysColor(look.selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  if (declared.on_draw) {
    declared.on_draw(declared, item.hDC, item.rcItem, look);
    return true;
  }
  const UINT dpi = DpiOf(nullptr);
  RECT r = item.rcItem;
  ::FillRect(item.hDC, &r, ::GetSysColorBrush(look.selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (look.checked) {
    // The chosen item: a round mark where its image goes.
    const int cy = (r.top + r.bottom) / 2;
    win32::UniqueBrush mark(
        ::CreateSolidBrush(::GetSysColor(look.selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT)));
    win32::ScopedSelectObject brush(item.hDC, mark.get());
    win32::ScopedSelectObject pen(item.hDC, ::GetStockObject(NULL_PEN));
    ::Ellipse(item.hDC, r.left + Scaled(10, dpi), cy - Scaled(4, dpi), r.left + Scaled(19, dpi),
              cy + Scaled(5, dpi));
  }
  r.left += Scaled(kImageRoom + 4, dpi);
  ::DrawTextW(item.hDC, declared.caption.c_str(), -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  return true;
}

}  // namespace quill::framework
