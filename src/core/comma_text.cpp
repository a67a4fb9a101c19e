#include "core/comma_text.h"

namespace quill::core {
namespace {

// Blanks and control characters (codes 1 to 32). Shift-JIS trail bytes are
// 0x40 and above, so scanning bytes never splits a double-byte character.
bool IsBlank(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 1 && u <= 32;
}

// The text ends at a zero byte, so an item does too: written whole, the
// rest of it would hide every item after it from the reader.
std::string_view UpToZero(std::string_view item) { return item.substr(0, item.find('\0')); }

bool NeedsQuotes(std::string_view item) {
  for (char c : item)
    if (IsBlank(c) || c == '"' || c == ',') return true;
  return false;
}

std::string Quoted(std::string_view item) {
  std::string out = "\"";
  for (char c : item) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + '"';
}

}  // namespace

std::string WriteCommaText(const std::vector<std::string>& items) {
  if (items.size() == 1 && UpToZero(items[0]).empty()) return "\"\"";
  std::string text;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i) text += ',';
    const std::string_view item = UpToZero(items[i]);
    if (NeedsQuotes(item))
      text += Quoted(item);
    else
      text += item;
  }
  return text;
}

std::vector<std::string> ReadCommaText(std::string_view text) {
  // A zero byte ends the text wherever it stands, inside quotes too.
  text = UpToZero(text);
  std::vector<std::string> items;
  std::size_t p = 0;
  const std::size_t end = text.size();
  const auto skip_blanks = [&] {
    while (p < end && IsBlank(text[p])) ++p;
  };
  skip_blanks();
  while (p < end) {
    std::string item;
    if (text[p] == '"') {
      ++p;
      while (p < end) {
        if (text[p] == '"') {
          if (p + 1 < end && text[p + 1] == '"') {
            item += '"';
            p += 2;
            continue;
          }
          ++p;  // the closing quote
          break;
        }
        item += text[p++];
      }
    } else {
      const std::size_t start = p;
      while (p < end && !IsBlank(text[p]) && text[p] != ',') ++p;
      item.assign(text.substr(start, p - start));
    }
    items.push_back(std::move(item));
    skip_blanks();
    if (p < end && text[p] == ',') {
      ++p;
      skip_blanks();
      if (p >= end) items.emplace_back();  // a comma at the very end
    }
  }
  return items;
}

}  // namespace quill::core
