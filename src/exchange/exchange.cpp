#include "exchange/exchange.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

#include "core/dib_clipboard.h"
#include "dib/kv_errors.h"
#include "dib/kv_stream.h"
#include "exchange/bitmap_header.h"
#include "exchange/file_name.h"
#include "exchange/files.h"
#include "exchange/png_codec.h"
#include "exchange/text_import.h"
#include "platform/clipboard_guards.h"

namespace quill::exchange {

namespace text {

std::u16string CannotOpen(const std::u16string& path, const std::u16string& reason) {
  return u"ファイル " + path + u" は開けません。 " + reason + u" ";
}

std::u16string CannotCreate(const std::u16string& path, const std::u16string& reason) {
  return u"ファイル \"" + path + u"\" を作成できません。" + reason;
}

std::u16string JpegError(int code) {
  const std::string number = std::to_string(code);
  return u"JPEG エラー #" + std::u16string(number.begin(), number.end());
}

}  // namespace text

namespace {

// The imaging library's messages are ASCII.
std::u16string Widen(const char* message) {
  std::u16string wide;
  for (const char* c = message; *c; ++c)
    wide += static_cast<char16_t>(static_cast<unsigned char>(*c));
  return wide;
}

constexpr std::size_t kReadPiece = 1 << 20;

}  // namespace

bool ReadWholeFile(const std::u16string& path, std::vector<std::uint8_t>& bytes,
                   std::u16string& reason) {
  InputFile file(path);
  if (!file.is_open()) {
    reason = file.reason();
    return false;
  }
  // One buffer of the file's size; a file that grows meanwhile is read on
  // in pieces.
  bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(file.SizeHint(), SIZE_MAX / 2)));
  std::size_t filled = 0;
  for (;;) {
    if (filled == bytes.size()) bytes.resize(filled + kReadPiece);
    const std::size_t n = file.Read(bytes.data() + filled, bytes.size() - filled);
    filled += n;
    if (n == 0) break;
  }
  bytes.resize(filled);
  if (file.failed()) {
    reason = file.reason();
    return false;
  }
  return true;
}

Exchange::Exchange(const ExchangeServices& services, platform::WindowId owner, TextPane& pane,
                   std::size_t text_limit)
    : clipboard_(services.clipboard),
      dialogs_(services.dialogs),
      metafiles_(services.metafiles),
      owner_(owner),
      pane_(pane),
      text_limit_(text_limit) {}

void Exchange::ShowError(const std::u16string& message) {
  error_shown_ = true;
  dialogs_.ShowMessage(message, platform::mb::kOk | platform::mb::kIconError);
}

// --- import ---

void Exchange::ImportBtnClick() {
  const auto path = dialogs_.OpenFile(text::kImportFilter);
  if (path) ImportFile(*path);
}

bool Exchange::ImportFile(const std::u16string& path) {
  error_shown_ = false;
  const std::u16string extension = FileExtension(path);
  try {
    if (extension == u".bmp")
      ImportBitmap(path);
    else if (extension == u".png")
      ImportPng(path);
    else if (extension == u".wmf" || extension == u".emf")
      ImportMetafile(path);
    else
      ImportText(path);
  } catch (const std::bad_alloc&) {
    // A file larger than the memory left; the clipboard was not touched yet.
    ShowError(Widen("Out of memory"));
  }
  return !error_shown_;
}

void Exchange::ImportBitmap(const std::u16string& path) {
  std::vector<std::uint8_t> bytes;
  std::u16string reason;
  if (!ReadWholeFile(path, bytes, reason)) return ShowError(text::CannotOpen(path, reason));
  try {
    dib::TKvDIB picture;
    if (auto rewritten = WithInfoHeader(bytes)) bytes = std::move(*rewritten);
    dib::MemoryStream stream(std::move(bytes));
    picture.LoadFromStream(stream);
    core::DibClipboard clipboard(clipboard_, owner_);
    picture.AssignTo(clipboard);
  } catch (const dib::Exception& error) {
    ShowError(Widen(error.what()));
  } catch (const std::bad_alloc&) {
    ShowError(Widen("Out of memory"));
  }
}

void Exchange::ImportPng(const std::u16string& path) {
  std::vector<std::uint8_t> bytes;
  std::u16string reason;
  if (!ReadWholeFile(path, bytes, reason)) return ShowError(text::CannotOpen(path, reason));
  DecodedPng decoded;
  try {
    decoded = DecodePng(bytes);
  } catch (const dib::Exception& error) {
    return ShowError(Widen(error.what()));
  }
  // The file's own bytes go beside the DIB, first, for the programs that
  // read PNG (and its transparency) themselves.
  platform::GlobalBlock picture(clipboard_, decoded.dib.size());
  platform::GlobalBlock file(clipboard_, bytes.size());
  if (!Fill(picture, decoded.dib) || !Fill(file, bytes)) return ShowError(Widen("Out of memory"));
  const unsigned png_format = clipboard_.RegisterFormat(kPngClipboardFormat);
  platform::ClipboardSession session(clipboard_, owner_);
  if (!session.is_open()) return ShowError(text::kCannotOpenClipboard);
  clipboard_.Empty();
  if (png_format) platform::HandOver(clipboard_, png_format, file);
  platform::HandOver(clipboard_, platform::cf::kDib, picture);
}

bool Exchange::Fill(platform::GlobalBlock& block, std::span<const std::uint8_t> bytes) {
  if (!block) return false;
  platform::GlobalView view(clipboard_, block.get());
  if (!view.locked() || view.bytes().size() < bytes.size()) return false;
  std::memcpy(view.bytes().data(), bytes.data(), bytes.size());
  return true;
}

void Exchange::ImportMetafile(const std::u16string& path) {
  std::vector<std::uint8_t> bytes;
  std::u16string reason;
  if (!ReadWholeFile(path, bytes, reason)) return ShowError(text::CannotOpen(path, reason));
  const MetafileContent content = ParseMetafile(bytes);
  std::vector<std::uint8_t> converted;
  std::span<const std::uint8_t> emf = content.bytes;
  if (content.kind == MetafileKind::kPlaceable) {
    converted = metafiles_.WindowsToEnhanced(content.bytes, content.box);
    emf = converted;
  }
  if (content.kind == MetafileKind::kInvalid || emf.empty()) return ShowError(text::kBadMetafile);
  platform::EnhMetafile picture(clipboard_, emf);
  if (!picture) return ShowError(text::kBadMetafile);
  platform::ClipboardSession session(clipboard_, owner_);
  if (!session.is_open()) return ShowError(text::kCannotOpenClipboard);
  clipboard_.Empty();
  platform::HandOver(clipboard_, platform::cf::kEnhMetafile, picture);
}

void Exchange::ImportText(const std::u16string& path) {
  InputFile file(path);
  if (!file.is_open()) return ShowError(text::CannotOpen(path, file.reason()));
  TextNormaliser normaliser;
  std::string piece(kReadPiece, '\0');
  for (;;) {
    const std::size_t n = file.Read(piece.data(), piece.size());
    if (n == 0) break;
    const bool more = normaliser.Feed(std::string_view(piece.data(), n));
    // Refused as soon as it is too long: a huge file is not read to its end.
    if (normaliser.Text().size() > text_limit_) return ShowError(text::kTextTooLong);
    if (!more) break;
  }
  if (file.failed()) return ShowError(text::CannotOpen(path, file.reason()));
  if (!pane_.SetText(normaliser.TakeText())) return ShowError(text::kTextTooLong);

  const std::string shown = pane_.Text();
  platform::GlobalBlock block(clipboard_, shown.size() + 1);
  {
    platform::GlobalView view(clipboard_, block.get());
    if (!view.locked()) return ShowError(Widen("Out of memory"));
    std::memcpy(view.bytes().data(), shown.c_str(), shown.size() + 1);
  }
  platform::ClipboardSession session(clipboard_, owner_);
  if (!session.is_open()) return ShowError(text::kCannotOpenClipboard);
  clipboard_.Empty();
  platform::HandOver(clipboard_, platform::cf::kText, block);
}

// --- export ---

void Exchange::ExportBtnClick(const JpegOptions& options) {
  const bool has_text = clipboard_.IsFormatAvailable(platform::cf::kText);
  const bool has_bitmap = clipboard_.IsFormatAvailable(platform::cf::kBitmap);
  const bool has_metafile = clipboard_.IsFormatAvailable(platform::cf::kEnhMetafile);
  std::u16string filter;
  std::u16string default_extension;
  const auto offer = [&](const char16_t* entry, const char16_t* extension) {
    if (!filter.empty()) filter += u"|";
    filter += entry;
    if (default_extension.empty()) default_extension = extension;
  };
  if (has_text) offer(text::kTextFilter, u"txt");
  if (has_bitmap) offer(text::kBitmapFilter, u"bmp");
  if (has_metafile) offer(text::kMetafileFilter, u"wmf");
  if (filter.empty()) return ShowError(text::kUnsupportedData);

  const auto path = dialogs_.SaveFile(filter, default_extension);
  if (!path) return;
  const std::u16string extension = FileExtension(*path);
  bool written = false;
  if (has_metafile && (extension == u".wmf" || extension == u".emf"))
    written = ExportMetafile(*path, extension);
  if (has_bitmap && (extension == u".bmp" || extension == u".jpg" || extension == u".png"))
    written = ExportBitmap(*path, extension, options);
  if (written) return;
  // Text is the fallback for every other choice; with no text, a confirmed
  // name that nothing can be written to is said so rather than ignored.
  if (has_text)
    ExportText(*path);
  else
    ShowError(text::kUnsupportedData);
}

bool Exchange::ExportMetafile(const std::u16string& path, const std::u16string& extension) {
  std::vector<std::uint8_t> emf;
  {
    platform::ClipboardSession session(clipboard_, owner_);
    if (session.is_open()) {
      const platform::DataHandle handle = clipboard_.GetData(platform::cf::kEnhMetafile);
      if (handle) emf = clipboard_.GetEnhMetaFileBits(handle);
    }
  }
  if (emf.empty()) {
    ShowError(text::kUnsupportedData);
    return true;
  }
  if (extension == u".emf") {
    Write(path, emf);
    return true;
  }
  const auto frame = EnhancedFrame(emf);
  const std::vector<std::uint8_t> records = metafiles_.EnhancedToWindows(emf);
  if (!frame || records.empty()) {
    ShowError(text::kUnsupportedData);
    return true;
  }
  const auto header = PlaceableHeader(*frame);
  std::vector<std::uint8_t> file(header.begin(), header.end());
  file.insert(file.end(), records.begin(), records.end());
  Write(path, file);
  return true;
}

bool Exchange::ExportBitmap(const std::u16string& path, const std::u16string& extension,
                            const JpegOptions& options) {
  try {
    // Read before the picture, which the library takes without alpha.
    const std::vector<std::uint8_t> alpha =
        extension == u".png" ? ClipboardAlpha() : std::vector<std::uint8_t>{};
    dib::TKvDIB picture;
    core::DibClipboard clipboard(clipboard_, owner_);
    picture.Assign(clipboard);
    if (extension == u".png") {
      Write(path, EncodePng(picture, alpha));
      return true;
    }
    if (extension == u".bmp") {
      dib::MemoryStream stream;
      picture.SaveToStream(stream);
      Write(path, stream.Bytes());
      return true;
    }
    const JpegResult jpeg = EncodeJpeg(picture, options);
    if (jpeg.error != 0)
      ShowError(text::JpegError(jpeg.error));
    else
      Write(path, jpeg.bytes);
  } catch (const dib::Exception& error) {
    ShowError(Widen(error.what()));
  } catch (const std::bad_alloc&) {
    ShowError(Widen("Out of memory"));
  }
  return true;
}

std::vector<std::uint8_t> Exchange::ClipboardAlpha() {
  platform::ClipboardSession session(clipboard_, owner_);
  if (!session.is_open()) return {};
  const platform::DataHandle handle = clipboard_.GetData(platform::cf::kDib);
  if (!handle) return {};
  platform::GlobalView view(clipboard_, handle);
  if (!view.locked()) return {};
  return AlphaOfPackedDib(view.bytes());
}

void Exchange::ExportText(const std::u16string& path) {
  const std::string text = pane_.Text();
  Write(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void Exchange::Write(const std::u16string& path, std::span<const std::uint8_t> bytes) {
  std::u16string reason;
  if (!WriteFileReplacing(path, bytes, reason)) ShowError(text::CannotCreate(path, reason));
}

}  // namespace quill::exchange
