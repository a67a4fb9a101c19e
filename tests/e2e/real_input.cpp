#include "real_input.h"

#include <string>

namespace quill::e2e {
namespace {

struct ClassSearch {
  const wchar_t* name;
  HWND found;
};

BOOL CALLBACK MatchClass(HWND child, LPARAM context) {
  auto* search = reinterpret_cast<ClassSearch*>(context);
  wchar_t name[64] = {};
  ::GetClassNameW(child, name, 64);
  if (std::wstring(name) != search->name || !::IsWindowVisible(child)) return TRUE;
  search->found = child;
  return FALSE;
}

void Button(DWORD flags) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  ::SendInput(1, &input, sizeof input);
}

}  // namespace

HWND ChildOfClass(HWND parent, const wchar_t* class_name) {
  ClassSearch search = {class_name, nullptr};
  ::EnumChildWindows(parent, MatchClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

RECT RemoteRect(HANDLE process, HWND control, UINT message, WPARAM wparam, LONG left) {
  RECT rect = {left, 0, 0, 0};
  void* remote = ::VirtualAllocEx(process, nullptr, sizeof rect, MEM_COMMIT, PAGE_READWRITE);
  if (!remote) return {};
  ::WriteProcessMemory(process, remote, &rect, sizeof rect, nullptr);
  ::SendMessageW(control, message, wparam, reinterpret_cast<LPARAM>(remote));
  ::ReadProcessMemory(process, remote, &rect, sizeof rect, nullptr);
  ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  ::MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// Moves the pointer there first and lets the window see it, as a hand
// does, so that the press lands on what is under it.
void PointAt(const RECT& r) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = ((r.left + r.right) / 2 * 65536 + 32768) / ::GetSystemMetrics(SM_CXSCREEN);
  input.mi.dy = ((r.top + r.bottom) / 2 * 65536 + 32768) / ::GetSystemMetrics(SM_CYSCREEN);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  ::SendInput(1, &input, sizeof input);
  ::Sleep(100);
}

void Click() {
  Button(MOUSEEVENTF_LEFTDOWN);
  Button(MOUSEEVENTF_LEFTUP);
}

void ClickIn(const RECT& r) {
  PointAt(r);
  Click();
}

void Drag(const RECT& from, const RECT& to) {
  PointAt(from);
  Button(MOUSEEVENTF_LEFTDOWN);
  ::Sleep(50);
  // In steps, past the system's drag distance, as a hand moves.
  for (int step = 1; step <= 4; ++step) {
    const LONG dy = (to.top - from.top) * step / 4;
    PointAt({from.left, from.top + dy, from.right, from.bottom + dy});
  }
  Button(MOUSEEVENTF_LEFTUP);
}

}  // namespace quill::e2e
