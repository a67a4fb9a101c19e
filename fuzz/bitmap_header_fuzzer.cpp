// Feeds arbitrary bytes to the rewriting of bitmap files with the 108- and
// 124-byte headers, then to the bitmap reader. Only those two header sizes
// are rewritten, always to the 40-byte header; the reader then accepts the
// result with its invariants or refuses it with its own error.
#include <cstdint>
#include <vector>

#include "dib/kv_dib.h"
#include "dib/kv_dib_header.h"
#include "dib/kv_errors.h"
#include "dib/kv_stream.h"
#include "dib_invariants.h"
#include "exchange/bitmap_header.h"

namespace {

using quill::fuzz::Require;
namespace dib = quill::dib;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const bool longer = size >= 18 && data[0] == 'B' && data[1] == 'M' &&
                      (dib::GetU32(data + 14) == 108 || dib::GetU32(data + 14) == 124);
  std::optional<std::vector<std::uint8_t>> file;
  try {
    file = quill::exchange::WithInfoHeader({data, size});
  } catch (const dib::EReadError&) {
    Require(longer);
    return 0;
  }
  Require(file.has_value() == longer);
  if (!file) return 0;
  Require(file->size() >= 54 && dib::GetU32(file->data() + 14) == 40);
  Require(file->size() <= size);

  dib::TKvDIB picture;
  dib::MemoryStream stream(std::move(*file));
  try {
    picture.LoadFromStream(stream);
  } catch (const dib::Exception&) {
    quill::fuzz::CheckDefaultImage(picture);
    return 0;
  }
  quill::fuzz::CheckInvariants(picture);
  return 0;
}
