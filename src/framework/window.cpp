#include "framework/window.h"

namespace quill::framework {

bool Window::CreateTopLevel(const wchar_t* class_name, const std::wstring& caption, DWORD style,
                            const Box& box, HBRUSH background) {
  if (!win32::EnsureWindowClass(class_name, Procedure, background,
                                ::LoadCursorW(nullptr, IDC_ARROW)))
    return false;
  return CreateOwned(WS_EX_CONTROLPARENT, class_name, caption, style,
                     {box.x, box.y, box.x + box.width, box.y + box.height}, nullptr);
}

}  // namespace quill::framework
