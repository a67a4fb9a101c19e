#include "exchange/win32/win32_metafiles.h"

#include <windows.h>

#include <memory>
#include <type_traits>

namespace quill::exchange {
namespace {

struct DeleteEnhMetafile {
  void operator()(HENHMETAFILE metafile) const { ::DeleteEnhMetaFile(metafile); }
};
using UniqueEnhMetafile = std::unique_ptr<std::remove_pointer_t<HENHMETAFILE>, DeleteEnhMetafile>;

struct ScreenDC {
  HDC dc = ::GetDC(nullptr);
  ~ScreenDC() {
    if (dc) ::ReleaseDC(nullptr, dc);
  }
};

}  // namespace

std::vector<std::uint8_t> Win32Metafiles::WindowsToEnhanced(std::span<const std::uint8_t> records,
                                                            const PlaceableBox& box) {
  // The picture's extent in 0.01 mm makes the box the enhanced metafile's
  // frame.
  const FrameSize frame = BoxFrame(box);
  METAFILEPICT picture = {MM_ANISOTROPIC, frame.width, frame.height, nullptr};
  const UniqueEnhMetafile metafile(
      ::SetWinMetaFileBits(static_cast<UINT>(records.size()), records.data(), nullptr, &picture));
  if (!metafile) return {};
  const UINT size = ::GetEnhMetaFileBits(metafile.get(), 0, nullptr);
  std::vector<std::uint8_t> bytes(size);
  if (size == 0 || ::GetEnhMetaFileBits(metafile.get(), size, bytes.data()) != size) return {};
  return bytes;
}

std::vector<std::uint8_t> Win32Metafiles::EnhancedToWindows(std::span<const std::uint8_t> emf) {
  const UniqueEnhMetafile metafile(::SetEnhMetaFileBits(static_cast<UINT>(emf.size()), emf.data()));
  if (!metafile) return {};
  ScreenDC screen;
  const UINT size = ::GetWinMetaFileBits(metafile.get(), 0, nullptr, MM_ANISOTROPIC, screen.dc);
  std::vector<std::uint8_t> bytes(size);
  if (size == 0 ||
      ::GetWinMetaFileBits(metafile.get(), size, bytes.data(), MM_ANISOTROPIC, screen.dc) != size)
    return {};
  return bytes;
}

}  // namespace quill::exchange
