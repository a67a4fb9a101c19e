#pragma once
// How the recorder opens its storage files: direct, except for a step that
// renumbers records, which is one transaction.
#include "platform/storage.h"

namespace quill::core::mode {

using namespace platform::stgm;
inline constexpr std::uint32_t kCreateRoot = kCreate | kShareExclusive | kReadWrite;  // 0x1012
inline constexpr std::uint32_t kOpenRoot = kShareExclusive | kReadWrite;              // 0x12
inline constexpr std::uint32_t kCreateElement = kCreate | kShareExclusive | kWrite;   // 0x1011
inline constexpr std::uint32_t kOpenForReading = kShareExclusive | kRead;             // 0x10
inline constexpr std::uint32_t kOpenForChange = kShareExclusive | kReadWrite;         // 0x12
inline constexpr std::uint32_t kOpenTransacted = kOpenRoot | kTransacted;             // 0x10012

}  // namespace quill::core::mode
