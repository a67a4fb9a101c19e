// Cuts arbitrary bytes into the pieces a loaded text file becomes, by lines
// or by pages as the first byte says. The pieces must equal a plain
// reference (the text ends at 0x1A; a line ends at LF, CR LF or a lone CR;
// a page at a form feed; empty pieces are dropped), none may be empty or
// hold 0x1A or its separators, together they must be the text without its
// separators, and the end must stay the end.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "ui/text_pieces.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// Dropping empty pieces makes CR LF the same as CR followed by LF.
std::vector<std::string> Reference(std::string_view text, std::string_view separators) {
  text = text.substr(0, text.find('\x1A'));
  std::vector<std::string> pieces(1);
  for (char c : text) {
    if (separators.find(c) == std::string_view::npos)
      pieces.back() += c;
    else if (!pieces.back().empty())
      pieces.emplace_back();
  }
  if (pieces.back().empty()) pieces.pop_back();
  return pieces;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool pages = data[0] & 1;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::string_view separators = pages ? std::string_view("\f") : "\r\n";

  quill::ui::TextPieces cutter{std::string(text), pages};
  std::vector<std::string> pieces;
  std::string joined;
  while (auto piece = cutter.Next()) {
    Require(!piece->empty() && piece->find('\x1A') == std::string::npos);
    Require(piece->find_first_of(separators) == std::string::npos);
    joined += *piece;
    pieces.push_back(std::move(*piece));
  }
  Require(!cutter.Next());
  Require(pieces == Reference(text, separators));

  std::string expected_join;
  for (char c : text.substr(0, text.find('\x1A')))
    if (separators.find(c) == std::string_view::npos) expected_join += c;
  Require(joined == expected_join);
  return 0;
}
