#pragma once
// Import of files onto the clipboard and export of the clipboard's content
// to files. Import never writes a record: it changes the clipboard as
// another program would, and capture records it. Every failure is shown
// as a message and leaves the clipboard as it was.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "exchange/jpeg_writer.h"
#include "exchange/metafile_format.h"
#include "platform/clipboard.h"
#include "platform/clipboard_guards.h"
#include "platform/dialogs.h"

namespace quill::exchange {

namespace text {
inline constexpr char16_t kImportFilter[] =
    u"テキストファイル(*.txt)|*.txt|ビットマップ(*.bmp)|*.bmp|PNG(*.png)|*.png|"
    u"メタファイル(*.wmf;*.emf)|*.wmf;*.emf|すべてのファイル(*.*)|*.*";
inline constexpr char16_t kTextFilter[] = u"テキストファイル(*.txt)|*.txt";
inline constexpr char16_t kBitmapFilter[] =
    u"ビットマップ(*.bmp)|*.bmp|JPEG(*.jpg)|*.jpg|PNG(*.png)|*.png";
inline constexpr char16_t kMetafileFilter[] = u"メタファイル(*.wmf;*.emf)|*.wmf;*.emf";
inline constexpr char16_t kBadMetafile[] = u"メタファイルが不正です";
inline constexpr char16_t kTextTooLong[] = u"文字列の大きさがメモの制限を越えました";
inline constexpr char16_t kUnsupportedData[] = u"未対応のクリップボード データです";
inline constexpr char16_t kCannotOpenClipboard[] = u"クリップボードを開けません";
// "ファイル %s は開けません。 %s " and "ファイル "%s" を作成できません。%s".
std::u16string CannotOpen(const std::u16string& path, const std::u16string& reason);
std::u16string CannotCreate(const std::u16string& path, const std::u16string& reason);
// "JPEG エラー #%d".
std::u16string JpegError(int code);
}  // namespace text

// The preview's text pane, which holds the text of a text import and gives
// the text of a text export; both in the system's 8-bit code page.
class TextPane {
 public:
  virtual ~TextPane() = default;
  // Replaces the text; false when the pane cannot hold it.
  virtual bool SetText(const std::string& text) = 0;
  virtual std::string Text() const = 0;
};

struct ExchangeServices {
  platform::Clipboard& clipboard;
  platform::Dialogs& dialogs;
  MetafileConverter& metafiles;
};

// The most text, in bytes after the line breaks are made CR LF, that an
// import puts into the text pane.
constexpr std::size_t kTextLimit = 16 * 1024 * 1024;

class Exchange {
 public:
  // `owner` is the window that opens the clipboard.
  Exchange(const ExchangeServices& services, platform::WindowId owner, TextPane& pane,
           std::size_t text_limit = kTextLimit);

  void ImportBtnClick();
  // False when it showed an error instead.
  bool ImportFile(const std::u16string& path);
  void ExportBtnClick(const JpegOptions& options);

 private:
  void ImportBitmap(const std::u16string& path);
  void ImportPng(const std::u16string& path);
  void ImportMetafile(const std::u16string& path);
  void ImportText(const std::u16string& path);
  // Each true when it wrote the file or showed why not.
  bool ExportMetafile(const std::u16string& path, const std::u16string& extension);
  bool ExportBitmap(const std::u16string& path, const std::u16string& extension,
                    const JpegOptions& options);
  void ExportText(const std::u16string& path);
  // The alpha of the clipboard's DIB, when it carries one (see AlphaOfPackedDib).
  std::vector<std::uint8_t> ClipboardAlpha();
  void Write(const std::u16string& path, std::span<const std::uint8_t> bytes);
  // Copies `bytes` into the block; false when it could not be had.
  bool Fill(platform::GlobalBlock& block, std::span<const std::uint8_t> bytes);
  void ShowError(const std::u16string& message);

  platform::Clipboard& clipboard_;
  platform::Dialogs& dialogs_;
  MetafileConverter& metafiles_;
  platform::WindowId owner_;
  TextPane& pane_;
  std::size_t text_limit_;
  bool error_shown_ = false;
};

}  // namespace quill::exchange
