#pragma once
// The pieces a text file is loaded as: one per line, or one per page when
// form feeds separate the pages. Portable; the window puts each piece on
// the clipboard.
#include <cstddef>
#include <optional>
#include <string>

namespace quill::ui {

class TextPieces {
 public:
  // `text` is the file's bytes; a 0x1A byte ends it.
  TextPieces(std::string text, bool page_separated);

  // The next piece that is not empty; none at the end.
  std::optional<std::string> Next();
  // The line of the file (from 1) that the last piece began on.
  std::size_t LineOfPiece() const { return piece_line_; }

 private:
  std::optional<std::string> NextLine();
  std::optional<std::string> NextPage();

  std::string text_;
  bool page_separated_;
  std::size_t at_ = 0;
  std::size_t line_ = 1;  // the line at_ is on
  std::size_t piece_line_ = 0;
};

}  // namespace quill::ui
