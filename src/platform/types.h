#pragma once
// Plain stand-ins for the system's handle and message types, so that code
// written against the platform interfaces needs no <windows.h>. The values
// are the system's own: a WindowId is the window handle's value, a message
// number is the window message number.
#include <cstdint>

namespace quill::platform {

// A window handle's value; 0 means "no window".
using WindowId = std::uintptr_t;
// A data handle handed to or taken from the clipboard (a global memory block,
// an enhanced metafile, a bitmap, ...); nullptr means "no data".
using DataHandle = void*;

using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

namespace msg {
constexpr unsigned kRenderFormat = 0x0305;      // WM_RENDERFORMAT
constexpr unsigned kRenderAllFormats = 0x0306;  // WM_RENDERALLFORMATS
constexpr unsigned kDestroyClipboard = 0x0307;  // WM_DESTROYCLIPBOARD
constexpr unsigned kDrawClipboard = 0x0308;     // WM_DRAWCLIPBOARD
constexpr unsigned kChangeCbChain = 0x030D;     // WM_CHANGECBCHAIN
constexpr unsigned kClipboardUpdate = 0x031D;   // WM_CLIPBOARDUPDATE
constexpr unsigned kUser = 0x0400;              // WM_USER
}  // namespace msg

// Standard clipboard format numbers.
namespace cf {
constexpr unsigned kText = 1;
constexpr unsigned kBitmap = 2;
constexpr unsigned kMetafilePict = 3;
constexpr unsigned kOemText = 7;
constexpr unsigned kDib = 8;
constexpr unsigned kPalette = 9;
constexpr unsigned kUnicodeText = 13;
constexpr unsigned kEnhMetafile = 14;
constexpr unsigned kHDrop = 15;
constexpr unsigned kLocale = 16;
constexpr unsigned kDibV5 = 17;
constexpr unsigned kDspBitmap = 0x82;
constexpr unsigned kDspEnhMetafile = 0x8E;
}  // namespace cf

}  // namespace quill::platform
