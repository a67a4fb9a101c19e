// Writing a record from the clipboard and putting a record back on it; the
// formatted write, which does both.
#include <cstring>
#include <new>
#include <optional>
#include <span>

#include "core/comma_text.h"
#include "core/element_name.h"
#include "core/header_date.h"
#include "core/recorder.h"
#include "core/storage_modes.h"
#include "platform/clipboard_guards.h"

namespace quill::core {

using platform::kOk;
namespace cf = platform::cf;

namespace {

constexpr char16_t kHeaderStream[] = u"Header";

// Formats by which a copying program asks clipboard history tools not to
// keep what it copied (passwords and the like).
constexpr const char* kExcludeFromMonitoring = "ExcludeClipboardContentFromMonitorProcessing";
constexpr const char* kViewerIgnore = "Clipboard Viewer Ignore";
constexpr const char* kIncludeInHistory = "CanIncludeInClipboardHistory";

// The name listed for a format numbered 17 or above that has no
// registered name: its number, so that the list keeps one item per format.
std::string UnnamedFormat(unsigned format) { return "#" + std::to_string(format); }

// Formats whose data is a drawing object, not a memory block: they are not
// kept, and asking for them would make the system build one (a bitmap of
// a copied screenshot costs tens of milliseconds) only to drop it.
bool IsGdiHandleFormat(unsigned format) {
  return format == cf::kBitmap || format == cf::kPalette || format == cf::kDspBitmap ||
         format == cf::kDspEnhMetafile;
}

bool WriteAll(platform::Stream& stream, const void* bytes, std::size_t size) {
  std::uint32_t written = 0;
  return stream.Write(bytes, static_cast<std::uint32_t>(size), &written) == kOk && written == size;
}

// Removes every element of a record, its Header first.
void EmptyRecord(platform::Storage& record) {
  std::vector<std::u16string> names;
  {
    std::unique_ptr<platform::ElementEnumerator> elements;
    if (record.EnumElements(elements) != kOk) return;
    platform::ElementStat element;
    while (elements->Next(element) == kOk) names.push_back(element.name);
  }
  record.DestroyElement(kHeaderStream);
  for (const std::u16string& name : names)
    if (name != kHeaderStream) record.DestroyElement(name);
}

bool ReadAll(platform::Stream& stream, void* bytes, std::uint32_t size) {
  std::uint32_t read = 0;
  return stream.Read(bytes, size, &read) == kOk && read == size;
}

}  // namespace

Recorder::Privacy Recorder::ContentPrivacy() {
  for (const char* name : {kExcludeFromMonitoring, kViewerIgnore}) {
    const unsigned format = clipboard_.RegisterFormat(name);
    if (format && clipboard_.IsFormatAvailable(format)) return Privacy::kPrivate;
  }
  const unsigned history = clipboard_.RegisterFormat(kIncludeInHistory);
  if (!history || !clipboard_.IsFormatAvailable(history)) return Privacy::kPublic;
  platform::ClipboardSession session(clipboard_, window_);
  if (!session.is_open()) return Privacy::kHeld;
  // Announced but unreadable counts as a refusal: better to keep nothing.
  platform::GlobalView view(clipboard_, clipboard_.GetData(history));
  if (!view.locked() || view.bytes().size() < 4) return Privacy::kPrivate;
  const auto b = view.bytes();
  return (b[0] | b[1] | b[2] | b[3]) == 0 ? Privacy::kPrivate : Privacy::kPublic;
}

Recorder::Reading Recorder::TakeClipboardFormats(std::vector<TakenFormat>& taken) {
  taken.clear();
  const Privacy privacy = ContentPrivacy();
  if (privacy == Privacy::kHeld) return Reading::kHeld;
  if (privacy == Privacy::kPrivate) {
    examined_sequence_ = clipboard_.SequenceNumber();
    return Reading::kRead;
  }
  platform::ClipboardSession session(clipboard_, window_);
  if (!session.is_open()) return Reading::kHeld;
  // The state read is the one the clipboard has while we hold it open.
  examined_sequence_ = clipboard_.SequenceNumber();
  // A block too large for our memory: a record without it would be a
  // silently changed copy, so nothing is recorded and the stored records
  // stay as they are.
  try {
    if (!TakeOpenClipboard(taken)) taken.clear();
  } catch (const std::bad_alloc&) {
    taken.clear();
  }
  return Reading::kRead;
}

bool Recorder::TakeOpenClipboard(std::vector<TakenFormat>& taken) {
  for (unsigned format = clipboard_.EnumFormats(0); format != 0;
       format = clipboard_.EnumFormats(format)) {
    if (format == cf::kMetafilePict) continue;
    std::string name = filter_.NameOf(format, format > 16 ? clipboard_.GetFormatName(format) : "");
    if (format > 16 && name.empty()) name = UnnamedFormat(format);
    if (!filter_.Passes(format, name) || IsGdiHandleFormat(format)) continue;
    const platform::DataHandle data = clipboard_.GetData(format);
    if (!data) continue;
    std::span<const std::uint8_t> bytes;
    std::vector<std::uint8_t> metafile;
    std::optional<platform::GlobalView> view;
    if (format == cf::kEnhMetafile) {
      metafile = clipboard_.GetEnhMetaFileBits(data);
      bytes = metafile;
    } else {
      // Only global memory blocks are kept; bitmaps and palettes are not.
      view.emplace(clipboard_, data);
      if (view->locked()) bytes = view->bytes();
    }
    if (bytes.empty()) continue;
    // Not zero-filled first (a copied screenshot is megabytes), and a
    // failure is an answer, not an exception.
    TakenFormat f = {format, std::move(name),
                     std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[bytes.size()]),
                     bytes.size()};
    if (!f.bytes) return false;
    std::memcpy(f.bytes.get(), bytes.data(), bytes.size());
    taken.push_back(std::move(f));
  }
  return true;
}

RecordKind Recorder::WriteRecord(std::int32_t n, std::string& date) {
  Reading reading = Reading::kRead;
  return WriteRecordFrom(n, date, reading);
}

RecordKind Recorder::WriteRecordFrom(std::int32_t n, std::string& date, Reading& reading) {
  reading = Reading::kRead;
  if (!root_) return kNoRecord;
  // Read first: a capture that takes nothing leaves an older record of the
  // same number as it was.
  std::vector<TakenFormat> taken;
  reading = TakeClipboardFormats(taken);
  if (taken.empty()) return kNoRecord;
  // Everything the record needs in memory is made before it is touched,
  // so that a failed allocation leaves the old record whole, never one
  // cut off half-way (loading a storage stops at a record that holds nothing).
  date = FormatHeaderDate(clock_.Now(), clock_.DateSeparator(), clock_.TimeSeparator());
  std::vector<std::string> names = {date};
  std::vector<std::u16string> stream_names;
  RecordText kept_text;
  RecordKind kind = kNoRecord;
  std::shared_ptr<const std::string> text_taken;
  for (const TakenFormat& f : taken) {
    if (f.format == cf::kText) {
      const char* bytes = reinterpret_cast<const char*>(f.bytes.get());
      text_taken = std::make_shared<const std::string>(bytes, strnlen(bytes, f.size));
    }
    names.push_back(f.name);
    stream_names.push_back(ElementName(static_cast<std::int32_t>(f.format)));
    kind = WithFormat(kind, f.format);
    KeepText(f.format, {f.bytes.get(), f.size}, kept_text);
  }
  const std::string header_text = WriteCommaText(names);
  const std::u16string record_name = ElementName(n);
  record_texts_.erase(n);
  // A record that replaces another is emptied and written anew inside its
  // own storage: the storage's siblings, the other records, are not
  // relinked, so a run cut off meanwhile can harm no other record. Its
  // Header goes first and comes back last: a record cut off while being
  // written is one without a Header.
  {
    std::unique_ptr<platform::Storage> record;
    const platform::HResult opened = root_->OpenStorage(record_name, mode::kOpenForChange, record);
    if (opened == kOk)
      EmptyRecord(*record);
    else if (opened != platform::stg_error::kFileNotFound ||
             root_->CreateStorage(record_name, mode::kCreateElement, record) != kOk)
      return kNoRecord;  // creating it anew would destroy a record that is there
    for (std::size_t i = 0; i < taken.size(); ++i) {
      std::unique_ptr<platform::Stream> stream;
      if (record->CreateStream(stream_names[i], mode::kCreateElement, stream) == kOk)
        WriteAll(*stream, taken[i].bytes.get(), taken[i].size);
    }
    std::unique_ptr<platform::Stream> header;
    if (record->CreateStream(kHeaderStream, mode::kCreateElement, header) != kOk) return kind;
    WriteAll(*header, header_text.data(), header_text.size());
  }
  // The record is whole; what follows only shows it.
  captured_text_ = std::move(text_taken);
  view_.BuildDisplayMenu(names);
  try {
    record_texts_.emplace(n, std::move(kept_text));
  } catch (const std::bad_alloc&) {
    // Not kept: a search reads the record's text from the storage.
  }
  return kind;
}

RecordKind Recorder::ReadRecord(std::int32_t n, bool announce_only, std::string& date) {
  date.clear();
  std::vector<std::string> items;
  RecordKind kind = kNoRecord;
  if (PlaceRecord(n, announce_only, kind, items) == Placed::kNoSuchRecord) return kNoRecord;
  if (!items.empty()) date = items.front();
  view_.BuildDisplayMenu(items);
  return kind;
}

Recorder::Placed Recorder::PlaceRecord(std::int32_t n, bool announce_only, RecordKind& kind,
                                       std::vector<std::string>& items) {
  return ReadRecordAs(n, announce_only ? Placing::kAnnounce : Placing::kPut, kind, items);
}

Recorder::Placed Recorder::CheckRecord(std::int32_t n, RecordKind& kind,
                                       std::vector<std::string>& items) {
  return ReadRecordAs(n, Placing::kCheck, kind, items);
}

Recorder::Placed Recorder::ReadRecordAs(std::int32_t n, Placing how, RecordKind& kind,
                                        std::vector<std::string>& items) {
  const bool announce_only = how == Placing::kAnnounce;
  kind = kNoRecord;
  items.clear();
  if (!root_) return Placed::kNoSuchRecord;
  std::unique_ptr<platform::Storage> record;
  if (root_->OpenStorage(ElementName(n), mode::kOpenForReading, record) != kOk)
    return Placed::kNoSuchRecord;
  std::unique_ptr<platform::ElementEnumerator> elements;
  if (record->EnumElements(elements) != kOk) return Placed::kDamaged;
  bool damaged = false;
  RecordText text;

  std::string index_text;
  bool changing = false;
  {
    std::optional<platform::ClipboardSession> session;
    if (how != Placing::kCheck) session.emplace(clipboard_, window_);
    // Our own change is skipped only when there will be one: if the
    // clipboard could not be taken, the next change is someone else's.
    changing = session && session->is_open() && clipboard_.Empty();
    std::vector<std::uint8_t> scratch;
    const auto placed = [&] {
      if (changing) SkipOwnChange();
    };
    platform::ElementStat element;
    while (elements->Next(element) == kOk) {
      // A stream too large for one clipboard block is left out whole, not
      // cut to a part.
      if (element.type != platform::ElementType::kStream || element.size > 0xFFFFFFFFu) continue;
      std::unique_ptr<platform::Stream> stream;
      if (record->OpenStream(element.name, mode::kOpenForReading, stream) != kOk) {
        damaged = true;
        continue;
      }
      const auto size = static_cast<std::uint32_t>(element.size);
      if (element.name == kHeaderStream) {
        std::string text(size, '\0');
        if (ReadAll(*stream, text.data(), size))
          index_text = std::move(text);
        else
          damaged = true;
        continue;
      }
      const auto format = static_cast<unsigned>(LeadingNumber(element.name) & 0xFFFF);
      kind = WithFormat(kind, format);
      if (how == Placing::kCheck) {
        // Read whole, as placing would, so that a damaged record is found.
        scratch.resize(size);
        if (size > 0 && !ReadAll(*stream, scratch.data(), size)) {
          damaged = true;
          continue;
        }
        KeepText(format, {scratch.data(), size}, text);
      } else if (announce_only) {
        clipboard_.SetData(format, nullptr);
        placed();
      } else if (format == cf::kEnhMetafile) {
        std::vector<std::uint8_t> bytes(size);
        if (!ReadAll(*stream, bytes.data(), size)) {
          damaged = true;
          continue;
        }
        platform::EnhMetafile metafile(clipboard_, bytes);
        platform::HandOver(clipboard_, format, metafile);
        placed();
      } else {
        platform::GlobalBlock block(clipboard_, size);
        if (!block) continue;
        bool read = false;
        {
          platform::GlobalView view(clipboard_, block.get());
          if (view.locked()) {
            read = ReadAll(*stream, view.bytes().data(), size);
            damaged = damaged || !read;
            if (read) KeepText(format, view.bytes(), text);
          }
        }
        if (!read) continue;
        platform::HandOver(clipboard_, format, block);
        placed();
      }
    }
  }
  // Our own content needs no reading: the notifications it raises are not
  // recorded, whichever way they come.
  if (changing) examined_sequence_ = clipboard_.SequenceNumber();
  if (!announce_only && !damaged) record_texts_[n] = std::move(text);
  items = ReadCommaText(index_text);
  return damaged ? Placed::kDamaged : Placed::kWhole;
}

RecordKind Recorder::FormattedWrite(const std::u16string& text, std::string& date) {
  date.clear();
  // Nothing to write (an empty text box): the clipboard and the record
  // stay as they are.
  if (current_no_ <= 0 || text.empty()) return kNoRecord;
  bool placed = false;
  {
    platform::ClipboardSession session(clipboard_, window_);
    if (session.is_open() && clipboard_.Empty()) {
      // The clipboard's Unicode text: UTF-16, little-endian, zero-terminated.
      platform::GlobalBlock block(clipboard_, (text.size() + 1) * 2);
      bool written = false;
      {
        platform::GlobalView view(clipboard_, block.get());
        if (view.locked() && view.bytes().size() >= (text.size() + 1) * 2) {
          std::uint8_t* out = view.bytes().data();
          for (const char16_t c : text) {
            *out++ = static_cast<std::uint8_t>(c & 0xFF);
            *out++ = static_cast<std::uint8_t>(c >> 8);
          }
          out[0] = out[1] = 0;
          written = true;
        }
      }
      placed = written && platform::HandOver(clipboard_, cf::kUnicodeText, block);
      // As when a record is put back: our own change is skipped only when
      // there will be one.
      if (placed) SkipOwnChange();
    }
  }
  // A clipboard that could not be taken holds someone else's content,
  // which must not replace the record.
  if (!placed) return kNoRecord;
  return WriteRecord(current_no_, date);
}

}  // namespace quill::core
