#pragma once
// The comma-separated item lists of a record's "Header" stream, in the
// system's 8-bit code page. Items holding a blank, a control character, a
// double quote or a comma are quoted, with inner quotes doubled. A zero
// byte ends the text, and an item is written only up to its first one.
#include <string>
#include <string_view>
#include <vector>

namespace quill::core {

std::string WriteCommaText(const std::vector<std::string>& items);
std::vector<std::string> ReadCommaText(std::string_view text);

}  // namespace quill::core
