#pragma once
// Storage files shaped like the recorder's own, made directly with the
// compound-file calls: N records of short texts, or mixed records (texts,
// 1920 x 1080 pictures, drawings). Each record holds the formats the
// system offers for such a copy, and its Header.
#include <objbase.h>
#include <windows.h>
#include <wrl/client.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/comma_text.h"

namespace quill::bench {

// Short texts; texts with pictures and drawings; texts of 1 KB each; short
// texts held only in the system's code page, as files saved before the
// recorder was written hold them.
enum class Mix { kText, kMixed, kLongText, kAnsiText };

inline void AddStream(IStorage& record, unsigned format, const void* bytes, std::size_t size) {
  Microsoft::WRL::ComPtr<IStream> stream;
  if (record.CreateStream(std::to_wstring(format).c_str(),
                          STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_WRITE, 0, 0, &stream) != S_OK)
    return;
  ULONG written = 0;
  stream->Write(bytes, static_cast<ULONG>(size), &written);
}

inline std::vector<std::uint8_t> PictureBlock(int width, int height, int seed) {
  const int stride = (width * 3 + 3) & ~3;
  std::vector<std::uint8_t> block(sizeof(BITMAPINFOHEADER) + static_cast<std::size_t>(stride) *
                                                                 static_cast<std::size_t>(height));
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  std::memcpy(block.data(), &header, sizeof header);
  std::uint8_t* pixels = block.data() + sizeof header;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < stride; ++x)
      pixels[y * stride + x] = static_cast<std::uint8_t>((x / 7 + y / 5 + seed) * 37);
  return block;
}

inline std::vector<std::uint8_t> DrawingBytes(int seed) {
  const HDC dc = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
  for (int i = 0; i < 20; ++i) ::Rectangle(dc, i * 10 + seed % 50, i * 5, i * 10 + 80, i * 5 + 40);
  const HENHMETAFILE metafile = ::CloseEnhMetaFile(dc);
  std::vector<std::uint8_t> bytes(::GetEnhMetaFileBits(metafile, 0, nullptr));
  ::GetEnhMetaFileBits(metafile, static_cast<UINT>(bytes.size()), bytes.data());
  ::DeleteEnhMetaFile(metafile);
  return bytes;
}

// Makes the file, in 512-byte sectors (as older programs write them) or in
// 4096-byte ones (as the recorder does now); false if it could not be
// written.
inline bool MakeSampleStorage(const std::wstring& path, int records, Mix mix,
                              unsigned sector_size = 512) {
  Microsoft::WRL::ComPtr<IStorage> root;
  STGOPTIONS options = {};
  options.usVersion = 1;
  options.ulSectorSize = sector_size;
  if (::StgCreateStorageEx(path.c_str(), STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_READWRITE,
                           STGFMT_DOCFILE, 0, &options, nullptr, IID_IStorage,
                           reinterpret_cast<void**>(root.GetAddressOf())) != S_OK)
    return false;
  const std::vector<std::uint8_t> picture =
      mix == Mix::kMixed ? PictureBlock(1920, 1080, 3) : std::vector<std::uint8_t>();
  const std::vector<std::uint8_t> drawing =
      mix == Mix::kMixed ? DrawingBytes(7) : std::vector<std::uint8_t>();
  for (int n = 1; n <= records; ++n) {
    Microsoft::WRL::ComPtr<IStorage> record;
    if (root->CreateStorage(std::to_wstring(n).c_str(),
                            STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_WRITE, 0, 0, &record) != S_OK)
      return false;
    std::vector<std::string> header = {"2026/12/08 10:00:00"};
    // One record in ten a picture and one a drawing; the rest texts.
    if (mix == Mix::kMixed && n % 10 == 5) {
      AddStream(*record.Get(), CF_DIB, picture.data(), picture.size());
      header.push_back("CF_DIB");
    } else if (mix == Mix::kMixed && n % 10 == 0) {
      AddStream(*record.Get(), CF_ENHMETAFILE, drawing.data(), drawing.size());
      header.push_back("CF_ENHMETAFILE");
    } else {
      std::string text = "Record " + std::to_string(n) + ": a short text copied earlier";
      if (mix == Mix::kLongText) {
        while (text.size() < 1024) text += " and a line more of what was copied,\r\n";
        text.resize(1024);
      }
      if (mix == Mix::kAnsiText) {
        AddStream(*record.Get(), CF_TEXT, text.c_str(), text.size() + 1);
        header.push_back("CF_TEXT");
      } else {
        std::wstring wide(text.begin(), text.end());
        const LCID locale = 0x0411;
        AddStream(*record.Get(), CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
        AddStream(*record.Get(), CF_LOCALE, &locale, sizeof locale);
        AddStream(*record.Get(), CF_TEXT, text.c_str(), text.size() + 1);
        AddStream(*record.Get(), CF_OEMTEXT, text.c_str(), text.size() + 1);
        header.insert(header.end(), {"CF_UNICODETEXT", "CF_LOCALE", "CF_TEXT", "CF_OEMTEXT"});
      }
    }
    const std::string index = core::WriteCommaText(header);
    Microsoft::WRL::ComPtr<IStream> stream;
    if (record->CreateStream(L"Header", STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_WRITE, 0, 0,
                             &stream) != S_OK)
      return false;
    ULONG written = 0;
    stream->Write(index.data(), static_cast<ULONG>(index.size()), &written);
  }
  return true;
}

}  // namespace quill::bench
