#pragma once
// A recorder in a world of platform services (the doubles, or the system's
// own under Windows), with its window wired to its message handlers, and
// another window that copies like a second program would.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "clipboard_world.h"
#include "core/recorder.h"
#include "fakes.h"
#include "storage_world.h"

namespace quill::core::testing {

struct WorldMakers {
  std::string name;
  platform::testing::ClipboardWorldMaker clipboard;
  platform::testing::StorageWorldMaker storage;
};

inline void PrintTo(const WorldMakers& world, std::ostream* out) { *out << world.name; }

std::vector<WorldMakers> AllWorlds();
std::string WorldName(const ::testing::TestParamInfo<WorldMakers>& info);

class RecorderTest : public ::testing::TestWithParam<WorldMakers> {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Makes the recorder and runs its start; false if it did not start.
  bool Start();
  platform::Clipboard& clipboard() { return clipboard_world_->clipboard(); }
  platform::StorageFiles& files() { return storage_world_->files(); }
  std::u16string Folder() { return storage_world_->PathOf(u""); }
  std::u16string TempStorage() { return storage_world_->PathOf(u"Quillet.tmp"); }

  // Another program puts these formats on the clipboard, one change.
  struct Item {
    unsigned format;
    std::string bytes;  // a text's terminating zero included by Text()
  };
  static Item Text(const std::string& text) { return {platform::cf::kText, text + '\0'}; }
  // `deliver` false: the notifications wait for the next Pump.
  void Copy(const std::vector<Item>& items, bool deliver = true);
  void CopyText(const std::string& text) { Copy({Text(text)}); }
  // Another program copies a drawing (an enhanced metafile).
  void CopyMetafile(const std::vector<std::uint8_t>& bytes);
  void ForegroundIs(const std::string& class_name) { clipboard_world_->MakeForeground(class_name); }
  // Delivers what was posted (the capture requests).
  void Pump() { clipboard_world_->Pump(); }
  // The text a record puts back on the clipboard ("" for none).
  std::string TextOfRecord(int n);
  std::vector<unsigned> ClipboardFormats();
  // Streams of storages made or read as another program would.
  static void WriteStream(platform::Storage& storage, const std::u16string& name,
                          const std::string& bytes);
  static std::string ReadStream(platform::Storage& storage, const std::u16string& name);
  unsigned Register(const std::string& name) { return clipboard().RegisterFormat(name); }

  std::unique_ptr<platform::testing::ClipboardWorld> clipboard_world_;
  std::unique_ptr<platform::testing::StorageWorld> storage_world_;
  platform::testing::TestWindow* window_ = nullptr;
  platform::testing::TestWindow* other_ = nullptr;
  bool paste_keys_held_ = true;  // Ctrl and V, when a render request comes
  // When set, the clipboard the recorder is given instead of the world's.
  platform::Clipboard* recorder_clipboard_ = nullptr;
  // The world's files, as the recorder is given them.
  std::unique_ptr<FaultyFiles> faulty_files_;
  ScriptedDialogs dialogs_;
  ManualClock clock_;
  std::unique_ptr<FakeView> view_;
  std::unique_ptr<Recorder> recorder_;
};

}  // namespace quill::core::testing
