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

void KeepText(unsigned format, std::span<const std::uint8_t> bytes, RecordText& text) {
  if (format == platform::cf::kUnicodeText) {
    std::u16string unicode(bytes.size() / 2, u'\0');
    std::memcpy(unicode.data(), bytes.data(), unicode.size() * 2);
    text.unicode = unicode.substr(0, unicode.find(u'\0'));
  } else if (format == platform::cf::kText) {
    const std::string ansi(bytes.begin(), bytes.end());
    text.ansi = ansi.substr(0, ansi.find('\0'));
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
  KeepText(format, {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, text);
}

}  // namespace

bool Recorder::RecordHolds(std::int32_t n, std::u16string_view what, bool match_case,
                           const TextDecoder& decode) {
  auto known = record_texts_.find(n);
  if (known == record_texts_.end()) {
    std::unique_ptr<platform::Storage> record;
    if (!root_ || root_->OpenStorage(ElementName(n), mode::kOpenForReading, record) != kOk)
      return false;
    RecordText text;
    ReadText(*record, platform::cf::kUnicodeText, text);
    if (text.unicode.empty()) ReadText(*record, platform::cf::kText, text);
    known = record_texts_.emplace(n, std::move(text)).first;
  }
  // The Unicode text where the record has it, the text in the system's code
  // page otherwise.
  const RecordText& text = known->second;
  if (!text.unicode.empty()) return ContainsText(text.unicode, what, match_case);
  return !text.ansi.empty() && ContainsText(decode(text.ansi), what, match_case);
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
