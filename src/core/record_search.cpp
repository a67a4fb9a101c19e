// Finding the record whose text holds a given text, read from the storage
// alone: nothing goes over the clipboard and nothing is recorded.
#include <algorithm>
#include <cstring>

#include "core/element_name.h"
#include "core/record_text.h"
#include "core/recorder.h"
#include "core/storage_modes.h"
#include "core/text_search.h"

namespace quill::core {

using platform::kOk;

void KeepText(unsigned format, std::span<const std::uint8_t> bytes, RecordText& text,
              std::size_t limit) {
  if (format == platform::cf::kUnicodeText) {
    std::size_t length = 0;
    while (length < bytes.size() / 2 && (bytes[2 * length] | bytes[2 * length + 1]) != 0) ++length;
    text.unicode.resize(std::min(length, limit));
    if (!text.unicode.empty())
      std::memcpy(text.unicode.data(), bytes.data(), text.unicode.size() * 2);
    text.whole = text.whole && length <= limit;
  } else if (format == platform::cf::kText) {
    const auto* chars = reinterpret_cast<const char*>(bytes.data());
    // An empty stream has no bytes to look at, not even a pointer to them.
    const std::size_t length = bytes.empty() ? 0 : strnlen(chars, bytes.size());
    text.ansi.assign(chars, std::min(length, limit));
    text.whole = text.whole && length <= limit;
  }
}

namespace {

void ReadText(platform::Storage& record, unsigned format, RecordText& text) {
  std::unique_ptr<platform::Stream> stream;
  if (record.OpenStream(ElementName(static_cast<std::int32_t>(format)), mode::kOpenForReading,
                        stream) != kOk)
    return;
  std::string bytes;
  char buffer[8192];
  std::uint32_t read = 0;
  while (stream->Read(buffer, sizeof buffer, &read) == kOk && read > 0) bytes.append(buffer, read);
  KeepText(format, {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, text,
           bytes.size());
}

}  // namespace

bool Recorder::RecordHolds(std::int32_t n, std::u16string_view what, bool match_case,
                           const TextDecoder& decode) {
  // The text as kept where it is kept whole; otherwise read whole, only
  // for this look, and kept in part.
  RecordText read;
  const RecordText* text = nullptr;
  const auto known = record_texts_.find(n);
  if (known != record_texts_.end() && known->second.whole) {
    text = &known->second;
  } else {
    std::unique_ptr<platform::Storage> record;
    if (!root_ || root_->OpenStorage(ElementName(n), mode::kOpenForReading, record) != kOk)
      return false;
    ReadText(*record, platform::cf::kUnicodeText, read);
    if (read.unicode.empty()) ReadText(*record, platform::cf::kText, read);
    text = &read;
    if (known == record_texts_.end()) {
      RecordText kept;
      KeepText(
          platform::cf::kUnicodeText,
          {reinterpret_cast<const std::uint8_t*>(read.unicode.data()), read.unicode.size() * 2},
          kept);
      KeepText(platform::cf::kText,
               {reinterpret_cast<const std::uint8_t*>(read.ansi.data()), read.ansi.size()}, kept);
      record_texts_.emplace(n, std::move(kept));
    }
  }
  // The Unicode text where the record has it, the text in the system's code
  // page otherwise.
  if (!text->unicode.empty()) return ContainsText(text->unicode, what, match_case);
  return !text->ansi.empty() && ContainsText(decode(text->ansi), what, match_case);
}

int Recorder::FindRecord(std::u16string_view what, bool match_case, bool down,
                         const TextDecoder& decode) {
  const int count = std::max(record_count_, current_no_);
  if (count < 1 || what.empty()) return 0;
  // After the current record in the direction asked, round to the current
  // record itself.
  int n = current_no_;
  for (int step = 0; step < count; ++step) {
    n = down ? (n % count) + 1 : (n > 1 ? n - 1 : count);
    if (RecordHolds(n, what, match_case, decode)) return n;
  }
  return 0;
}

}  // namespace quill::core
