#pragma once
// A named control of a form: a child window with its kind, its place in
// its parent, and the notifications it answers. Its events (on_click,
// on_change, ...) tell what the user did; a value set by the program
// raises none. Controls are created and
// owned by their Form, which routes each notification to its control. A
// control owns its window (see the rules in window.h): every control window
// is subclassed to its object, which forgets the window at WM_NCDESTROY and
// destroys it, unhooked, when the object goes first.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/box.h"

namespace quill::framework {

enum class Align { kNone, kTop, kBottom, kClient };

class Control {
 public:
  Control(std::wstring name, std::wstring kind);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::wstring& name() const { return name_; }
  const std::wstring& kind() const { return kind_; }
  HWND hwnd() const { return hwnd_; }
  UINT id() const { return id_; }

  // How the control sits in its parent: aligned controls are laid out by
  // the parent (top and bottom ones keep their height), others keep `box`.
  Align align() const { return align_; }
  Control& SetAlign(Align align) {
    align_ = align;
    return *this;
  }

  // A declared box in the pixels of the screen `parent` is on.
  static Box ScaledFor(HWND parent, const Box& box);
  // Position and size in the parent's client coordinates.
  Box Bounds() const;
  void SetBounds(const Box& box);
  void SetVisible(bool visible);
  bool Visible() const;
  void SetEnabled(bool enabled);
  bool Enabled() const;
  std::wstring Text() const;
  void SetText(const std::wstring& text);
  // The control's items (radio buttons, columns, rows), for inspection.
  virtual std::vector<std::wstring> Items() const { return {}; }

  // Creates the window; called once by the Form.
  virtual void Create(HWND parent, UINT id, HFONT font) = 0;
  // Notifications from the control; true when handled.
  // `source` is the control's window or one of its own windows; `command`
  // the command identifier (a tool button's, say).
  virtual bool OnCommand(HWND /*source*/, UINT /*command*/, UINT /*code*/) { return false; }
  // Windows of the control besides its own (radio buttons), whose
  // notifications it handles too.
  virtual std::vector<HWND> OwnedWindows() const { return {}; }
  virtual bool OnNotify(NMHDR* /*header*/, LRESULT& /*result*/) { return false; }
  virtual bool OnDrawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }
  virtual void OnScroll(HWND /*source*/) {}
  // The window moved to a screen of other dots per inch; its place, size
  // and font have been scaled already, what else the control sized is its
  // own to scale.
  virtual void OnDpiChanged(UINT /*from*/, UINT /*to*/) {}

 protected:
  // Creates the window as a child of `parent`, `box` scaled for its
  // screen, sets the font and hooks the
  // window's messages to WindowProcedure.
  void CreateWindowAs(const wchar_t* window_class, const std::wstring& text, DWORD style,
                      DWORD ex_style, HWND parent, UINT id, HFONT font, const Box& box);
  // The control's own handling of its window's messages; the default, and
  // what an override ends in, is the window's previous procedure.
  virtual LRESULT WindowProcedure(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Default(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  static LRESULT CALLBACK Route(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  std::wstring name_;
  std::wstring kind_;
  HWND hwnd_ = nullptr;
  UINT id_ = 0;
  Align align_ = Align::kNone;
};

// Places aligned controls in a client rectangle in the order they were
// added: top ones downwards from the top, bottom ones upwards from the
// bottom, then the client one fills what is left.
void LayOutAligned(const std::vector<Control*>& controls, const RECT& client);

}  // namespace quill::framework
