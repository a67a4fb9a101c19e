#pragma once
// Quoting the text box's text for a reply, line by line.
#include <string>
#include <string_view>
#include <vector>

namespace quill::core {

// `box_lines` are the lines a multi-line text box shows (EM_GETLINECOUNT
// of them, each wrapped line on its own). Returns every line of the box's
// line list behind `prefix`, joined by CR LF. The line list, as a memo's
// lines are counted, has no line for the empty one after a final line
// break, so an empty box gives an empty text.
std::u16string QuoteBoxLines(const std::vector<std::u16string>& box_lines,
                             std::u16string_view prefix);

}  // namespace quill::core
