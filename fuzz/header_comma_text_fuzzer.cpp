// Reads arbitrary bytes as a record Header's comma text, and writes item
// lists cut from the same bytes. Reading never yields an item past a zero
// byte; a written list reads back as written, each item up to its first
// zero byte; and what was read, written again, reads back the same.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/comma_text.h"

namespace {

using Items = std::vector<std::string>;

void Require(bool condition) {
  if (!condition) std::abort();
}

// The items of `text` between `separator` bytes; none for no text.
Items Split(std::string_view text, char separator) {
  Items items;
  if (text.empty()) return items;
  for (;;) {
    const std::size_t at = text.find(separator);
    items.emplace_back(text.substr(0, at));
    if (at == std::string_view::npos) return items;
    text.remove_prefix(at + 1);
  }
}

std::string UpToZero(const std::string& item) { return item.substr(0, item.find('\0')); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using quill::core::ReadCommaText;
  using quill::core::WriteCommaText;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  // Arbitrary bytes as a Header.
  const Items read = ReadCommaText(text);
  Require(read == ReadCommaText(text.substr(0, text.find('\0'))));
  for (const std::string& item : read) Require(item.find('\0') == std::string::npos);
  const std::string written = WriteCommaText(read);
  Require(ReadCommaText(written) == read);

  // A list made of the bytes after the first, cut where that byte stands.
  if (size == 0) return 0;
  const Items items = Split(text.substr(1), text[0]);
  Items expected;
  for (const std::string& item : items) expected.push_back(UpToZero(item));
  const std::string list_text = WriteCommaText(items);
  Require(list_text.find('\0') == std::string::npos);
  Require(ReadCommaText(list_text) == expected);
  Require(list_text == WriteCommaText(expected));
  return 0;
}
