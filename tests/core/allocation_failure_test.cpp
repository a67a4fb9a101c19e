// Memory running out while a copy is recorded: each allocation the
// recording makes is made to fail in turn, and the storage file must still
// hold every record made before it, read as another program would read
// it. The record being replaced is its old self or the new copy; under so
// little memory the new copy may lack a format whose stream could not be
// written, but never all of them (loading stops at an empty record).
#include <cstdlib>
#include <new>

#include "core/storage_modes.h"
#include "recorder_fixture.h"

namespace {
// Allocations left before one fails; below zero none does.
long allocations_left = -1;
bool allocation_failed = false;

void* Allocate(std::size_t size) {
  if (allocations_left >= 0 && allocations_left-- == 0) {
    allocation_failed = true;
    throw std::bad_alloc();
  }
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}
}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& nothrow) noexcept {
  return operator new(size, nothrow);
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

namespace quill::core::testing {
namespace {

class AllocationFailureTest : public RecorderTest {
 protected:
  // The text (format 1) of each record in the storage file, up to the
  // first record the program's loading stops at: one that is not there or
  // holds no format at all.
  std::vector<std::string> RecordsInFile() {
    std::vector<std::string> texts;
    std::unique_ptr<platform::Storage> root;
    if (files().OpenDocfile(TempStorage(), mode::kOpenRoot, root) != platform::kOk) return texts;
    for (int n = 1;; ++n) {
      std::unique_ptr<platform::Storage> record;
      std::unique_ptr<platform::ElementEnumerator> elements;
      const std::u16string name(1, static_cast<char16_t>(u'0' + n));
      if (root->OpenStorage(name, mode::kOpenForReading, record) != platform::kOk ||
          record->EnumElements(elements) != platform::kOk)
        return texts;
      bool holds_a_format = false;
      platform::ElementStat element;
      while (elements->Next(element) == platform::kOk) holds_a_format |= element.name != u"Header";
      if (!holds_a_format) return texts;
      const std::string text = ReadStream(*record, u"1");
      texts.push_back(text.substr(0, text.find('\0')));
    }
  }
};

TEST_P(AllocationFailureTest, NoFailedAllocationWhileRecordingCostsAnEarlierRecord) {
  int rounds_failed = 0;
  for (long fail_at = 0;; ++fail_at) {
    if (fail_at > 0) {
      TearDown();
      SetUp();
    }
    ASSERT_TRUE(Start());
    recorder_->FormActivate(true);
    recorder_->SetMaxRecords(3);
    for (const char* text : {"one", "two", "three"}) CopyText(text);
    // The ring is full: the fourth copy replaces record 1.
    Copy({Text("four")}, false);
    allocation_failed = false;
    allocations_left = fail_at;
    try {
      recorder_->WMCaptureClip();
    } catch (const std::bad_alloc&) {
      // What the window's command boundary shows the user.
    }
    allocations_left = -1;
    recorder_.reset();  // the file as the recorder left it
    const std::vector<std::string> texts = RecordsInFile();
    ASSERT_EQ(texts.size(), 3u) << "failing allocation " << fail_at;
    EXPECT_TRUE(texts[0] == "one" || texts[0] == "four" || texts[0] == "<none>" || texts[0].empty())
        << texts[0] << ", allocation " << fail_at;
    EXPECT_EQ(texts[1], "two") << "failing allocation " << fail_at;
    EXPECT_EQ(texts[2], "three") << "failing allocation " << fail_at;
    if (!allocation_failed) break;  // the recording needed no more allocations
    ++rounds_failed;
  }
  EXPECT_GT(rounds_failed, 10) << "the recording hardly allocated: the test tested nothing";
}

INSTANTIATE_TEST_SUITE_P(Worlds, AllocationFailureTest, ::testing::ValuesIn(AllWorlds()),
                         WorldName);

}  // namespace
}  // namespace quill::core::testing
