// Feeds arbitrary text to the import's normaliser, in pieces cut where the
// first byte says. The result must be the same however the text is cut,
// hold no NUL, no lone CR or LF, and equal the input before its first NUL
// with every line break made CR LF.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "exchange/text_import.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// The same rule written plainly, as the reference.
std::string Reference(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (text[i] == '\n') {
      out += "\r\n";
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t piece = data[0] % 7 + 1;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::string whole = quill::exchange::NormaliseText(text);
  quill::exchange::TextNormaliser pieces;
  for (std::size_t at = 0; at < text.size(); at += piece)
    if (!pieces.Feed(text.substr(at, piece))) break;
  Require(pieces.Text() == whole);
  Require(whole == Reference(text));
  Require(whole.find('\0') == std::string::npos);
  for (std::size_t i = 0; i < whole.size(); ++i) {
    if (whole[i] == '\r') Require(i + 1 < whole.size() && whole[i + 1] == '\n');
    if (whole[i] == '\n') Require(i > 0 && whole[i - 1] == '\r');
  }
  return 0;
}
