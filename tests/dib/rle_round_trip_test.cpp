// Property tests: random images of many sizes, textures and row orders
// encode to well-formed streams that decode to the same pixels. Seeded, so
// a failure names an image that can be made again.
#include <gtest/gtest.h>

#include <random>

#include "dib_test_util.h"
#include "rle_test_util.h"

namespace quill::dib::testing {
namespace {

enum class Texture { kFlat, kRuns, kScreen, kNoise };

// Pixels (or 4-bit pairs) of one kind of picture; pad bits stay zero, which
// is what the decoders write there.
Bytes RandomBlock(std::mt19937& rng, int width, int height, int bits, Texture texture) {
  const auto stride = static_cast<std::size_t>(RowStride(width, bits));
  Bytes block(stride * static_cast<std::size_t>(height), 0);
  const unsigned levels = bits == 8 ? 256 : 16;
  std::uniform_int_distribution<unsigned> value(0, levels - 1);
  std::geometric_distribution<int> run_length(texture == Texture::kRuns ? 0.01 : 0.3);
  std::bernoulli_distribution text(0.15);
  unsigned current = value(rng);
  int left = 0;
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = block.data() + static_cast<std::size_t>(y) * stride;
    for (int x = 0; x < width; ++x) {
      unsigned v = 0;
      switch (texture) {
        case Texture::kFlat:
          v = current;
          break;
        case Texture::kNoise:
          v = value(rng);
          break;
        case Texture::kRuns:
          if (left-- <= 0) {
            current = value(rng);
            left = run_length(rng);
          }
          v = current;
          break;
        case Texture::kScreen:  // a background with short strokes of few colours
          v = text(rng) ? value(rng) % 4 : current;
          break;
      }
      if (bits == 8) {
        row[x] = static_cast<std::uint8_t>(v);
      } else {
        row[x / 2] = static_cast<std::uint8_t>(row[x / 2] | (x % 2 ? v : v << 4));
      }
    }
  }
  return block;
}

Bytes FlipRows(const Bytes& block, std::size_t stride) {
  Bytes flipped;
  for (std::size_t row = block.size() / stride; row-- > 0;) {
    flipped.insert(flipped.end(), block.begin() + static_cast<std::ptrdiff_t>(row * stride),
                   block.begin() + static_cast<std::ptrdiff_t>((row + 1) * stride));
  }
  return flipped;
}

// Encodes and decodes; returns false when the image did not compress.
bool RoundTrip(int width, int height, int bits, const Bytes& block) {
  SCOPED_TRACE(::testing::Message() << width << " x " << height << ", " << bits << " bits");
  const TDIBInfo source = RgbImage(width, height, bits, block);
  TDIBInfo encoded;
  try {
    encoded = bits == 8 ? Convert8BitRGBTo8BitRLE(source) : Convert4BitRGBTo4BitRLE(source);
  } catch (const EKvDIBCompressionFailed&) {
    return false;
  }
  const int rows = height < 0 ? -height : height;
  EXPECT_EQ(encoded.Header.biHeight, rows);
  EXPECT_LE(encoded.ImageSize, source.ImageSize);
  EXPECT_EQ(StreamProblem(Block(encoded), width, rows, bits), "");
  const TDIBInfo decoded =
      bits == 8 ? Convert8BitRLETo8BitRGB(encoded) : Convert4BitRLETo4BitRGB(encoded);
  const Bytes expected =
      height < 0 ? FlipRows(block, static_cast<std::size_t>(source.Stride())) : block;
  EXPECT_EQ(Block(decoded), expected);
  EXPECT_EQ(Block(source), block);
  return true;
}

class RleRoundTrip : public ::testing::TestWithParam<int> {};

TEST_P(RleRoundTrip, RandomImagesSurviveEncodeAndDecode) {
  const int bits = GetParam();
  std::mt19937 rng(20240 + static_cast<unsigned>(bits));
  std::vector<int> widths;
  for (int w = 1; w <= 40; ++w) widths.push_back(w);
  for (int w :
       {63, 64, 65, 127, 128, 129, 253, 254, 255, 256, 257, 258, 300, 509, 510, 511, 1000}) {
    widths.push_back(w);
  }
  int compressed = 0, failed = 0;
  for (int width : widths) {
    for (int height : {1, 2, 3, 7, 16}) {
      for (Texture texture : {Texture::kFlat, Texture::kRuns, Texture::kScreen, Texture::kNoise}) {
        const int h = rng() % 2 ? height : -height;
        const Bytes block = RandomBlock(rng, width, h < 0 ? -h : h, bits, texture);
        if (RoundTrip(width, h, bits, block)) {
          ++compressed;
        } else {
          ++failed;
          // Flat images of a useful size always fit.
          EXPECT_FALSE(texture == Texture::kFlat && width >= 16)
              << width << " x " << h << " flat did not compress";
        }
        if (HasFailure()) return;
      }
    }
  }
  // Both outcomes must actually have been exercised.
  EXPECT_GT(compressed, 300);
  EXPECT_GT(failed, 30);
}

INSTANTIATE_TEST_SUITE_P(Bits, RleRoundTrip, ::testing::Values(8, 4),
                         [](const auto& info) { return "Rle" + std::to_string(info.param); });

}  // namespace
}  // namespace quill::dib::testing
