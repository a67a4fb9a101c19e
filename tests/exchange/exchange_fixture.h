#pragma once
// An exchange in a world of platform services (the doubles, or the
// system's own under Windows), beside a recorder that records what it puts
// on the clipboard, with its files in a folder of their own.
#include <filesystem>
#include <string>
#include <vector>

#include "core/dib_clipboard.h"
#include "dib/kv_dib.h"
#include "exchange/exchange.h"
#include "metafile_samples.h"
#include "recorder_fixture.h"

namespace quill::exchange::testing {

// The text pane, holding at most `limit` bytes.
class FakePane : public TextPane {
 public:
  bool SetText(const std::string& text) override {
    if (text.size() > limit) return false;
    this->text = text;
    return true;
  }
  std::string Text() const override { return text; }
  std::string text = "unchanged";
  std::size_t limit = SIZE_MAX;
};

// The system's conversion stands in natively: the enhanced metafile made
// from a placeable one has the box's frame; the Windows form of an
// enhanced one is fixed records.
class FakeMetafiles : public MetafileConverter {
 public:
  std::vector<std::uint8_t> WindowsToEnhanced(std::span<const std::uint8_t> records,
                                              const PlaceableBox& box) override;
  std::vector<std::uint8_t> EnhancedToWindows(std::span<const std::uint8_t> emf) override;
};

class ExchangeTest : public core::testing::RecorderTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  Exchange MakeExchange(std::size_t limit = kTextLimit);
  std::u16string PathOf(const std::string& name) const;
  void WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
  void WriteFile(const std::string& name, const std::string& bytes) const;
  std::vector<std::uint8_t> ReadFile(const std::string& name) const;
  bool Exists(const std::string& name) const;
  std::vector<std::string> FolderNames() const;

  // The clipboard's data of a format ("" / empty when absent).
  std::string ClipboardText();
  std::vector<std::uint8_t> ClipboardBlock(unsigned format);
  std::vector<std::uint8_t> ClipboardMetafile();
  // Another program puts a picture on the clipboard.
  void CopyPicture(const dib::TKvDIB& picture);

  std::filesystem::path folder_;
  FakePane pane_;
  std::unique_ptr<MetafileConverter> metafiles_;
  core::testing::ScriptedDialogs& dialogs() { return dialogs_; }
};

}  // namespace quill::exchange::testing
