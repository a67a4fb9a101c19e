#pragma once
// A top-level window declared as a tree of named controls, with its menus.
// It creates and owns the controls, lays out the aligned ones, and routes
// every notification to the control (or menu item) it belongs to.
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/container.h"
#include "framework/menu.h"
#include "framework/page_control.h"
#include "framework/window.h"
#include "win32/handles.h"

namespace quill::framework {

class Form : public Window {
 public:
  Form() = default;
  ~Form() override;

  // Creates a fixed window of this client size (declared for 96 dpi),
  // centred on the screen, with the window font; false if it could not be
  // made.
  bool CreateCentred(const wchar_t* class_name, const std::wstring& caption, DWORD style,
                     int client_width, int client_height);
  // The window font: face, character set and height in pixels on a
  // 96-dpi screen (scaled for the window's).
  void SetFont(const std::wstring& face, BYTE charset, int height);
  // The dots per inch the window and its controls are sized for.
  UINT dpi() const { return dpi_; }
  HFONT font() const { return font_.get(); }

  // Creates a control inside `parent` (nullptr: the form itself).
  template <typename T, typename... Args>
  T& Add(Container* parent, Args&&... args) {
    auto control = std::make_unique<T>(std::forward<Args>(args)...);
    T& added = *control;
    Register(std::move(control), parent);
    return added;
  }

  // Adds a page to a page control: a container made inside the tabs,
  // which lay it out and show it when its tab is chosen.
  Container& AddPage(PageControl& pages, std::wstring name, std::wstring caption);

  Control* Find(const std::wstring& name) const;
  // The control of that name and kind; a misspelt name or a wrong kind is
  // the program's fault, raised at once.
  template <typename T>
  T& Get(const std::wstring& name) const {
    if (T* found = dynamic_cast<T*>(Find(name))) return *found;
    throw std::logic_error("no control of that kind named " + Narrow(name));
  }
  const std::vector<Control*>& controls() const { return order_; }
  MenuSet& menus() { return menus_; }

  void LayOut();
  // Typed handlers of the form's own messages, run after the controls had
  // theirs: a message (a registered one too), and a timer by its id. One
  // handler a message or timer; a later one replaces it.
  using MessageHandler = std::function<LRESULT(WPARAM wparam, LPARAM lparam)>;
  void Handle(UINT message, MessageHandler handler);
  void HandleTimer(UINT_PTR id, std::function<void()> handler);

  // Shows the form over `owner`, which is disabled meanwhile, until
  // EndModal (or closing the form, which is IDCANCEL); returns the result.
  int ShowModal(HWND owner);
  void EndModal(int result) { modal_result_ = result; }
  // The standard error display.
  void ShowError(const std::wstring& text, const std::wstring& title);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  // The form's own messages, after the controls had theirs.
  virtual LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  // The menu whose popup is about to open.
  virtual void OnMenuPopup(const std::wstring& /*menu_name*/) {}

 private:
  // Creates the control inside `parent` (nullptr: the form), or inside
  // `window` where that is no container of ours.
  void Register(std::unique_ptr<Control> control, Container* parent, HWND window = nullptr);
  static std::string Narrow(const std::wstring& name);
  Control* ControlOf(HWND hwnd) const;
  // Scales every window inside the form, its font and what the controls
  // sized themselves, from one screen's dots per inch to another's.
  void Rescale(UINT from, UINT to);
  // Makes the window font for dpi_.
  void MakeFont();

  win32::UniqueFont font_;
  std::wstring font_face_;
  BYTE font_charset_ = 0;
  int font_height_ = 0;
  UINT dpi_ = 96;
  std::vector<std::unique_ptr<Control>> owned_;
  std::vector<Control*> order_;
  std::vector<Control*> top_level_;
  std::map<HWND, Control*> by_window_;
  std::map<std::wstring, Control*> by_name_;
  std::map<UINT, MessageHandler> handlers_;
  std::map<UINT_PTR, std::function<void()>> timers_;
  CommandNumbers numbers_;
  MenuSet menus_{numbers_};
  bool in_modal_ = false;
  int modal_result_ = 0;
};

}  // namespace quill::framework
