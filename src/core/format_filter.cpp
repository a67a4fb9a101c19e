#include "core/format_filter.h"

namespace quill::core {
namespace {

constexpr std::size_t kMaxStandardName = 40;

}  // namespace

FormatFilter::FormatFilter(std::string all, std::string other)
    : captions_{std::move(all), "Text",   "Bitmap",        "MetaFile",    "SYLK",
                "DIF",          "TIFF",   "OEMText",       "DIB",         "Palette",
                "PenData",      "RIFF",   "Wave",          "UniCodeText", "EnhancedMetaFile",
                "hDrop",        "Locale", std::move(other)} {
  flags_[kAll] = true;
}

void FormatFilter::SetCaption(int entry, std::string caption) {
  if (entry >= 0 && entry < kEntries) captions_[entry] = std::move(caption);
}

std::string FormatFilter::NameOf(unsigned format, const std::string& registered_name) const {
  if (format >= 1 && format <= 16) return captions_[format].substr(0, kMaxStandardName);
  return registered_name;
}

bool FormatFilter::Passes(unsigned format, const std::string& name) const {
  if (flags_[kAll]) return true;
  if (format >= 1 && format <= 16) return flags_[format];
  return format > 16 && flags_[kOther] && name == captions_[kOther];
}

}  // namespace quill::core
