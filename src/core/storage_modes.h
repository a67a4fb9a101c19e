#pragma once
// How the recorder opens its storage files: always direct, never
// transacted; only saving commits explicitly.
#include "platform/storage.h"

namespace quill::core::mode {

using namespace platform::stgm;
inline constexpr std::uint32_t kCreateRoot = kCreate | kShareExclusive | kReadWrite;  // 0x1012
inline constexpr std::uint32_t kOpenRoot = kShareExclusive | kReadWrite;              // 0x12
inline constexpr std::uint32_t kCreateElement = kCreate | kShareExclusive | kWrite;   // 0x1011
inline constexpr std::uint32_t kOpenForReading = kShareExclusive | kRead;             // 0x10

}  // namespace quill::core::mode
