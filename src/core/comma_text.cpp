#include "core/comma_text.h"

namespace quill::core {
namespace {

// Blanks and control characters (codes 1 to 32). Shift-JIS trail bytes are
// 0x40 and above, so scanning bytes never splits a double-byte character.
bool IsBlank(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 1 && u <= 32;
}

bool NeedsQuotes(const std::string& item) {
  for (char c : item) {
    if (c == '\0') return false;  // the text ends at a zero byte
    if (IsBlank(c) || c == '"' || c == ',') return true;
  }
  return false;
}

std::string Quoted(const std::string& item) {
  std::string out = "\"";
  for (char c : item) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + '"';
}

}  // namespace

std::string WriteCommaText(const std::vector<std::string>& items) {
  if (items.size() == 1 && items[0].empty()) return "\"\"";
  std::string text;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i) text += ',';
    text += NeedsQuotes(items[i]) ? Quoted(items[i]) : items[i];
  }
  return text;
}

std::vector<std::string> ReadCommaText(std::string_view text) {
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
      while (p < end && !IsBlank(text[p]) && text[p] != ',' && text[p] != '\0') ++p;
      item.assign(text.substr(start, p - start));
      if (p < end && text[p] == '\0') p = end;  // a zero byte ends the text
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
