#include "ui/text_pieces.h"

namespace quill::ui {

TextPieces::TextPieces(std::string text, bool page_separated)
    : text_(std::move(text)), page_separated_(page_separated) {
  const std::size_t end = text_.find('\x1A');
  if (end != std::string::npos) text_.resize(end);
}

std::optional<std::string> TextPieces::Next() {
  for (;;) {
    if (at_ >= text_.size()) return std::nullopt;
    const std::size_t from = at_;
    piece_line_ = line_;
    auto piece = page_separated_ ? NextPage() : NextLine();
    // Line ends passed, each of LF, CR LF and a lone CR counted once.
    for (std::size_t i = from; i < at_; ++i)
      if (text_[i] == '\n' || (text_[i] == '\r' && (i + 1 >= text_.size() || text_[i + 1] != '\n')))
        ++line_;
    if (piece && !piece->empty()) return piece;
  }
}

// A line ends at LF, CR LF or a lone CR: files with the old Macintosh line
// ends would otherwise become one record.
std::optional<std::string> TextPieces::NextLine() {
  const std::size_t end = text_.find_first_of("\r\n", at_);
  if (end == std::string::npos) {
    std::string line = text_.substr(at_);
    at_ = text_.size();
    return line;
  }
  std::string line = text_.substr(at_, end - at_);
  at_ = end + 1;
  if (text_[end] == '\r' && at_ < text_.size() && text_[at_] == '\n') ++at_;
  return line;
}

std::optional<std::string> TextPieces::NextPage() {
  const std::size_t end = text_.find('\f', at_);
  const std::size_t stop = end == std::string::npos ? text_.size() : end;
  std::string page = text_.substr(at_, stop - at_);
  at_ = end == std::string::npos ? text_.size() : end + 1;
  return page;
}

}  // namespace quill::ui
