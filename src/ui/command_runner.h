#pragma once
// How the main window's collaborators run their commands: through the
// window, inside its one error boundary.
#include <functional>

namespace quill::ui {

// Runs a command of the main window (inside its error boundary).
using CommandRunner = std::function<void(std::function<void()>)>;

// A menu item's click, run as a command that is given the item's tag.
template <typename Owner>
std::function<void(int)> TagCommand(const CommandRunner& run, Owner* owner,
                                    void (Owner::*handler)(int)) {
  return [run, owner, handler](int tag) { run([owner, handler, tag] { (owner->*handler)(tag); }); };
}

}  // namespace quill::ui
