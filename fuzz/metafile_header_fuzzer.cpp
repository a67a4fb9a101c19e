// Feeds arbitrary files to the metafile check. Whatever it accepts must lie
// within the file: an enhanced metafile no longer than the file and at least
// a header long, a placeable one whose records' own size fits what follows
// the header; and the placeable header written for any frame must be
// accepted again with its box.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "exchange/metafile_format.h"

namespace {

using quill::exchange::MetafileKind;

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A copy of exactly `size` bytes, so that ASan sees any read past the end.
  const std::vector<std::uint8_t> file(data, data + size);
  const auto content = quill::exchange::ParseMetafile(file);
  switch (content.kind) {
    case MetafileKind::kEnhanced:
      Require(content.bytes.data() == file.data());
      Require(content.bytes.size() >= 100 && content.bytes.size() <= size);
      break;
    case MetafileKind::kPlaceable:
      Require(content.bytes.data() == file.data() + quill::exchange::kPlaceableHeaderSize);
      Require(content.bytes.size() >= 18);
      break;
    case MetafileKind::kInvalid:
      Require(content.bytes.empty());
      break;
  }
  if (size >= 8) {
    std::int32_t width, height;
    std::memcpy(&width, data, 4);
    std::memcpy(&height, data + 4, 4);
    const auto header = quill::exchange::PlaceableHeader({width, height});
    std::vector<std::uint8_t> placeable(header.begin(), header.end());
    // A header of its own and the end record: the smallest Windows metafile.
    const std::uint8_t records[] = {1, 0, 9, 0, 0, 3, 12, 0, 0, 0, 0, 0,
                                    3, 0, 0, 0, 0, 0, 3,  0, 0, 0, 0, 0};
    placeable.insert(placeable.end(), std::begin(records), std::end(records));
    const auto again = quill::exchange::ParseMetafile(placeable);
    Require(again.kind == MetafileKind::kPlaceable);
    Require(again.box.inch == 96 && again.box.left == 0 && again.box.top == 0);
  }
  return 0;
}
