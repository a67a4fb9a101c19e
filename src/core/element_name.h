#pragma once
// Names of records and format streams inside a storage file, and the
// leading-number rule used to read them (and the numeric edits) back.
#include <cstdint>
#include <string>
#include <string_view>

namespace quill::core {

// Decimal text of the low 16 bits of `n`, as an element name.
std::u16string ElementName(std::int32_t n);

// Value of the decimal digits at the start of `text`, stopping at the first
// other character; 0 when it does not start with a digit. Saturates at the
// largest 32-bit value rather than overflowing.
std::int32_t LeadingNumber(std::u16string_view text);
std::int32_t LeadingNumber(std::string_view text);

}  // namespace quill::core
