#pragma once
// The extension rule shared by import and export.
#include <string>
#include <string_view>

namespace quill::exchange {

// The part of `path` from its last "." when no path delimiter (backslash,
// or the slash the system takes as well) or drive colon follows that dot, with ASCII letters in
// lower case; empty otherwise.
std::u16string FileExtension(std::u16string_view path);

}  // namespace quill::exchange
