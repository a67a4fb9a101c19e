#pragma once
// The text of an imported file: line breaks made CR LF, cut at the first
// NUL. Fed in pieces, so a huge file is refused as soon as it is too long
// rather than after it was read whole.
#include <cstddef>
#include <string>
#include <string_view>

namespace quill::exchange {

class TextNormaliser {
 public:
  // Appends `bytes`; false once the text has ended at a NUL (the rest of the
  // file does not matter).
  bool Feed(std::string_view bytes);
  bool Ended() const { return ended_; }
  const std::string& Text() const { return text_; }
  std::string TakeText() { return std::move(text_); }

 private:
  std::string text_;
  bool after_cr_ = false;
  bool ended_ = false;
};

std::string NormaliseText(std::string_view bytes);

}  // namespace quill::exchange
