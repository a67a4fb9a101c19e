#include "exchange/file_name.h"

namespace quill::exchange {

std::u16string FileExtension(std::u16string_view path) {
  const std::size_t dot = path.find_last_of(u".\\/:");
  if (dot == std::u16string_view::npos || path[dot] != u'.') return {};
  std::u16string extension(path.substr(dot));
  for (char16_t& c : extension)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return extension;
}

}  // namespace quill::exchange
