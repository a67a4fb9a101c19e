#pragma once
// A compound file's bytes as the storage library reads and writes them,
// with reads served from a bounded cache of the file's pages.
//
// The library reads a file one sector (512 or 4096 bytes) at a time, and
// looking up an element walks directory entries scattered over the file:
// opening a storage of a thousand records makes hundreds of thousands of
// small reads, each a call into the system. Served from memory they cost
// next to nothing (measured under Wine: fifteen times faster for files of
// 512-byte sectors, five times for 4096-byte ones).
//
// Writes go to the file at once (the cache only follows them), so the file
// holds at every moment what the library has written, as it would without
// the cache.
#include <objbase.h>
#include <windows.h>

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace quill::platform {

class CachedFileBytes final : public ILockBytes {
 public:
  static constexpr std::size_t kPageSize = 64 * 1024;
  static constexpr std::size_t kMaxPages = 256;  // 16 MB

  // Opens the existing file `path` with the access and sharing the storage
  // open mode asks for. The system's error as a storage result (as the
  // library's own opening reports it) when it cannot.
  static HRESULT Open(const std::wstring& path, DWORD mode, ILockBytes** out,
                      std::size_t page_size = kPageSize, std::size_t max_pages = kMaxPages);

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // ILockBytes
  HRESULT STDMETHODCALLTYPE ReadAt(ULARGE_INTEGER offset, void* buffer, ULONG count,
                                   ULONG* read) override;
  HRESULT STDMETHODCALLTYPE WriteAt(ULARGE_INTEGER offset, const void* buffer, ULONG count,
                                    ULONG* written) override;
  HRESULT STDMETHODCALLTYPE Flush() override;
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override;
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override;
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override;
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) override;

 private:
  struct FileCloser {
    void operator()(HANDLE file) const { ::CloseHandle(file); }
  };
  using UniqueFile = std::unique_ptr<void, FileCloser>;

  CachedFileBytes(UniqueFile file, std::wstring path, DWORD mode, std::uint64_t size,
                  std::size_t page_size, std::size_t max_pages);
  ~CachedFileBytes() = default;
  CachedFileBytes(const CachedFileBytes&) = delete;
  CachedFileBytes& operator=(const CachedFileBytes&) = delete;

  struct Page {
    std::vector<std::uint8_t> bytes;  // as far as the file reached when read
    std::list<std::uint64_t>::iterator use;
  };
  // The page starting at `start`, read in if it is not cached; null when
  // the file cannot be read.
  const Page* PageAt(std::uint64_t start);
  // Forgets the pages from the one holding `offset` on.
  void ForgetFrom(std::uint64_t offset);
  void Forget(std::unordered_map<std::uint64_t, Page>::iterator page);
  bool MoveTo(std::uint64_t offset) const;
  bool ReadFile(std::uint64_t offset, void* buffer, ULONG count, ULONG& read) const;

  LONG references_ = 1;
  UniqueFile file_;
  std::wstring path_;
  DWORD mode_;
  std::uint64_t size_;
  std::size_t page_size_;
  std::size_t max_pages_;
  std::unordered_map<std::uint64_t, Page> pages_;
  std::list<std::uint64_t> uses_;  // page starts, the most recently used first
};

}  // namespace quill::platform
