#include "dib/kv_halftone.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "dib/kv_convert_common.h"
#include "dib/kv_errors.h"

namespace quill::dib {

namespace {

// Desired values stay within these bounds (the diffusion takes back less
// than it spreads); the look-up clamps all the same.
constexpr int kLowest = -256;
constexpr int kHighest = 512;
constexpr std::size_t kLookUpSize = kHighest - kLowest + 1;

// Level index of each desired value: the first level whose upper bound is
// not below it.
template <std::size_t N>
constexpr std::array<std::uint8_t, kLookUpSize> MakeLookUp(const std::array<int, N>& upper) {
  std::array<std::uint8_t, kLookUpSize> table{};
  for (int d = kLowest; d <= kHighest; ++d) {
    std::uint8_t index = 0;
    while (index < N && d > upper[index]) ++index;
    table[static_cast<std::size_t>(d - kLowest)] = index;
  }
  return table;
}

constexpr auto kRedIndex = MakeLookUp(std::array<int, 5>{25, 76, 127, 178, 230});
constexpr auto kGreenIndex = MakeLookUp(std::array<int, 6>{21, 63, 106, 149, 192, 233});
constexpr auto kBlueIndex = MakeLookUp(std::array<int, 4>{31, 95, 159, 223});

inline std::size_t LookUp(int d) {
  return static_cast<std::size_t>(std::clamp(d, kLowest, kHighest) - kLowest);
}

struct Triple {
  int c[3] = {0, 0, 0};  // red, green, blue
};

// Calls `quantise(out_row, x, desired)` for every pixel in serpentine order
// (even rows left to right, odd rows right to left, row 0 first); it stores
// the pixel and returns the error each channel leaves behind.
template <class Read, class Quantise>
void Diffuse(const TDIBInfo& source, TDIBInfo& dest, Read read, Quantise quantise) {
  const std::int64_t width = source.Header.biWidth;
  const std::int64_t source_stride = source.Stride();
  const std::int64_t dest_stride = dest.Stride();
  // Entry k + 1 belongs to pixel k; entries 0 and width + 1 stay zero.
  std::vector<Triple> current(static_cast<std::size_t>(width + 2));
  std::vector<Triple> previous(current.size());
  const std::uint8_t* in = source.Bits();
  std::uint8_t* out = dest.Bits();
  for (std::int32_t y = 0; y < source.AbsHeight(); ++y, in += source_stride, out += dest_stride) {
    // Every entry of the current line is written before it is read again.
    std::swap(previous, current);
    Triple last;
    const bool forward = y % 2 == 0;
    for (std::int64_t step = 0; step < width; ++step) {
      const std::int64_t x = forward ? step : width - 1 - step;
      const Triple colour = read(in, x);
      const Triple& above = previous[static_cast<std::size_t>(x + 1)];
      const Triple& behind = previous[static_cast<std::size_t>(forward ? x : x + 2)];
      Triple desired;
      for (int k = 0; k < 3; ++k) {
        const int spread = 12 * above.c[k] + 12 * last.c[k] + 5 * behind.c[k];
        desired.c[k] = colour.c[k] - spread / 32;  // truncates toward zero
      }
      last = quantise(out, x, desired);
      current[static_cast<std::size_t>(x + 1)] = last;
    }
  }
}

Triple FromEntry(const TRGBQuad& e) { return Triple{{e.rgbRed, e.rgbGreen, e.rgbBlue}}; }

// Runs `Diffuse` with the reader for the source's bit count.
template <class Quantise>
void DiffuseAny(const TDIBInfo& source, TDIBInfo& dest, Quantise quantise) {
  const auto& table = source.ColorTable;
  switch (source.Header.biBitCount) {
    case 1:
      Diffuse(
          source, dest,
          [&table](const std::uint8_t* row, std::int64_t x) {
            return FromEntry(table[Pixel1(row, x)]);
          },
          quantise);
      break;
    case 4:
      Diffuse(
          source, dest,
          [&table](const std::uint8_t* row, std::int64_t x) {
            return FromEntry(table[Pixel4(row, x)]);
          },
          quantise);
      break;
    case 8:
      Diffuse(
          source, dest,
          [&table](const std::uint8_t* row, std::int64_t x) { return FromEntry(table[row[x]]); },
          quantise);
      break;
    default:
      Diffuse(
          source, dest,
          [](const std::uint8_t* row, std::int64_t x) {
            const std::uint8_t* p = row + 3 * x;
            return Triple{{p[2], p[1], p[0]}};
          },
          quantise);
      break;
  }
}

void RequireHalfToneInput(const TDIBInfo& source, const char* routine) {
  if (source.Header.biCompression != kBiRgb) {
    throw EKvDIBAssert(std::string(routine) + ": Invalid DIB Format");
  }
  const int bits = source.Header.biBitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24) {
    throw EKvDIBAssert(std::string(routine) + ": Invalid Bit Count");
  }
  RequirePixelBlock(source, routine);
}

}  // namespace

TDIBInfo ConvertToHalfTone(const TDIBInfo& source) {
  RequireHalfToneInput(source, "ConvertToHalfTone");
  TDIBInfo dest = NewConvertedImage(source, 8);
  dest.ColorTable.fill(TRGBQuad{});
  std::copy(HalfTonePalette.begin(), HalfTonePalette.end(), dest.ColorTable.begin());
  dest.Header.biClrUsed = kHalfTonePaletteSize;
  DiffuseAny(source, dest, [](std::uint8_t* row, std::int64_t x, const Triple& d) {
    const std::uint8_t ir = kRedIndex[LookUp(d.c[0])];
    const std::uint8_t ig = kGreenIndex[LookUp(d.c[1])];
    const std::uint8_t ib = kBlueIndex[LookUp(d.c[2])];
    row[x] = static_cast<std::uint8_t>(35 * ir + 5 * ig + ib);
    return Triple{{kHalfToneRedLevels[ir] - d.c[0], kHalfToneGreenLevels[ig] - d.c[1],
                   kHalfToneBlueLevels[ib] - d.c[2]}};
  });
  return dest;
}

TDIBInfo ConvertToHalfToneBW(const TDIBInfo& source) {
  RequireHalfToneInput(source, "ConvertToHalfToneBW");
  TDIBInfo dest = NewConvertedImage(source, 1);
  SetBlackWhiteTable(dest);
  DiffuseAny(source, dest, [](std::uint8_t* row, std::int64_t x, const Triple& d) {
    if (d.c[0] + d.c[1] + d.c[2] >= 384) {
      row[x >> 3] |= static_cast<std::uint8_t>(0x80u >> (x & 7));
      return Triple{{255 - d.c[0], 255 - d.c[1], 255 - d.c[2]}};
    }
    return Triple{{-d.c[0], -d.c[1], -d.c[2]}};
  });
  return dest;
}

}  // namespace quill::dib
