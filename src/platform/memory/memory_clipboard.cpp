#include "platform/memory/memory_clipboard.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace quill::platform {
namespace {

constexpr std::size_t kNameBufferSize = 40;  // the callers' buffer, terminator included
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kV5HeaderSize = 124;
constexpr std::uint32_t kLocaleEnglishUs = 0x0409;

std::string UpperCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// The text formats the system derives from one another.
bool IsText(unsigned format) {
  return format == cf::kText || format == cf::kOemText || format == cf::kUnicodeText;
}

}  // namespace

MemoryClipboard::MemoryClipboard(MemoryDesktop& desktop) : desktop_(desktop) {}
MemoryClipboard::~MemoryClipboard() = default;

DataHandle MemoryClipboard::NewObject(Kind kind, std::vector<std::uint8_t> bytes) {
  next_handle_ += 4;
  auto handle = reinterpret_cast<DataHandle>(next_handle_);
  objects_.emplace(handle, Object{kind, std::move(bytes)});
  return handle;
}

MemoryClipboard::Object* MemoryClipboard::Find(DataHandle handle, Kind kind) {
  const auto found = objects_.find(handle);
  if (found == objects_.end() || found->second.kind != kind) return nullptr;
  return &found->second;
}

void MemoryClipboard::FreeData(DataHandle handle) {
  if (handle) objects_.erase(handle);
}

MemoryClipboard::Entry* MemoryClipboard::FindEntry(unsigned format) {
  for (Entry& e : entries_)
    if (e.format == format) return &e;
  return nullptr;
}

void MemoryClipboard::ClearEntries() {
  for (const Entry& e : entries_) FreeData(e.data);
  entries_.clear();
}

// --- viewer chain ---

WindowId MemoryClipboard::SetViewer(WindowId viewer) {
  const WindowId previous = viewer_;
  viewer_ = viewer;
  if (viewer) desktop_.Send(viewer, msg::kDrawClipboard, owner_, 0);
  return previous;
}

bool MemoryClipboard::ChangeChain(WindowId viewer, WindowId next) {
  if (!viewer) return false;
  if (viewer == viewer_) {
    viewer_ = next;
    return true;
  }
  if (viewer_) desktop_.Send(viewer_, msg::kChangeCbChain, viewer, static_cast<LParam>(next));
  return true;
}

bool MemoryClipboard::AddListener(WindowId window) {
  if (std::find(listeners_.begin(), listeners_.end(), window) == listeners_.end())
    listeners_.push_back(window);
  return true;
}

void MemoryClipboard::RemoveListener(WindowId window) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), window), listeners_.end());
}

// --- access ---

namespace {
// The window of the other program that holds the clipboard in HoldFor.
constexpr WindowId kHolder = 0x7FFF0;
}  // namespace

void MemoryClipboard::HoldFor(unsigned milliseconds) {
  held_ = Open(kHolder);
  hold_ends_at_ = waited_ms_ + milliseconds;
}

void MemoryClipboard::EndHold() {
  if (held_) Close();
  held_ = false;
}

void MemoryClipboard::WaitForRelease(unsigned milliseconds) {
  waited_ms_ += milliseconds;
  if (held_ && waited_ms_ >= hold_ends_at_) EndHold();
}

bool MemoryClipboard::Open(WindowId owner) {
  if (open_ && open_by_ != owner) return false;
  open_ = true;
  open_by_ = owner;
  return true;
}

bool MemoryClipboard::Close() {
  if (!open_) return false;
  open_ = false;
  open_by_ = 0;
  if (changed_) {
    changed_ = false;
    AddDerivedFormats();
    if (viewer_) desktop_.Send(viewer_, msg::kDrawClipboard, owner_, 0);
    for (const WindowId listener : std::vector<WindowId>(listeners_))
      desktop_.Post(listener, msg::kClipboardUpdate, 0, 0);
  }
  return true;
}

bool MemoryClipboard::Empty() {
  if (!open_) return false;
  const WindowId previous = owner_;
  if (previous && previous != open_by_) desktop_.Send(previous, msg::kDestroyClipboard, 0, 0);
  ClearEntries();
  owner_ = open_by_;
  changed_ = true;
  ++sequence_;
  return true;
}

int MemoryClipboard::CountFormats() { return static_cast<int>(entries_.size()); }

unsigned MemoryClipboard::EnumFormats(unsigned previous) {
  if (!open_) return 0;
  auto it = entries_.begin();
  if (previous != 0) {
    it = std::find_if(entries_.begin(), entries_.end(),
                      [previous](const Entry& e) { return e.format == previous; });
    if (it == entries_.end()) return 0;
    ++it;
  }
  return it == entries_.end() ? 0 : it->format;
}

bool MemoryClipboard::IsFormatAvailable(unsigned format) { return FindEntry(format) != nullptr; }

DataHandle MemoryClipboard::GetData(unsigned format) {
  if (!open_) return nullptr;
  Entry* entry = FindEntry(format);
  if (!entry) return nullptr;
  if (!entry->data && entry->derived) entry->data = Derive(format);
  if (!entry->data && owner_ && !rendering_) {
    rendering_ = true;
    desktop_.Send(owner_, msg::kRenderFormat, format, 0);
    rendering_ = false;
    entry = FindEntry(format);
  }
  return entry ? entry->data : nullptr;
}

bool MemoryClipboard::SetData(unsigned format, DataHandle data) {
  if (!open_ && !rendering_) return false;
  if (format == 0) return false;
  if (data && objects_.count(data) == 0) return false;
  if (Entry* existing = FindEntry(format)) {
    if (existing->data != data) FreeData(existing->data);
    existing->data = data;
    existing->derived = false;
  } else {
    entries_.push_back({format, data, false});
  }
  // Rendering an announced format is no change of the clipboard: no
  // viewer hears of it.
  if (open_ && !rendering_) {
    changed_ = true;
    ++sequence_;
  }
  return true;
}

std::string MemoryClipboard::GetFormatName(unsigned format) {
  const auto found = names_.find(format);
  if (found == names_.end()) return {};
  return found->second.substr(0, kNameBufferSize - 1);
}

unsigned MemoryClipboard::RegisterFormat(const std::string& name) {
  if (name.empty()) return 0;
  const std::string key = UpperCase(name);
  const auto found = registered_.find(key);
  if (found != registered_.end()) return found->second;
  const unsigned format = next_format_++;
  registered_.emplace(key, format);
  names_.emplace(format, name);
  return format;
}

// --- derived formats ---

void MemoryClipboard::AddDerivedFormats() {
  // Formats derived earlier are made anew from what the owner set.
  std::erase_if(entries_, [this](const Entry& e) {
    if (e.derived) FreeData(e.data);
    return e.derived;
  });
  const auto owner_set = [this](unsigned f) { return FindEntry(f) != nullptr; };
  unsigned text_source = 0;
  for (const Entry& e : entries_)
    if (IsText(e.format)) {
      text_source = e.format;
      break;
    }
  if (text_source) {
    // The locale first, then the other text formats in rising number.
    for (unsigned f : {cf::kLocale, cf::kText, cf::kOemText, cf::kUnicodeText})
      if (!owner_set(f)) entries_.push_back({f, nullptr, true});
  }
  if (owner_set(cf::kDib)) {
    for (unsigned f : {cf::kBitmap, cf::kDibV5})
      if (!owner_set(f)) entries_.push_back({f, nullptr, true});
  } else if (owner_set(cf::kBitmap)) {
    for (unsigned f : {cf::kDib, cf::kDibV5})
      if (!owner_set(f)) entries_.push_back({f, nullptr, true});
  }
}

const std::vector<std::uint8_t>* MemoryClipboard::SourceDib() {
  Entry* dib_entry = FindEntry(cf::kDib);
  if (dib_entry && !dib_entry->derived) {
    Object* dib = Find(dib_entry->data, Kind::kGlobal);
    return dib ? &dib->bytes : nullptr;
  }
  Entry* bitmap_entry = FindEntry(cf::kBitmap);
  Object* bitmap = bitmap_entry ? Find(bitmap_entry->data, Kind::kBitmap) : nullptr;
  return bitmap ? &bitmap->bytes : nullptr;
}

std::vector<std::uint8_t> MemoryClipboard::TextOf(unsigned source) {
  Entry* entry = FindEntry(source);
  Object* object = entry ? Find(entry->data, Kind::kGlobal) : nullptr;
  if (!object) return {};
  std::vector<std::uint8_t> narrow;
  const auto& b = object->bytes;
  if (source == cf::kUnicodeText) {
    for (std::size_t i = 0; i + 1 < b.size(); i += 2) {
      const unsigned ch = b[i] | (b[i + 1] << 8);
      if (ch == 0) break;
      narrow.push_back(ch < 0x80 ? static_cast<std::uint8_t>(ch) : '?');
    }
  } else {
    for (std::uint8_t ch : b) {
      if (ch == 0) break;
      narrow.push_back(ch);
    }
  }
  return narrow;
}

DataHandle MemoryClipboard::Derive(unsigned format) {
  if (format == cf::kLocale) {
    std::vector<std::uint8_t> lcid(4);
    std::memcpy(lcid.data(), &kLocaleEnglishUs, 4);
    return NewObject(Kind::kGlobal, std::move(lcid));
  }
  if (IsText(format)) {
    unsigned source = 0;
    for (const Entry& e : entries_)
      if (!e.derived && IsText(e.format)) source = e.format;
    std::vector<std::uint8_t> narrow = TextOf(source);
    std::vector<std::uint8_t> bytes;
    if (format == cf::kUnicodeText) {
      for (std::uint8_t ch : narrow) bytes.insert(bytes.end(), {ch, 0});
      bytes.insert(bytes.end(), {0, 0});
    } else {
      bytes = std::move(narrow);
      bytes.push_back(0);
    }
    return NewObject(Kind::kGlobal, std::move(bytes));
  }
  const std::vector<std::uint8_t>* dib = SourceDib();
  if (!dib || dib->size() < kInfoHeaderSize) return nullptr;
  if (format == cf::kBitmap) return NewObject(Kind::kBitmap, *dib);
  if (format == cf::kDib) return NewObject(Kind::kGlobal, *dib);
  if (format == cf::kDibV5) {
    // The version-5 header: the info header's fields, widened to 124 bytes.
    std::vector<std::uint8_t> bytes(kV5HeaderSize);
    std::memcpy(bytes.data(), dib->data(), kInfoHeaderSize);
    const std::uint32_t size = kV5HeaderSize;
    std::memcpy(bytes.data(), &size, 4);
    bytes.insert(bytes.end(), dib->begin() + kInfoHeaderSize, dib->end());
    return NewObject(Kind::kGlobal, std::move(bytes));
  }
  return nullptr;
}

// --- bitmaps ---

DataHandle MemoryClipboard::CreateBitmap(std::vector<std::uint8_t> dib) {
  return NewObject(Kind::kBitmap, std::move(dib));
}

void MemoryClipboard::DeleteBitmap(DataHandle bitmap) {
  if (Find(bitmap, Kind::kBitmap)) FreeData(bitmap);
}

std::vector<std::uint8_t>* MemoryClipboard::BitmapBytes(DataHandle bitmap) {
  Object* object = Find(bitmap, Kind::kBitmap);
  return object ? &object->bytes : nullptr;
}

// --- global memory ---

DataHandle MemoryClipboard::GlobalAlloc(std::size_t size) {
  return NewObject(Kind::kGlobal, std::vector<std::uint8_t>(size));
}

void MemoryClipboard::GlobalFree(DataHandle block) {
  if (Find(block, Kind::kGlobal)) FreeData(block);
}

void* MemoryClipboard::GlobalLock(DataHandle block) {
  Object* object = Find(block, Kind::kGlobal);
  if (!object) return nullptr;
  ++object->locks;
  // A zero-sized block still locks, like a real one.
  static std::uint8_t empty_block;
  return object->bytes.empty() ? &empty_block : object->bytes.data();
}

void MemoryClipboard::GlobalUnlock(DataHandle block) {
  if (Object* object = Find(block, Kind::kGlobal); object && object->locks > 0) --object->locks;
}

std::size_t MemoryClipboard::GlobalSize(DataHandle block) {
  Object* object = Find(block, Kind::kGlobal);
  return object ? object->bytes.size() : 0;
}

// --- enhanced metafiles ---

namespace {
constexpr std::uint32_t kEmrHeader = 1;
constexpr std::uint32_t kEnhMetaSignature = 0x464D4520;  // " EMF"
constexpr std::size_t kSignatureOffset = 40;
constexpr std::size_t kTotalSizeOffset = 48;

std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, std::size_t offset) {
  std::uint32_t value;
  std::memcpy(&value, bytes.data() + offset, 4);
  return value;
}
}  // namespace

DataHandle MemoryClipboard::SetEnhMetaFileBits(std::span<const std::uint8_t> bytes) {
  // Only a byte image that starts with a metafile header is a metafile.
  if (bytes.size() < kTotalSizeOffset + 4) return nullptr;
  if (ReadU32(bytes, 0) != kEmrHeader || ReadU32(bytes, kSignatureOffset) != kEnhMetaSignature)
    return nullptr;
  const std::uint32_t total = ReadU32(bytes, kTotalSizeOffset);
  if (total > bytes.size() || total < kTotalSizeOffset + 4) return nullptr;
  return NewObject(Kind::kEnhMetafile, {bytes.begin(), bytes.begin() + total});
}

std::vector<std::uint8_t> MemoryClipboard::GetEnhMetaFileBits(DataHandle metafile) {
  Object* object = Find(metafile, Kind::kEnhMetafile);
  return object ? object->bytes : std::vector<std::uint8_t>{};
}

void MemoryClipboard::DeleteEnhMetaFile(DataHandle metafile) {
  if (Find(metafile, Kind::kEnhMetafile)) FreeData(metafile);
}

}  // namespace quill::platform
