// Reads the leading number of arbitrary text, as bytes and as UTF-16 units
// made of byte pairs. The result must equal a reference that compares digit
// strings instead of doing arithmetic, agree between byte text and the same
// bytes widened, ignore what follows the digits, and read back every element
// name as the low 16 bits of its number.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "core/element_name.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

template <typename Char>
std::int32_t Reference(std::basic_string_view<Char> text) {
  std::string digits;
  for (Char c : text) {
    if (c < Char('0') || c > Char('9')) break;
    if (digits == "0") digits.clear();  // leading zeros add nothing
    digits += static_cast<char>(c);
  }
  if (digits.empty()) return 0;
  const std::string max = "2147483647";
  if (digits.size() > max.size() || (digits.size() == max.size() && digits > max))
    return 2147483647;
  return static_cast<std::int32_t>(std::stoll(digits));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using quill::core::ElementName;
  using quill::core::LeadingNumber;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::u16string units;
  for (std::size_t i = 0; i + 1 < size; i += 2)
    units += static_cast<char16_t>(data[i] | data[i + 1] << 8);

  const std::int32_t number = LeadingNumber(bytes);
  Require(number >= 0 && number == Reference(bytes));
  Require(LeadingNumber(units) == Reference(std::u16string_view(units)));
  // Bytes 0x80 and above widen to units that are no digits either.
  std::u16string widened_bytes;
  for (unsigned char c : bytes) widened_bytes += static_cast<char16_t>(c);
  Require(LeadingNumber(widened_bytes) == number);

  if (size < 4) return 0;
  std::int32_t n;
  std::memcpy(&n, data, sizeof n);
  const std::u16string name = ElementName(n);
  const std::int32_t low = static_cast<std::int32_t>(static_cast<std::uint32_t>(n) & 0xFFFF);
  Require(!name.empty() && name.size() <= 5 && (name[0] != u'0' || name == u"0"));
  Require(LeadingNumber(name) == low);
  // Whatever follows a name that starts with no digit leaves it unchanged.
  const std::u16string rest = units.substr(2);
  if (rest.empty() || rest[0] < u'0' || rest[0] > u'9') Require(LeadingNumber(name + rest) == low);
  return 0;
}
