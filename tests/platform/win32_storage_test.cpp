// The system's compound files as the recorder makes them: large sectors,
// so that a picture of megabytes is written and read in few file calls.
#include <windows.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/win32/cached_file_bytes.h"
#include "platform/win32/win32_storage.h"

namespace quill::platform {
namespace {

std::wstring TempPath(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + name + std::to_wstring(::GetCurrentProcessId()) + L".stg";
}

TEST(Win32Storage, NewFilesHave4096ByteSectorsAndKeepLargeStreamsWhole) {
  const std::wstring path = TempPath(L"quill-sectors-");
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

// The file's bytes through a cache of a few tiny pages, against a plain
// copy: reads see every write, across pages, after pages were pushed out,
// after the file grew (with a gap) or was cut, and a read past the end is
// a fault; the file itself, read by another handle, always holds what was
// written.
TEST(CachedFileBytes, ReadsAndTheFileFollowEveryWriteAndSizeChange) {
  const std::wstring path = TempPath(L"quill-cache-");
  std::vector<std::uint8_t> model(100);
  for (std::size_t i = 0; i < model.size(); ++i) model[i] = static_cast<std::uint8_t>(i);
  {
    const HANDLE file =
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, model.data(), static_cast<DWORD>(model.size()), &written, nullptr);
    ::CloseHandle(file);
  }
  Microsoft::WRL::ComPtr<ILockBytes> bytes;
  ASSERT_EQ(CachedFileBytes::Open(path, STGM_READWRITE | STGM_SHARE_DENY_NONE, bytes.GetAddressOf(),
                                  16, 3),
            S_OK);
  const HANDLE other = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  std::uint32_t seed = 12345;
  const auto next = [&seed](std::uint32_t below) {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) % below;
  };
  for (int step = 0; step < 3000; ++step) {
    const std::uint32_t kind = next(10);
    ULARGE_INTEGER at = {};
    if (kind < 4) {
      at.QuadPart = next(static_cast<std::uint32_t>(model.size()) + 40);
      std::vector<std::uint8_t> data(1 + next(60));
      for (std::uint8_t& b : data) b = static_cast<std::uint8_t>(next(256));
      ULONG written = 0;
      ASSERT_EQ(bytes->WriteAt(at, data.data(), static_cast<ULONG>(data.size()), &written), S_OK);
      ASSERT_EQ(written, data.size());
      if (model.size() < at.QuadPart + data.size()) model.resize(at.QuadPart + data.size());
      std::copy(data.begin(), data.end(), model.begin() + static_cast<std::ptrdiff_t>(at.QuadPart));
    } else if (kind == 4) {
      at.QuadPart = next(static_cast<std::uint32_t>(model.size()) + 50);
      ASSERT_EQ(bytes->SetSize(at), S_OK);
      model.resize(at.QuadPart);
    } else {
      at.QuadPart = next(static_cast<std::uint32_t>(model.size()) + 20);
      std::vector<std::uint8_t> data(1 + next(80));  // up to five pages, read past the cache
      ULONG read = 0;
      const HRESULT result = bytes->ReadAt(at, data.data(), static_cast<ULONG>(data.size()), &read);
      const std::size_t expected =
          at.QuadPart >= model.size()
              ? 0
              : std::min<std::size_t>(data.size(), model.size() - at.QuadPart);
      // Past the end: what is there, and a read fault.
      ASSERT_EQ(result, expected == data.size() ? S_OK : STG_E_READFAULT) << "step " << step;
      ASSERT_EQ(read, expected) << "step " << step;
      ASSERT_TRUE(std::equal(data.begin(), data.begin() + read,
                             model.begin() + static_cast<std::ptrdiff_t>(at.QuadPart)))
          << "step " << step;
    }
    if (step % 100 == 99) {
      std::vector<std::uint8_t> file(model.size() + 1);
      DWORD read = 0;
      ::SetFilePointer(other, 0, nullptr, FILE_BEGIN);
      ::ReadFile(other, file.data(), static_cast<DWORD>(file.size()), &read, nullptr);
      file.resize(read);
      ASSERT_TRUE(file == model) << "step " << step;
    }
  }
  STATSTG stat = {};
  ASSERT_EQ(bytes->Stat(&stat, STATFLAG_NONAME), S_OK);
  EXPECT_EQ(stat.cbSize.QuadPart, model.size());
  ::CloseHandle(other);
  ILockBytes* missing = nullptr;
  EXPECT_EQ(CachedFileBytes::Open(TempPath(L"quill-absent-"), STGM_READ, &missing),
            STG_E_FILENOTFOUND);
  EXPECT_EQ(missing, nullptr);
  ::DeleteFileW(path.c_str());
}

}  // namespace
}  // namespace quill::platform
