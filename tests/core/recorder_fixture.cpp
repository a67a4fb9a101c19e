#include "recorder_fixture.h"

#include <cstring>

#include "core/storage_modes.h"
#include "platform/clipboard_guards.h"

namespace quill::core::testing {

std::vector<WorldMakers> AllWorlds() {
  std::vector<WorldMakers> worlds = {{"Memory", platform::testing::MemoryClipboardWorldMaker(),
                                      platform::testing::MemoryStorageWorldMaker()}};
#ifdef _WIN32
  worlds.push_back({"Win32", platform::testing::Win32ClipboardWorldMaker(),
                    platform::testing::Win32StorageWorldMaker()});
#endif
  return worlds;
}

std::string WorldName(const ::testing::TestParamInfo<WorldMakers>& info) { return info.param.name; }

void RecorderTest::SetUp() {
  clipboard_world_ = GetParam().clipboard.make();
  storage_world_ = GetParam().storage.make();
  faulty_files_ = std::make_unique<FaultyFiles>(storage_world_->files());
  window_ = &clipboard_world_->NewWindow();
  other_ = &clipboard_world_->NewWindow();
  view_ = std::make_unique<FakeView>(clipboard(), window_->id);
  window_->on_message = [this](const platform::testing::Message& m) {
    if (!recorder_) return;
    switch (m.message) {
      case platform::msg::kDrawClipboard:
        recorder_->WMDrawClipboard(m.wparam, m.lparam);
        break;
      case platform::msg::kChangeCbChain:
        recorder_->WMChangeCBChain(m.wparam, static_cast<platform::WindowId>(m.lparam));
        break;
      case platform::msg::kClipboardUpdate:
        recorder_->WMClipboardUpdate();
        break;
      case WM_CAPTURECLIP:
        recorder_->WMCaptureClip();
        break;
      case platform::msg::kRenderFormat:
        recorder_->WMRenderFormat(paste_keys_held_);
        break;
      case WM_LINKNEXT:
        recorder_->WMLinkNext();
        break;
    }
  };
}

void RecorderTest::TearDown() {
  recorder_.reset();  // leaves the viewer chain, releases the storage
  view_.reset();
  faulty_files_.reset();
  storage_world_.reset();
  clipboard_world_.reset();
}

bool RecorderTest::Start() {
  const RecorderServices services = {recorder_clipboard_ ? *recorder_clipboard_ : clipboard(),
                                     clipboard_world_->messages(), *faulty_files_, dialogs_,
                                     clock_};
  recorder_ = std::make_unique<Recorder>(services, window_->id, Folder(), *view_,
                                         FormatFilter("(all)", "Other"));
  view_->counters = [this] { return std::pair(recorder_->CurrentNo(), recorder_->RecordCount()); };
  view_->kept_text = [this](int n) { return recorder_->KeptText(n); };
  return recorder_->FormCreate();
}

void RecorderTest::Copy(const std::vector<Item>& items, bool deliver) {
  {
    platform::ClipboardSession session(clipboard(), other_->id);
    ASSERT_TRUE(session.is_open());
    ASSERT_TRUE(clipboard().Empty());
    for (const Item& item : items) {
      platform::GlobalBlock block(clipboard(), item.bytes.size());
      {
        platform::GlobalView view(clipboard(), block.get());
        std::memcpy(view.bytes().data(), item.bytes.data(), item.bytes.size());
      }
      ASSERT_TRUE(platform::HandOver(clipboard(), item.format, block));
    }
  }
  if (deliver) Pump();
}

void RecorderTest::CopyMetafile(const std::vector<std::uint8_t>& bytes) {
  {
    platform::ClipboardSession session(clipboard(), other_->id);
    ASSERT_TRUE(session.is_open());
    ASSERT_TRUE(clipboard().Empty());
    platform::EnhMetafile metafile(clipboard(), bytes);
    ASSERT_TRUE(platform::HandOver(clipboard(), platform::cf::kEnhMetafile, metafile));
  }
  Pump();
}

std::string RecorderTest::TextOfRecord(int n) {
  std::string date;
  const RecordKind kind = recorder_->ReadRecord(n, false, date);
  if (kind < 0) return "<no record>";
  Pump();
  return view_->ClipboardText();
}

void RecorderTest::WriteStream(platform::Storage& storage, const std::u16string& name,
                               const std::string& bytes) {
  std::unique_ptr<platform::Stream> stream;
  ASSERT_EQ(storage.CreateStream(name, mode::kCreateElement, stream), platform::kOk);
  std::uint32_t written = 0;
  ASSERT_EQ(stream->Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &written),
            platform::kOk);
}

std::string RecorderTest::ReadStream(platform::Storage& storage, const std::u16string& name) {
  std::unique_ptr<platform::Stream> stream;
  if (storage.OpenStream(name, mode::kOpenForReading, stream) != platform::kOk) return "<none>";
  std::string bytes;
  char buffer[4096];
  std::uint32_t read = 0;
  while (stream->Read(buffer, sizeof buffer, &read) == platform::kOk && read > 0)
    bytes.append(buffer, read);
  return bytes;
}

std::vector<unsigned> RecorderTest::ClipboardFormats() {
  std::vector<unsigned> formats;
  platform::ClipboardSession session(clipboard(), other_->id);
  for (unsigned f = clipboard().EnumFormats(0); f; f = clipboard().EnumFormats(f))
    formats.push_back(f);
  return formats;
}

}  // namespace quill::core::testing
