// Drives the format filter with edits of captions and ticks and with
// formats to name and to filter, all taken from the input, and holds every
// answer to a plain model of the rules: every format passes while "all" is
// ticked; a standard format passes by its own tick; another one only by the
// "other" tick and a name equal to that caption. A standard format is listed
// under its caption's first 40 bytes, and a Header gives every name back.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/comma_text.h"
#include "core/format_filter.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

struct Input {
  const std::uint8_t* data;
  std::size_t size;
  std::uint8_t Byte() { return size ? (--size, *data++) : 0; }
  std::string Bytes(std::size_t n) {
    n = std::min(n, size);
    std::string out(reinterpret_cast<const char*>(data), n);
    data += n;
    size -= n;
    return out;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using quill::core::FormatFilter;
  const std::string all = "(\x82\xB7\x82\xD7\x82\xC4)", other = "\x82\xBB\x82\xCC\x91\xBC";
  FormatFilter filter(all, other);
  std::array<std::string, FormatFilter::kEntries> captions = {
      all,       "Text",   "Bitmap",  "MetaFile",    "SYLK",
      "DIF",     "TIFF",   "OEMText", "DIB",         "Palette",
      "PenData", "RIFF",   "Wave",    "UniCodeText", "EnhancedMetaFile",
      "hDrop",   "Locale", other};
  std::array<bool, FormatFilter::kEntries> flags{true};

  Input in{data, size};
  while (in.size) {
    const std::uint8_t op = in.Byte();
    if (op % 3 == 0) {  // edit a caption; entries out of range change nothing
      const int entry = in.Byte() % 24 - 3;
      std::string caption = in.Bytes(in.Byte() % 48);
      if (entry >= 0 && entry < FormatFilter::kEntries) captions[entry] = caption;
      filter.SetCaption(entry, std::move(caption));
    } else if (op % 3 == 1) {  // tick or untick an entry
      const int entry = in.Byte() % FormatFilter::kEntries;
      flags[entry] = op & 0x80;
      filter.SetFlag(entry, flags[entry]);
    } else {  // name and filter a format
      unsigned format = in.Byte();
      if (op & 0x80) format = format << 8 | in.Byte();
      const std::string registered = in.Bytes(in.Byte() % 48);
      const bool standard = format >= 1 && format <= 16;
      const std::string name = filter.NameOf(format, registered);
      Require(name == (standard ? captions[format].substr(0, 40) : registered));
      const bool passes = flags[FormatFilter::kAll] ||
                          (standard ? flags[format]
                                    : format > 16 && flags[FormatFilter::kOther] &&
                                          registered == captions[FormatFilter::kOther]);
      Require(filter.Passes(format, registered) == passes);
      // A record lists the name in its Header, where the display menu reads
      // it back to match it with the captions.
      const auto header = quill::core::ReadCommaText(quill::core::WriteCommaText({"date", name}));
      Require(header.size() == 2 && (name.find('\0') != std::string::npos || header[1] == name));
    }
  }
  for (int i = 0; i < FormatFilter::kEntries; ++i)
    Require(filter.Caption(i) == captions[i] && filter.Flag(i) == flags[i]);
  return 0;
}
