#include "core/element_name.h"

#include <limits>

namespace quill::core {
namespace {

template <typename Char>
std::int32_t LeadingDigits(std::basic_string_view<Char> text) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  std::int64_t value = 0;
  for (Char c : text) {
    if (c < Char('0') || c > Char('9')) break;
    value = value * 10 + (c - Char('0'));
    if (value > kMax) return static_cast<std::int32_t>(kMax);
  }
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::u16string ElementName(std::int32_t n) {
  const auto low = static_cast<std::uint16_t>(static_cast<std::uint32_t>(n) & 0xFFFF);
  const std::string digits = std::to_string(low);
  return std::u16string(digits.begin(), digits.end());
}

std::int32_t LeadingNumber(std::u16string_view text) { return LeadingDigits(text); }
std::int32_t LeadingNumber(std::string_view text) { return LeadingDigits(text); }

}  // namespace quill::core
