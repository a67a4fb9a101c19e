#include "core/quoted_text.h"

namespace quill::core {

std::u16string QuoteBoxLines(const std::vector<std::u16string>& box_lines,
                             std::u16string_view prefix) {
  // A box counts one more line than its line list: the empty one after a
  // final line break, or the only one of an empty box. Quoting it would
  // add a line the user never wrote.
  std::size_t count = box_lines.size();
  if (count > 0 && box_lines.back().empty()) --count;
  std::u16string quoted;
  for (std::size_t i = 0; i < count; ++i) {
    if (i) quoted += u"\r\n";
    quoted.append(prefix);
    quoted += box_lines[i];
  }
  return quoted;
}

}  // namespace quill::core
