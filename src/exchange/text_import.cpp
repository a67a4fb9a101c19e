#include "exchange/text_import.h"

namespace quill::exchange {

bool TextNormaliser::Feed(std::string_view bytes) {
  if (ended_) return false;
  text_.reserve(text_.size() + bytes.size() + bytes.size() / 16);
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c != '\r' && c != '\n' && c != '\0') {
      after_cr_ = false;
      continue;
    }
    text_.append(bytes.data() + start, i - start);
    start = i + 1;
    if (c == '\0') {
      ended_ = true;
      return false;
    }
    // The LF of a CR LF pair was written with its CR.
    if (!(c == '\n' && after_cr_)) text_ += "\r\n";
    after_cr_ = c == '\r';
  }
  text_.append(bytes.data() + start, bytes.size() - start);
  return true;
}

std::string NormaliseText(std::string_view bytes) {
  TextNormaliser normaliser;
  normaliser.Feed(bytes);
  return normaliser.TakeText();
}

}  // namespace quill::exchange
