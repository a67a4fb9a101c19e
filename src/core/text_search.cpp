#include "core/text_search.h"

#include <algorithm>

namespace quill::core {
namespace {

char16_t Folded(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + (u'a' - u'A'));
  if (c >= u'Ａ' && c <= u'Ｚ') return static_cast<char16_t>(c + (u'ａ' - u'Ａ'));
  return c;
}

}  // namespace

bool ContainsText(std::u16string_view text, std::u16string_view what, bool match_case) {
  if (what.empty()) return false;
  const auto same = [match_case](char16_t a, char16_t b) {
    return match_case ? a == b : Folded(a) == Folded(b);
  };
  return std::search(text.begin(), text.end(), what.begin(), what.end(), same) != text.end();
}

}  // namespace quill::core
