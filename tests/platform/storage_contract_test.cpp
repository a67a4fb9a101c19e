// The behaviour every compound-file implementation must show, run against
// the in-memory double and against ole32.
#include <string>
#include <vector>

#include "storage_contract.h"

namespace quill::platform::testing {
namespace {

std::vector<ElementStat> ListElements(Storage& storage) {
  std::vector<ElementStat> elements;
  std::unique_ptr<ElementEnumerator> enumerator;
  EXPECT_EQ(storage.EnumElements(enumerator), kOk);
  if (!enumerator) return elements;
  ElementStat element;
  while (enumerator->Next(element) == kOk) elements.push_back(element);
  return elements;
}

std::vector<std::u16string> Names(Storage& storage) {
  std::vector<std::u16string> names;
  for (const ElementStat& e : ListElements(storage)) names.push_back(e.name);
  return names;
}

void WriteStream(Storage& storage, const std::u16string& name, const std::string& bytes) {
  std::unique_ptr<Stream> stream;
  ASSERT_EQ(storage.CreateStream(name, kCreateChild, stream), kOk);
  std::uint32_t written = 0;
  ASSERT_EQ(stream->Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &written), kOk);
  EXPECT_EQ(written, bytes.size());
}

std::string ReadStream(Storage& storage, const std::u16string& name) {
  std::unique_ptr<Stream> stream;
  if (storage.OpenStream(name, kOpenChild, stream) != kOk) return "<missing>";
  std::string bytes(4096, '\0');
  std::uint32_t read = 0;
  EXPECT_EQ(stream->Read(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &read), kOk);
  bytes.resize(read);
  return bytes;
}

TEST_P(StorageContractWithFile, ElementsEnumerateShorterNamesFirstThenIgnoringCase) {
  for (const char16_t* name : {u"10", u"Header", u"b", u"1"}) WriteStream(*root_, name, "xyz");
  for (const char16_t* name : {u"A", u"9"}) NewChild(name);
  Reopen();
  const std::vector<ElementStat> elements = ListElements(*root_);
  ASSERT_EQ(elements.size(), 6u);
  const std::vector<std::u16string> expected = {u"1", u"9", u"A", u"b", u"10", u"Header"};
  for (std::size_t i = 0; i < elements.size(); ++i) {
    EXPECT_EQ(elements[i].name, expected[i]) << "element " << i;
    const bool storage = expected[i] == u"9" || expected[i] == u"A";
    EXPECT_EQ(elements[i].type, storage ? ElementType::kStorage : ElementType::kStream);
    if (!storage) {
      EXPECT_EQ(elements[i].size & 0xFFFFFFFFu, 3u);
    }
  }
}

TEST_P(StorageContractWithFile, StreamsKeepTheirBytesExactly) {
  std::unique_ptr<Storage> record = NewChild(u"1");
  const std::string data("\0\1\2 text\r\n\xFF", 11);
  WriteStream(*record, u"13", data);
  WriteStream(*record, u"Header", "");
  record.reset();
  Reopen();
  ASSERT_EQ(root_->OpenStorage(u"1", kOpenChild, record), kOk);
  EXPECT_EQ(ReadStream(*record, u"13"), data);
  EXPECT_EQ(ReadStream(*record, u"Header"), "");
  const std::vector<ElementStat> elements = ListElements(*record);
  ASSERT_EQ(elements.size(), 2u);
  EXPECT_EQ(elements[0].size, data.size());
}

TEST_P(StorageContractWithFile, CreatingAnElementAgainReplacesItWithAllItsContent) {
  {
    std::unique_ptr<Storage> record = NewChild(u"5");
    WriteStream(*record, u"1", "old text");
    WriteStream(*record, u"8", "old picture");
  }
  {
    std::unique_ptr<Storage> record = NewChild(u"5");
    ASSERT_TRUE(record);
    EXPECT_TRUE(Names(*record).empty());
    WriteStream(*record, u"13", "new");
  }
  // A stream may replace a storage of the same name, too.
  NewChild(u"7");
  WriteStream(*root_, u"7", "now a stream");
  Reopen();
  std::unique_ptr<Storage> record;
  ASSERT_EQ(root_->OpenStorage(u"5", kOpenChild, record), kOk);
  EXPECT_EQ(Names(*record), std::vector<std::u16string>{u"13"});
  EXPECT_EQ(ReadStream(*root_, u"7"), "now a stream");
}

TEST_P(StorageContractWithFile, ARenameNeedsAFreeName) {
  {
    std::unique_ptr<Storage> one = NewChild(u"1");
    WriteStream(*one, u"1", "first");
  }
  {
    std::unique_ptr<Storage> two = NewChild(u"2");
    WriteStream(*two, u"1", "second");
  }
  EXPECT_NE(root_->RenameElement(u"1", u"2"), kOk);
  EXPECT_NE(root_->RenameElement(u"3", u"4"), kOk);
  EXPECT_EQ(root_->RenameElement(u"1", u"0"), kOk);
  EXPECT_EQ(root_->RenameElement(u"2", u"1"), kOk);
  EXPECT_EQ(root_->RenameElement(u"0", u"2"), kOk);
  Reopen();
  EXPECT_EQ(Names(*root_), (std::vector<std::u16string>{u"1", u"2"}));
  std::unique_ptr<Storage> record;
  ASSERT_EQ(root_->OpenStorage(u"1", kOpenChild, record), kOk);
  EXPECT_EQ(ReadStream(*record, u"1"), "second");
}

TEST_P(StorageContractWithFile, DestroyRemovesAnElementWithItsContent) {
  {
    std::unique_ptr<Storage> record = NewChild(u"1");
    WriteStream(*record, u"1", "gone");
  }
  NewChild(u"2");
  EXPECT_EQ(root_->DestroyElement(u"1"), kOk);
  EXPECT_NE(root_->DestroyElement(u"1"), kOk);
  EXPECT_NE(root_->DestroyElement(u"3"), kOk);
  Reopen();
  EXPECT_EQ(Names(*root_), std::vector<std::u16string>{u"2"});
  std::unique_ptr<Storage> record;
  EXPECT_NE(root_->OpenStorage(u"1", kOpenChild, record), kOk);
}

TEST_P(StorageContractWithFile, ChildrenOpenedForReadingCannotBeChanged) {
  {
    std::unique_ptr<Storage> record = NewChild(u"1");
    WriteStream(*record, u"1", "text");
  }
  std::unique_ptr<Storage> record;
  ASSERT_EQ(root_->OpenStorage(u"1", kOpenChild, record), kOk);
  std::unique_ptr<Stream> stream;
  ASSERT_EQ(record->OpenStream(u"1", kOpenChild, stream), kOk);
  std::uint32_t written = 0;
  EXPECT_NE(stream->Write("x", 1, &written), kOk);
  std::unique_ptr<Stream> created;
  EXPECT_NE(record->CreateStream(u"2", kCreateChild, created), kOk);
  EXPECT_NE(record->OpenStream(u"9", kOpenChild, stream), kOk);
}

TEST_P(StorageContractWithFile, CommitKeepsWhatWasWritten) {
  WriteStream(*NewChild(u"1"), u"1", "kept");
  EXPECT_EQ(root_->Commit(0), kOk);
  Reopen();
  std::unique_ptr<Storage> record;
  ASSERT_EQ(root_->OpenStorage(u"1", kOpenChild, record), kOk);
  EXPECT_EQ(ReadStream(*record, u"1"), "kept");
}

TEST_P(StorageContractWithFile, ATransactedRootChangesTheFileOnlyWhenItCommits) {
  WriteStream(*NewChild(u"1"), u"1", "first");
  WriteStream(*NewChild(u"2"), u"1", "second");
  root_.reset();
  for (const bool commit : {false, true}) {
    ASSERT_EQ(world_->files().OpenDocfile(path_, kOpenRoot | stgm::kTransacted, root_), kOk);
    ASSERT_EQ(root_->DestroyElement(u"1"), kOk);
    ASSERT_EQ(root_->RenameElement(u"2", u"1"), kOk);
    EXPECT_EQ(Names(*root_), std::vector<std::u16string>{u"1"});
    if (commit) {
      EXPECT_EQ(root_->Commit(0), kOk);
    }
    Reopen();
    std::unique_ptr<Storage> record;
    ASSERT_EQ(root_->OpenStorage(u"1", kOpenChild, record), kOk);
    EXPECT_EQ(ReadStream(*record, u"1"), commit ? "second" : "first") << commit;
    EXPECT_EQ(Names(*root_).size(), commit ? 1u : 2u);
    record.reset();
    root_.reset();
  }
}

TEST_P(StorageContractWithFile, TheFileStaysOpenUntilTheRootIsReleased) {
  StorageFiles& files = world_->files();
  std::unique_ptr<Storage> second;
  const HResult held = files.OpenDocfile(path_, kOpenRoot, second);
  EXPECT_TRUE(IsInUse(held)) << std::hex << held;
  EXPECT_FALSE(files.Delete(path_));
  root_.reset();
  ASSERT_EQ(files.OpenDocfile(path_, kOpenRoot, second), kOk);
  second.reset();
  EXPECT_TRUE(files.Delete(path_));
  EXPECT_FALSE(files.Exists(path_));
  EXPECT_NE(files.OpenDocfile(path_, kOpenRoot, second), kOk);
}

TEST_P(StorageContractWithFile, CreatingTheFileAgainReplacesIt) {
  WriteStream(*NewChild(u"1"), u"1", "old");
  root_.reset();
  ASSERT_EQ(world_->files().CreateDocfile(path_, kCreateRoot, root_), kOk);
  EXPECT_TRUE(Names(*root_).empty());
  Reopen();
  EXPECT_TRUE(Names(*root_).empty());
}

TEST_P(StorageContractWithFile, AClosedFileMovesToAFreeName) {
  StorageFiles& files = world_->files();
  WriteStream(*NewChild(u"1"), u"1", "moved");
  root_.reset();
  const std::u16string target = world_->PathOf(u"saved.stg");
  ASSERT_TRUE(files.Move(path_, target));
  EXPECT_FALSE(files.Exists(path_));
  ASSERT_TRUE(files.Exists(target));
  // A taken name refuses the move.
  ASSERT_EQ(files.CreateDocfile(path_, kCreateRoot, root_), kOk);
  root_.reset();
  EXPECT_FALSE(files.Move(path_, target));
  ASSERT_EQ(files.OpenDocfile(target, kOpenRoot, root_), kOk);
  std::unique_ptr<Storage> record;
  ASSERT_EQ(root_->OpenStorage(u"1", kOpenChild, record), kOk);
  EXPECT_EQ(ReadStream(*record, u"1"), "moved");
}

TEST_P(StorageContractWithFile, ReplaceOverwritesAClosedFileButNotAnOpenOne) {
  StorageFiles& files = world_->files();
  WriteStream(*NewChild(u"1"), u"1", "new");
  root_.reset();
  const std::u16string target = world_->PathOf(u"target.stg");
  std::unique_ptr<Storage> held;
  ASSERT_EQ(files.CreateDocfile(target, kCreateRoot, held), kOk);
  EXPECT_FALSE(files.Replace(path_, target));  // the target is in use
  EXPECT_TRUE(files.Exists(path_));
  held.reset();
  ASSERT_TRUE(files.Replace(path_, target));
  EXPECT_FALSE(files.Exists(path_));
  ASSERT_EQ(files.OpenDocfile(target, kOpenRoot, root_), kOk);
  std::unique_ptr<Storage> record;
  ASSERT_EQ(root_->OpenStorage(u"1", kOpenChild, record), kOk);
  EXPECT_EQ(ReadStream(*record, u"1"), "new");
}

TEST_P(StorageContract, AFileThatIsNotACompoundFileDoesNotOpenButMovesWithItsBytes) {
  StorageFiles& files = world_->files();
  const std::u16string path = world_->PathOf(u"half.stg");
  const std::string bytes("half written\0\xD0\xCF\x11", 16);
  world_->WritePlainFile(path, bytes);
  std::unique_ptr<Storage> root;
  const HResult result = files.OpenDocfile(path, kOpenRoot, root);
  EXPECT_NE(result, kOk);
  EXPECT_FALSE(IsInUse(result)) << std::hex << result;
  EXPECT_FALSE(root);
  EXPECT_TRUE(files.Exists(path));
  const std::u16string kept = world_->PathOf(u"kept.stg");
  ASSERT_TRUE(files.Move(path, kept));
  EXPECT_EQ(world_->ReadPlainFile(kept), bytes);
  // Created anew with kCreate, it becomes an empty compound file.
  ASSERT_EQ(files.CreateDocfile(kept, kCreateRoot, root), kOk);
  EXPECT_TRUE(Names(*root).empty());
}

TEST_P(StorageContract, AMissingFileDoesNotOpen) {
  std::unique_ptr<Storage> root;
  EXPECT_NE(world_->files().OpenDocfile(world_->PathOf(u"absent.stg"), kOpenRoot, root), kOk);
  EXPECT_FALSE(root);
  EXPECT_FALSE(world_->files().Delete(world_->PathOf(u"absent.stg")));
}

}  // namespace
}  // namespace quill::platform::testing
