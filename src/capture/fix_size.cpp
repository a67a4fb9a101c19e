#include "capture/fix_size.h"

#include <cstdint>
#include <limits>

namespace quill::capture {
namespace {

constexpr std::int32_t kLargest = std::numeric_limits<std::int16_t>::max();

// The text with its place holder replaced by `text`.
std::u16string Format(std::u16string_view pattern, std::u16string_view text) {
  std::u16string out(pattern);
  out.replace(out.find(u"%s"), 2, text);
  return out;
}

// A strict integer: blanks, an optional sign, then digits to the end, within
// 32 bits; nothing if the text is anything else.
std::optional<std::int32_t> ParseInteger(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  if (i == text.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < u'0' || text[i] > u'9') return std::nullopt;
    value = value * 10 + (text[i] - u'0');
    if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

// The value of one edit, or the message that rejects it.
std::optional<std::int16_t> ParseSide(std::u16string_view text, std::u16string& error) {
  const std::optional<std::int32_t> value = ParseInteger(text);
  if (!value) {
    error = Format(u"'%s' は整数ではありません", text);
    return std::nullopt;
  }
  if (*value < 1 || *value > kLargest) {
    error = Format(u"'%s' は範囲外です。1 から 32767 までの整数を指定してください", text);
    return std::nullopt;
  }
  return static_cast<std::int16_t>(*value);
}

}  // namespace

FixSizeResult ParseFixSize(std::u16string_view width_text, std::u16string_view height_text) {
  FixSizeResult result;
  const std::optional<std::int16_t> width = ParseSide(width_text, result.error);
  if (!width) return result;
  const std::optional<std::int16_t> height = ParseSide(height_text, result.error);
  if (!height) return result;
  result.size = FixSize{*width, *height};
  return result;
}

}  // namespace quill::capture
