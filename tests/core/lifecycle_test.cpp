// Starting and closing: the temporary storage, the save question, a
// leftover storage of an earlier run, the place in the viewer chain.
#include "core/element_name.h"
#include "core/storage_modes.h"
#include "recorder_fixture.h"

namespace quill::core::testing {
namespace {

using platform::kOk;
namespace answer = platform::answer;

TEST_P(RecorderTest, ClosingWithoutRecordsAsksNothingAndRemovesTheTemporaryStorage) {
  ASSERT_TRUE(Start());
  EXPECT_EQ(recorder_->StorageName(), TempStorage());
  EXPECT_TRUE(files().Exists(TempStorage()));
  EXPECT_FALSE(view_->export_enabled);
  EXPECT_TRUE(recorder_->FormClose());
  EXPECT_TRUE(dialogs_.shown.empty());
  EXPECT_FALSE(files().Exists(TempStorage()));
  EXPECT_TRUE(recorder_->StorageName().empty());
}

TEST_P(RecorderTest, AnsweringNoDiscardsTheRecords) {
  ASSERT_TRUE(Start());
  recorder_->FormActivate(true);
  CopyText("kept?");
  dialogs_.answers = {answer::kNo};
  EXPECT_TRUE(recorder_->FormClose());
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_EQ(dialogs_.shown[0], u"現在のデータをストレージに保存しますか");
  EXPECT_FALSE(files().Exists(TempStorage()));
}

TEST_P(RecorderTest, CancellingTheQuestionOrTheSaveDialogKeepsRecording) {
  ASSERT_TRUE(Start());
  recorder_->FormActivate(true);
  CopyText("first");
  dialogs_.answers = {answer::kCancel};
  EXPECT_FALSE(recorder_->FormClose());
  dialogs_.answers = {answer::kYes};  // ... then no name chosen
  EXPECT_FALSE(recorder_->FormClose());
  EXPECT_EQ(dialogs_.extensions.at(0), u"stg");
  EXPECT_EQ(recorder_->StorageName(), TempStorage());
  CopyText("second");
  EXPECT_EQ(recorder_->RecordCount(), 2);
  EXPECT_EQ(TextOfRecord(1), "first");
}

TEST_P(RecorderTest, OnlyAnExplicitNoDiscards) {
  ASSERT_TRUE(Start());
  recorder_->FormActivate(true);
  CopyText("not lost");
  // A box that could not be shown (0), or any answer but Yes and No.
  for (const int answer : {0, answer::kOk, 3}) {
    dialogs_.answers = {answer};
    EXPECT_FALSE(recorder_->FormClose()) << answer;
    EXPECT_TRUE(recorder_->HasStorage());
    EXPECT_EQ(recorder_->StorageName(), TempStorage());
  }
  EXPECT_TRUE(dialogs_.save_paths.empty());
  CopyText("still recording");
  EXPECT_EQ(recorder_->RecordCount(), 2);
  EXPECT_EQ(TextOfRecord(1), "not lost");
}

TEST_P(RecorderTest, AnsweringYesSavesUnderTheChosenName) {
  ASSERT_TRUE(Start());
  recorder_->FormActivate(true);
  CopyText("saved text");
  const std::u16string target = storage_world_->PathOf(u"saved.stg");
  {  // an older file of that name is replaced
    std::unique_ptr<platform::Storage> old;
    ASSERT_EQ(files().CreateDocfile(target, mode::kCreateRoot, old), kOk);
  }
  dialogs_.answers = {answer::kYes};
  dialogs_.save_paths = {target};
  EXPECT_TRUE(recorder_->FormClose());
  EXPECT_FALSE(files().Exists(TempStorage()));
  std::unique_ptr<platform::Storage> root;
  ASSERT_EQ(files().OpenDocfile(target, mode::kOpenRoot, root), kOk);
  std::unique_ptr<platform::Storage> record;
  EXPECT_EQ(root->OpenStorage(u"1", mode::kOpenForReading, record), kOk);
}

TEST_P(RecorderTest, ASaveThatCannotReplaceTheTargetLosesNothing) {
  ASSERT_TRUE(Start());
  recorder_->FormActivate(true);
  CopyText("precious");
  const std::u16string target = storage_world_->PathOf(u"busy.stg");
  std::unique_ptr<platform::Storage> busy;  // held open, as by another program
  ASSERT_EQ(files().CreateDocfile(target, mode::kCreateRoot, busy), kOk);
  dialogs_.answers = {answer::kYes};
  dialogs_.save_paths = {target};
  EXPECT_FALSE(recorder_->FormClose());
  ASSERT_EQ(dialogs_.shown.size(), 2u);
  EXPECT_EQ(dialogs_.shown[1].rfind(u"ストレージを保存できません", 0), 0u);
  EXPECT_TRUE(recorder_->HasStorage());
  EXPECT_EQ(TextOfRecord(1), "precious");
  CopyText("more");
  EXPECT_EQ(recorder_->RecordCount(), 2);
}

TEST_P(RecorderTest, AStorageThatCannotBeReopenedAfterAFailedSaveIsReportedAndKept) {
  ASSERT_TRUE(Start());
  recorder_->FormActivate(true);
  CopyText("precious");
  const std::u16string target = storage_world_->PathOf(u"busy.stg");
  std::unique_ptr<platform::Storage> busy;
  ASSERT_EQ(files().CreateDocfile(target, mode::kCreateRoot, busy), kOk);
  faulty_files_->refuse_open = {TempStorage()};
  dialogs_.answers = {answer::kYes};
  dialogs_.save_paths = {target};
  EXPECT_FALSE(recorder_->FormClose());
  ASSERT_EQ(dialogs_.shown.size(), 2u);
  EXPECT_EQ(dialogs_.shown[1].rfind(u"ストレージを保存できず、開き直すこともできません", 0), 0u);
  EXPECT_NE(dialogs_.shown[1].find(TempStorage()), std::u16string::npos);
  EXPECT_TRUE(files().Exists(TempStorage()));

  // Once the target is free, saving again keeps the records.
  faulty_files_->refuse_open.clear();
  busy.reset();
  dialogs_.answers = {answer::kYes};
  dialogs_.save_paths = {target};
  EXPECT_TRUE(recorder_->FormClose());
  EXPECT_FALSE(files().Exists(TempStorage()));
  std::unique_ptr<platform::Storage> root, record;
  ASSERT_EQ(files().OpenDocfile(target, mode::kOpenRoot, root), kOk);
  EXPECT_EQ(root->OpenStorage(u"1", mode::kOpenForReading, record), kOk);
}

TEST_P(RecorderTest, ALeftoverTemporaryStorageWithRecordsIsKeptUnderANewName) {
  {
    std::unique_ptr<platform::Storage> leftover, record;
    ASSERT_EQ(files().CreateDocfile(TempStorage(), mode::kCreateRoot, leftover), kOk);
    ASSERT_EQ(leftover->CreateStorage(u"1", mode::kCreateElement, record), kOk);
  }
  clock_.now = {2026, 3, 4, 5, 6, 7};
  ASSERT_TRUE(Start());
  const std::u16string recovered = storage_world_->PathOf(u"Quillet-recovered-20260304-050607.stg");
  EXPECT_TRUE(files().Exists(recovered));
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_NE(dialogs_.shown[0].find(recovered), std::u16string::npos);
  std::unique_ptr<platform::Storage> root, record;
  recorder_.reset();  // releases the new temporary storage
  ASSERT_EQ(files().OpenDocfile(recovered, mode::kOpenRoot, root), kOk);
  EXPECT_EQ(root->OpenStorage(u"1", mode::kOpenForReading, record), kOk);
}

// A run cut off in the middle of a step leaves its storage so that the step
// can be finished or undone: the kept storage has numbers without a gap
// again, in the records' order, and nothing whole is lost.
TEST_P(RecorderTest, ALeftoverCutOffInTheMiddleOfAStepIsMadeWholeBeforeItIsKept) {
  struct Record {
    int number;  // 0: waiting under the spare name
    const char* text;
    bool header;
  };
  const struct {
    const char* cut_off;
    std::vector<Record> records;
    std::vector<std::string> kept;
  } cases[] = {
      {"a delete", {{1, "a", true}, {3, "c", true}, {4, "d", true}}, {"a", "c", "d"}},
      {"a move down, two records moved up",
       {{0, "a", true}, {1, "b", true}, {2, "c", true}, {4, "e", true}},
       {"b", "c", "a", "e"}},
      {"a move up, nothing moved yet",
       {{0, "d", true}, {1, "a", true}, {2, "b", true}},
       {"a", "b", "d"}},
      {"a spare record never finished",
       {{0, "x", false}, {1, "a", true}, {2, "b", true}},
       {"a", "b"}},
      {"a capture", {{1, "a", true}, {2, "b", true}, {3, "c", false}}, {"a", "b", "c"}},
  };
  const std::u16string recovered = storage_world_->PathOf(u"Quillet-recovered-20260304-050607.stg");
  clock_.now = {2026, 3, 4, 5, 6, 7};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cut_off);
    {
      std::unique_ptr<platform::Storage> leftover;
      ASSERT_EQ(files().CreateDocfile(TempStorage(), mode::kCreateRoot, leftover), kOk);
      for (const Record& r : c.records) {
        std::unique_ptr<platform::Storage> record;
        ASSERT_EQ(leftover->CreateStorage(ElementName(r.number), mode::kCreateElement, record),
                  kOk);
        WriteStream(*record, u"1", std::string(r.text) + '\0');
        if (r.header) WriteStream(*record, u"Header", "\"2026/03/04 05:06\",Text");
      }
    }
    dialogs_ = ScriptedDialogs();
    ASSERT_TRUE(Start());
    EXPECT_EQ(dialogs_.shown.size(), 1u);
    recorder_.reset();
    std::vector<std::string> kept;
    {
      std::unique_ptr<platform::Storage> root, record;
      ASSERT_EQ(files().OpenDocfile(recovered, mode::kOpenRoot, root), kOk);
      EXPECT_NE(root->OpenStorage(u"0", mode::kOpenForReading, record), kOk);
      for (int n = 1; root->OpenStorage(ElementName(n), mode::kOpenForReading, record) == kOk; ++n)
        kept.push_back(ReadStream(*record, u"1").c_str());
    }
    EXPECT_EQ(kept, c.kept);
    EXPECT_TRUE(files().Delete(recovered));
  }
}

TEST_P(RecorderTest, ALeftoverThatIsNotACompoundFileIsKeptAsItIs) {
  const std::string half_written("\xD0\xCF\x11\xE0 cut off", 12);
  storage_world_->WritePlainFile(TempStorage(), half_written);
  clock_.now = {2026, 3, 4, 5, 6, 7};
  ASSERT_TRUE(Start());
  const std::u16string recovered = storage_world_->PathOf(u"Quillet-recovered-20260304-050607.stg");
  EXPECT_EQ(storage_world_->ReadPlainFile(recovered), half_written);
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_EQ(
      dialogs_.shown[0].rfind(u"前回正常に終了しなかったときの記録はストレージとして開けない", 0),
      0u);
  EXPECT_NE(dialogs_.shown[0].find(recovered), std::u16string::npos);
  // Recording goes on in a new temporary storage.
  recorder_->FormActivate(true);
  CopyText("new run");
  EXPECT_EQ(TextOfRecord(1), "new run");
}

TEST_P(RecorderTest, ALeftoverWithoutRecordsIsSimplyReplaced) {
  {
    std::unique_ptr<platform::Storage> leftover;
    ASSERT_EQ(files().CreateDocfile(TempStorage(), mode::kCreateRoot, leftover), kOk);
  }
  ASSERT_TRUE(Start());
  EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_P(RecorderTest, ATemporaryStorageInUseElsewhereStopsTheStart) {
  std::unique_ptr<platform::Storage> held;
  ASSERT_EQ(files().CreateDocfile(TempStorage(), mode::kCreateRoot, held), kOk);
  EXPECT_FALSE(Start());
  EXPECT_FALSE(recorder_->HasStorage());
  EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_P(RecorderTest, NextViewerFollowsAViewerThatLeavesTheChain) {
  platform::testing::TestWindow& earlier = clipboard_world_->NewWindow();
  platform::testing::TestWindow& later = clipboard_world_->NewWindow();
  const platform::WindowId before = clipboard().SetViewer(later.id);
  EXPECT_EQ(clipboard().SetViewer(earlier.id), later.id);
  ASSERT_TRUE(Start());  // chain: recorder -> earlier -> later -> before
  EXPECT_EQ(recorder_->NextViewer(), earlier.id);

  // A viewer further down leaving is passed on to the next one.
  clipboard().ChangeChain(later.id, before);
  Pump();
  ASSERT_EQ(earlier.Count(platform::msg::kChangeCbChain), 1);
  EXPECT_EQ(recorder_->NextViewer(), earlier.id);

  // The next viewer leaving (having learnt that `later` left): the
  // recorder now talks to the one after it.
  clipboard().ChangeChain(earlier.id, before);
  Pump();
  EXPECT_EQ(recorder_->NextViewer(), before);
  EXPECT_TRUE(recorder_->FormClose());
}

TEST_P(RecorderTest, ChangeNotificationsArePassedDownTheChain) {
  platform::testing::TestWindow& next = clipboard_world_->NewWindow();
  const platform::WindowId before = clipboard().SetViewer(next.id);
  ASSERT_TRUE(Start());
  const int at_start = next.Count(platform::msg::kDrawClipboard);
  CopyText("x");
  EXPECT_EQ(next.Count(platform::msg::kDrawClipboard), at_start + 1);
  recorder_.reset();
  clipboard().ChangeChain(next.id, before);
}

}  // namespace
}  // namespace quill::core::testing
