// The system's compound files as the recorder makes them: large sectors,
// so that a picture of megabytes is written and read in few file calls.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/win32/win32_storage.h"

namespace quill::platform {
namespace {

TEST(Win32Storage, NewFilesHave4096ByteSectorsAndKeepLargeStreamsWhole) {
  wchar_t folder[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, folder);
  const std::wstring path =
      std::wstring(folder) + L"quill-sectors-" + std::to_wstring(::GetCurrentProcessId()) + L".stg";
  const std::u16string name(path.begin(), path.end());
  std::vector<std::uint8_t> bytes(3 * 1024 * 1024 + 17);
  for (std::size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 4096);
  Win32StorageFiles files;
  {
    std::unique_ptr<Storage> root;
    ASSERT_EQ(
        files.CreateDocfile(name, stgm::kCreate | stgm::kShareExclusive | stgm::kReadWrite, root),
        kOk);
    std::unique_ptr<Stream> stream;
    ASSERT_EQ(
        root->CreateStream(u"8", stgm::kCreate | stgm::kShareExclusive | stgm::kWrite, stream),
        kOk);
    std::uint32_t written = 0;
    ASSERT_EQ(stream->Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &written), kOk);
  }
  std::vector<std::uint8_t> image(512);
  DWORD read_header = 0;
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  ::ReadFile(file, image.data(), 512, &read_header, nullptr);
  ::CloseHandle(file);
  image.resize(read_header);
  ASSERT_GE(image.size(), 512u);
  EXPECT_EQ(image[0x1A], 4) << "major version";
  EXPECT_EQ(image[0x1E], 12) << "sector shift";
  {
    std::unique_ptr<Storage> root;
    ASSERT_EQ(files.OpenDocfile(name, stgm::kShareExclusive | stgm::kReadWrite, root), kOk);
    std::unique_ptr<Stream> stream;
    ASSERT_EQ(root->OpenStream(u"8", stgm::kShareExclusive | stgm::kRead, stream), kOk);
    std::vector<std::uint8_t> read(bytes.size());
    std::uint32_t count = 0;
    ASSERT_EQ(stream->Read(read.data(), static_cast<std::uint32_t>(read.size()), &count), kOk);
    EXPECT_EQ(count, bytes.size());
    EXPECT_TRUE(read == bytes);
  }
  ::DeleteFileW(path.c_str());
}

}  // namespace
}  // namespace quill::platform
