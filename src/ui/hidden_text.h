#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace quill::ui {

// The part of a long text the memo does not show: the text, shared with
// whoever read it, from where the memo's part ends.
struct HiddenText {
  std::shared_ptr<const std::string> text;
  std::size_t from = 0;
  bool empty() const { return !text || from >= text->size(); }
  std::string_view view() const {
    return empty() ? std::string_view() : std::string_view(*text).substr(from);
  }
  void clear() {
    text.reset();
    from = 0;
  }
};

}  // namespace quill::ui
