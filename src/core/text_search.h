#pragma once
// Finding a text inside a record's text: on Unicode text, with case
// folded unless asked to match it.
#include <string_view>

namespace quill::core {

// Whether `text` holds `what`. Without `match_case`, ASCII letters and
// full-width Latin letters match either case. An empty `what` is nowhere.
bool ContainsText(std::u16string_view text, std::u16string_view what, bool match_case);

}  // namespace quill::core
