// The ring of records: numbering, overwriting, deleting, reordering and
// loading a storage file.
#include <functional>
#include <numeric>
#include <vector>

#include "core/storage_modes.h"
#include "recorder_fixture.h"

namespace quill::core::testing {
namespace {

using platform::kOk;

class RingTest : public RecorderTest {
 protected:
  void SetUp() override {
    RecorderTest::SetUp();
    ASSERT_TRUE(Start());
    recorder_->FormActivate(true);
  }
  void CopyTexts(std::initializer_list<std::string> texts) {
    for (const std::string& text : texts) CopyText(text);
  }
  std::vector<std::string> RecordTexts() {
    std::vector<std::string> texts;
    for (int n = 1; n <= recorder_->RecordCount(); ++n) texts.push_back(TextOfRecord(n));
    return texts;
  }
  std::vector<std::string> RowContents() {
    std::vector<std::string> contents;
    for (const ListRow& row : view_->rows) contents.push_back(row.content);
    return contents;
  }
  std::vector<std::string> RowCaptions() {
    std::vector<std::string> captions;
    for (const ListRow& row : view_->rows) captions.push_back(row.caption);
    return captions;
  }
  using Texts = std::vector<std::string>;
  // A new recorder over a new temporary storage, with a new window.
  void Restart() {
    recorder_.reset();
    view_ = std::make_unique<FakeView>(clipboard(), window_->id);
    dialogs_ = ScriptedDialogs();
    ASSERT_TRUE(Start());
    recorder_->FormActivate(true);
  }
  // The numbers, 0 to 9, under which the storage holds a record.
  std::vector<int> StoredNumbers() {
    std::vector<int> numbers;
    std::string date;
    for (int n = 0; n <= 9; ++n)
      if (recorder_->ReadRecord(n, false, date) >= 0) numbers.push_back(n);
    Pump();
    return numbers;
  }
};

TEST_P(RingTest, AFullRingOverwritesTheRecordAfterTheCurrentOne) {
  recorder_->SetMaxRecords(3);
  CopyTexts({"one", "two", "three", "four"});
  EXPECT_EQ(recorder_->RecordCount(), 3);
  EXPECT_EQ(recorder_->CurrentNo(), 1);
  EXPECT_EQ(RowContents(), (Texts{"four", "two", "three"}));
  EXPECT_EQ(view_->rows[0].caption, " 001");

  recorder_->SetCurrentNo(1);
  recorder_->MovePosition(true);
  Pump();
  CopyText("five");
  EXPECT_EQ(recorder_->CurrentNo(), 2);
  EXPECT_EQ(RecordTexts(), (Texts{"four", "five", "three"}));
  EXPECT_EQ(view_->rows.size(), 3u);
}

TEST_P(RingTest, ALoweredRingSizeKeepsTheSurplusRecords) {
  CopyTexts({"1", "2", "3", "4", "5"});
  recorder_->MaxEditChange(u"3");
  CopyTexts({"six", "seven"});
  EXPECT_EQ(recorder_->RecordCount(), 5);
  EXPECT_EQ(RecordTexts(), (Texts{"six", "seven", "3", "4", "5"}));
}

TEST_P(RingTest, ARingOfSizeZeroRewritesRecordOneAndClosesWithoutAsking) {
  recorder_->MaxEditChange(u"");
  EXPECT_EQ(recorder_->MaxRecords(), 0);
  CopyTexts({"a", "b"});
  EXPECT_EQ(recorder_->RecordCount(), 0);
  EXPECT_EQ(recorder_->CurrentNo(), 1);
  EXPECT_EQ(TextOfRecord(1), "b");
  EXPECT_TRUE(recorder_->FormClose());
  EXPECT_TRUE(dialogs_.shown.empty());
  EXPECT_FALSE(files().Exists(TempStorage()));
}

TEST_P(RingTest, CountersStayConsistentThroughCapturesDeletesAndRingSizes) {
  // Steps: a digit sets the ring size, "c" copies, "d" deletes the current
  // record. Expected: CurrentNo, RecordCount (also in the caption), the
  // record numbers stored, and whether closing asks to save.
  const struct {
    const char* steps;
    int current, count;
    std::vector<int> stored;
    bool asks;
  } cases[] = {
      {"0c", 1, 0, {1}, false},   {"0cc", 1, 0, {1}, false},    {"0cd", 0, 0, {}, false},
      {"0cdc", 1, 0, {1}, false}, {"0cdd", 0, 0, {}, false},    {"0cd3cc", 2, 2, {1, 2}, true},
      {"0c3c", 1, 1, {1}, true},  {"cc0c", 1, 2, {1, 2}, true}, {"cc0cd", 1, 1, {1}, true},
      {"cd", 0, 0, {}, false},    {"ccdd", 0, 0, {}, false},    {"ccc2cd", 1, 2, {1, 2}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.steps);
    Restart();
    int copies = 0;
    for (const char* step = c.steps; *step; ++step) {
      if (*step == 'c') {
        CopyText("copy " + std::to_string(++copies));
      } else if (*step == 'd') {
        recorder_->MenuDelClick();
      } else {
        recorder_->MaxEditChange(std::u16string(1, static_cast<char16_t>(*step)));
      }
      Pump();
    }
    EXPECT_EQ(recorder_->CurrentNo(), c.current);
    EXPECT_EQ(recorder_->RecordCount(), c.count);
    EXPECT_EQ(view_->counter, std::pair(c.current, c.count));
    EXPECT_EQ(StoredNumbers(), c.stored);
    EXPECT_EQ(view_->rows.size(), c.stored.size());
    dialogs_.answers = {platform::answer::kNo};
    EXPECT_TRUE(recorder_->FormClose());
    EXPECT_EQ(dialogs_.shown.size(), c.asks ? 1u : 0u);
  }
}

TEST_P(RingTest, OverwritingARecordRemovesAllItsFormerStreams) {
  const unsigned rich = Register("Quilleteer Test Rich");
  recorder_->SetMaxRecords(1);
  Copy({Text("old"), {rich, "rich"}});
  Copy({{rich, "only"}});
  std::string date;
  recorder_->ReadRecord(1, false, date);
  EXPECT_EQ(ClipboardFormats(), std::vector<unsigned>{rich});
  EXPECT_EQ(view_->display_menu, (Texts{"2026/12/07 09:05", "Quilleteer Test Rich"}));
}

TEST_P(RingTest, DeletingRenumbersTheRecordsAbove) {
  CopyTexts({"a", "b", "c", "d"});
  recorder_->SetCurrentNo(2);
  recorder_->MenuDelClick();
  Pump();
  EXPECT_EQ(recorder_->RecordCount(), 3);
  EXPECT_EQ(recorder_->CurrentNo(), 2);
  EXPECT_EQ(RowCaptions(), (Texts{" 001", " 002", " 003"}));
  EXPECT_EQ(RowContents(), (Texts{"a", "c", "d"}));
  EXPECT_EQ(view_->memo, "c");  // the record now numbered 2 is shown
  EXPECT_EQ(RecordTexts(), (Texts{"a", "c", "d"}));

  // The last record: its predecessor becomes current.
  recorder_->SetCurrentNo(3);
  recorder_->MenuDelClick();
  EXPECT_EQ(recorder_->CurrentNo(), 2);
  EXPECT_EQ(RecordTexts(), (Texts{"a", "c"}));
}

TEST_P(RingTest, DeletingTheOnlyRecordEmptiesListAndClipboard) {
  CopyText("alone");
  recorder_->MenuDelClick();
  Pump();
  EXPECT_EQ(recorder_->CurrentNo(), 0);
  EXPECT_EQ(recorder_->RecordCount(), 0);
  EXPECT_TRUE(view_->rows.empty());
  EXPECT_TRUE(ClipboardFormats().empty());
  EXPECT_FALSE(view_->formatted_write);
  EXPECT_FALSE(view_->export_enabled);
  EXPECT_FALSE(view_->link_mode);
  EXPECT_EQ(view_->memo, "");
  // Emptying the clipboard is no record either.
  EXPECT_EQ(recorder_->RecordCount(), 0);
}

TEST_P(RingTest, DraggingARecordInsertsItBeforeTheTarget) {
  CopyTexts({"a", "b", "c", "d", "e"});
  recorder_->SetCurrentNo(2);  // drag "b" down onto "e": it lands before it
  recorder_->ListViewDragDrop(5);
  Pump();
  EXPECT_EQ(RecordTexts(), (Texts{"a", "c", "d", "b", "e"}));
  EXPECT_EQ(RowContents(), (Texts{"a", "c", "d", "b", "e"}));
  EXPECT_EQ(RowCaptions(), (Texts{" 001", " 002", " 003", " 004", " 005"}));
  EXPECT_EQ(recorder_->CurrentNo(), 2);
  EXPECT_EQ(view_->memo, "c");  // the record that now has the current number

  recorder_->SetCurrentNo(4);  // drag "b" up onto "a"
  recorder_->ListViewDragDrop(1);
  EXPECT_EQ(RecordTexts(), (Texts{"b", "a", "c", "d", "e"}));
  EXPECT_EQ(RowContents(), (Texts{"b", "a", "c", "d", "e"}));

  recorder_->SetCurrentNo(2);  // just below itself, or onto itself: nothing moves
  recorder_->ListViewDragDrop(3);
  recorder_->ListViewDragDrop(2);
  recorder_->ListViewDragDrop(0);
  EXPECT_EQ(RecordTexts(), (Texts{"b", "a", "c", "d", "e"}));
}

class LoadTest : public RecorderTest {
 protected:
  // A storage file made element by element, as another program would.
  std::u16string MakeFile(const std::vector<int>& records) {
    const std::u16string path = storage_world_->PathOf(u"made.stg");
    std::unique_ptr<platform::Storage> root;
    EXPECT_EQ(files().CreateDocfile(path, mode::kCreateRoot, root), kOk);
    for (int n : records) {
      std::unique_ptr<platform::Storage> record;
      EXPECT_EQ(root->CreateStorage(ElementNameOf(n), mode::kCreateElement, record), kOk);
      const std::string text = "record " + std::to_string(n);
      WriteStream(*record, u"1", text + '\0');
      WriteStream(*record, u"Header", "\"2001/02/03 04:05\",Text");
    }
    return path;
  }
  using Texts = std::vector<std::string>;
  static constexpr char kDate[] = "2001/02/03 04:05";
  // Opens the file in a new recorder, and closes it again. The rows
  // loaded; `message` is the one box expected (nullptr: none; "": any).
  // The file's bytes must be the same afterwards.
  Texts OpenAndRelease(const std::u16string& path, const char16_t* message) {
    const std::string before = storage_world_->ReadPlainFile(path);
    recorder_.reset();
    view_ = std::make_unique<FakeView>(clipboard(), window_->id);
    dialogs_ = ScriptedDialogs();
    EXPECT_TRUE(Start());
    dialogs_.open_paths.push_back(path);
    recorder_->OpenBtnClick();
    Pump();
    Texts rows;
    for (const ListRow& row : view_->rows) rows.push_back(row.content);
    if (!message) {
      EXPECT_TRUE(dialogs_.shown.empty());
    } else if (*message) {
      EXPECT_EQ(dialogs_.shown, std::vector<std::u16string>{message});
    }
    if (!rows.empty()) {
      EXPECT_EQ(view_->memo, rows[0]);
    }
    recorder_.reset();
    EXPECT_EQ(storage_world_->ReadPlainFile(path), before);
    return rows;
  }
  static std::u16string ElementNameOf(int n) {
    const std::string s = std::to_string(n);
    return std::u16string(s.begin(), s.end());
  }
};

TEST_P(LoadTest, LoadingStopsAtTheFirstMissingNumber) {
  ASSERT_TRUE(Start());
  recorder_->FormActivate(true);
  dialogs_.open_paths.push_back(MakeFile({1, 2, 4}));
  recorder_->OpenBtnClick();
  Pump();
  EXPECT_EQ(dialogs_.filters.at(0), u"ストレージ(*.stg)|*.stg");
  EXPECT_EQ(recorder_->RecordCount(), 2);
  EXPECT_EQ(recorder_->CurrentNo(), 1);
  ASSERT_EQ(view_->rows.size(), 2u);
  EXPECT_EQ(view_->rows[1].content, "record 2");
  EXPECT_EQ(view_->rows[1].date, "2001/02/03 04:05");
  EXPECT_EQ(view_->memo, "record 1");
  EXPECT_EQ(view_->selected, 0);
  // The rows are filled inside one loading bracket that counts them.
  EXPECT_EQ(view_->loading, (std::vector<int>{-1, 1, 2, -2}));
  EXPECT_TRUE(recorder_->StorageName().empty());
  // Loading recorded nothing new.
  EXPECT_EQ(recorder_->RecordCount(), 2);
  EXPECT_FALSE(files().Exists(TempStorage()));
}

TEST_P(LoadTest, AFullRingOf999RecordsLoadsWholeAndRecordsNothing) {
  ASSERT_TRUE(Start());
  recorder_->FormActivate(true);
  std::vector<int> numbers(999);
  std::iota(numbers.begin(), numbers.end(), 1);
  dialogs_.open_paths.push_back(MakeFile(numbers));
  const std::uint32_t before = clipboard().SequenceNumber();
  recorder_->OpenBtnClick();
  Pump();
  // Other programs watching the clipboard see one change, not 999 passes.
  EXPECT_LT(clipboard().SequenceNumber() - before, 10u);
  EXPECT_EQ(recorder_->RecordCount(), 999);
  EXPECT_EQ(recorder_->CurrentNo(), 1);
  ASSERT_EQ(view_->rows.size(), 999u);
  EXPECT_EQ(view_->rows[998].caption, " 999");
  EXPECT_EQ(view_->rows[998].content, "record 999");
  EXPECT_EQ(view_->selected, 0);
  // The clipboard ends holding record 1, and nothing was recorded.
  EXPECT_EQ(view_->ClipboardText(), "record 1");
  EXPECT_EQ(view_->memo, "record 1");
  EXPECT_EQ(view_->loading.size(), 999u + 2);
}

// Storages damaged, or made by other programs: opening one loads the sound
// records up to the first that cannot be loaded (or says the file cannot be
// opened), shows them as they are stored, and writes nothing into the file.
TEST_P(LoadTest, DamagedStoragesLoadWhatIsSoundAndAreNotWritten) {
  using Change = std::function<void(platform::Storage & root, platform::Storage & record_2)>;
  const auto header = [](const std::string& text) {
    return [text](platform::Storage&, platform::Storage& r) {
      ASSERT_EQ(r.DestroyElement(u"Header"), kOk);
      if (!text.empty()) WriteStream(r, u"Header", text);
    };
  };
  const auto stream = [](const std::u16string& name, std::size_t size) {
    return [name, size](platform::Storage&, platform::Storage& r) {
      r.DestroyElement(name);
      WriteStream(r, name, std::string(size, 'x'));
    };
  };
  const Texts sound = {"record 1", "record 2", "record 3"};
  const struct {
    const char* file;
    Change change;
    Texts rows;
    std::string date_2;
  } cases[] = {
      {"record 2 without a Header", header(""), sound, ""},
      {"a Header with an unterminated quote", header("\"2001/02/03 04:05,Text"), sound,
       "2001/02/03 04:05,Text"},
      {"a text stream of 0 bytes", stream(u"1", 0), {"record 1", "", "record 3"}, kDate},
      {"a stream of 100 MB", stream(u"600", 100u << 20), sound, kDate},
      {"names that are not numbers",
       [](platform::Storage& root, platform::Storage& r) {
         std::unique_ptr<platform::Storage> other;
         for (const char16_t* name : {u"x", u"01", u"2a", u"-3"})
           ASSERT_EQ(root.CreateStorage(name, mode::kCreateElement, other), kOk);
         WriteStream(r, u"text", "not a format");
       },
       sound, kDate},
      {"record 2 without a format stream",
       [](platform::Storage&, platform::Storage& r) { ASSERT_EQ(r.DestroyElement(u"1"), kOk); },
       {"record 1"},
       ""},
      {"record 2 a stream",
       [](platform::Storage& root, platform::Storage&) {
         ASSERT_EQ(root.DestroyElement(u"2"), kOk);
         WriteStream(root, u"2", "record 2");
       },
       {"record 1"},
       ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const std::u16string path = MakeFile({1, 2, 3});
    {
      std::unique_ptr<platform::Storage> root, record;
      ASSERT_EQ(files().OpenDocfile(path, mode::kOpenRoot, root), kOk);
      ASSERT_EQ(root->OpenStorage(u"2", mode::kOpenRoot, record), kOk);
      c.change(*root, *record);
    }
    const Texts rows = OpenAndRelease(path, nullptr);
    EXPECT_EQ(rows, c.rows);
    if (rows.size() > 1) {
      EXPECT_EQ(view_->rows[1].date, c.date_2);
    }
  }
  // Files that are not whole compound files.
  const std::u16string path = MakeFile({1, 2, 3});
  const std::string whole = storage_world_->ReadPlainFile(path);
  for (const std::string& bytes : {std::string(), std::string("\xD0\xCF\x11\xE0 cut off", 12)}) {
    storage_world_->WritePlainFile(path, bytes);
    EXPECT_EQ(OpenAndRelease(path, u"ストレージを開けません"), Texts{});
  }
  // Cut in half: it cannot be opened, or what loads is sound and the user
  // is told where the load stopped.
  storage_world_->WritePlainFile(path, whole.substr(0, whole.size() / 2));
  const Texts rows = OpenAndRelease(path, u"");
  EXPECT_EQ(rows, Texts(sound.begin(), sound.begin() + static_cast<std::ptrdiff_t>(rows.size())));
  if (rows.size() < sound.size()) {
    EXPECT_EQ(dialogs_.shown.size(), 1u);
  }
}

TEST_P(LoadTest, AtMostARingFullIsLoadedAndTheFileIsWorkedOnInPlace) {
  ASSERT_TRUE(Start());
  const std::u16string path = MakeFile({1, 2, 3});
  recorder_->SetMaxRecords(2);
  dialogs_.open_paths.push_back(path);
  recorder_->OpenBtnClick();
  EXPECT_EQ(recorder_->RecordCount(), 2);
  recorder_->FormActivate(true);
  CopyText("new");  // the ring is full: goes after the current record 1
  EXPECT_EQ(TextOfRecord(2), "new");
  // Closing a user's file asks nothing and leaves it where it is.
  EXPECT_TRUE(recorder_->FormClose());
  EXPECT_TRUE(dialogs_.shown.empty());
  EXPECT_TRUE(files().Exists(path));
}

TEST_P(LoadTest, AFileThatCannotBeOpenedLeavesAFreshTemporaryStorage) {
  ASSERT_TRUE(Start());
  dialogs_.open_paths.push_back(storage_world_->PathOf(u"missing.stg"));
  recorder_->OpenBtnClick();
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_EQ(dialogs_.shown[0], u"ストレージを開けません");
  EXPECT_TRUE(recorder_->HasStorage());
  EXPECT_EQ(recorder_->StorageName(), TempStorage());
  EXPECT_FALSE(view_->memo_visible);
}

INSTANTIATE_TEST_SUITE_P(Worlds, RingTest, ::testing::ValuesIn(AllWorlds()), WorldName);
INSTANTIATE_TEST_SUITE_P(Worlds, LoadTest, ::testing::ValuesIn(AllWorlds()), WorldName);

}  // namespace
}  // namespace quill::core::testing
