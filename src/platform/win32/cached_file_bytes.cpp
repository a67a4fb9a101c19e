#include "platform/win32/cached_file_bytes.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace quill::platform {
namespace {

// A system error as a storage result: the storage results are the system's
// error numbers in the storage facility.
HRESULT StorageError(DWORD error) {
  if (error == ERROR_SUCCESS) error = ERROR_GEN_FAILURE;
  return static_cast<HRESULT>(0x80030000u | (error & 0xFFFFu));
}

}  // namespace

HRESULT CachedFileBytes::Open(const std::wstring& path, DWORD mode, ILockBytes** out,
                              std::size_t page_size, std::size_t max_pages) {
  *out = nullptr;
  // The library reads the file also when it only writes elements.
  DWORD access = GENERIC_READ;
  if ((mode & 3) != STGM_READ) access |= GENERIC_WRITE;
  DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
  switch (mode & 0x70) {
    case STGM_SHARE_EXCLUSIVE:
      share = 0;
      break;
    case STGM_SHARE_DENY_WRITE:
      share = FILE_SHARE_READ;
      break;
    case STGM_SHARE_DENY_READ:
      share = FILE_SHARE_WRITE;
      break;
  }
  const HANDLE opened = ::CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return StorageError(::GetLastError());
  UniqueFile file(opened);
  LARGE_INTEGER size = {};
  if (!::GetFileSizeEx(file.get(), &size)) return StorageError(::GetLastError());
  auto* bytes = new (std::nothrow) CachedFileBytes(
      std::move(file), path, mode, static_cast<std::uint64_t>(size.QuadPart), page_size, max_pages);
  if (!bytes) return E_OUTOFMEMORY;
  *out = bytes;
  return S_OK;
}

CachedFileBytes::CachedFileBytes(UniqueFile file, std::wstring path, DWORD mode, std::uint64_t size,
                                 std::size_t page_size, std::size_t max_pages)
    : file_(std::move(file)),
      path_(std::move(path)),
      mode_(mode),
      size_(size),
      page_size_(page_size),
      max_pages_(std::max<std::size_t>(max_pages, 1)) {}

HRESULT CachedFileBytes::QueryInterface(REFIID id, void** out) {
  if (!out) return E_POINTER;
  if (id == IID_IUnknown || id == IID_ILockBytes) {
    *out = static_cast<ILockBytes*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG CachedFileBytes::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }

ULONG CachedFileBytes::Release() {
  const LONG left = ::InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

bool CachedFileBytes::ReadFile(std::uint64_t offset, void* buffer, ULONG count, ULONG& read) const {
  DWORD done = 0;
  const bool ok = MoveTo(offset) && ::ReadFile(file_.get(), buffer, count, &done, nullptr) != FALSE;
  read = done;
  return ok;
}

bool CachedFileBytes::MoveTo(std::uint64_t offset) const {
  LARGE_INTEGER at = {};
  at.QuadPart = static_cast<LONGLONG>(offset);
  return ::SetFilePointerEx(file_.get(), at, nullptr, FILE_BEGIN) != FALSE;
}

const CachedFileBytes::Page* CachedFileBytes::PageAt(std::uint64_t start) {
  if (const auto found = pages_.find(start); found != pages_.end()) {
    uses_.splice(uses_.begin(), uses_, found->second.use);
    return &found->second;
  }
  const auto length = static_cast<ULONG>(std::min<std::uint64_t>(page_size_, size_ - start));
  Page page;
  page.bytes.resize(length);
  ULONG read = 0;
  if (!ReadFile(start, page.bytes.data(), length, read)) return nullptr;
  page.bytes.resize(read);
  if (pages_.size() >= max_pages_) Forget(pages_.find(uses_.back()));
  uses_.push_front(start);
  page.use = uses_.begin();
  return &pages_.emplace(start, std::move(page)).first->second;
}

void CachedFileBytes::Forget(std::unordered_map<std::uint64_t, Page>::iterator page) {
  uses_.erase(page->second.use);
  pages_.erase(page);
}

void CachedFileBytes::ForgetFrom(std::uint64_t offset) {
  const std::uint64_t first = offset - offset % page_size_;
  for (auto page = pages_.begin(); page != pages_.end();) {
    const auto next = std::next(page);
    if (page->first >= first) Forget(page);
    page = next;
  }
}

HRESULT CachedFileBytes::ReadAt(ULARGE_INTEGER offset, void* buffer, ULONG count, ULONG* read) {
  ULONG done = 0;
  const std::uint64_t from = offset.QuadPart;
  // What lies past the end of the file is a read fault, as the library's
  // own file reading reports it: taken as zeros, a file cut short would
  // load as sound records with their bytes gone.
  const bool past_end = from >= size_ || count > size_ - from;
  if (from < size_) {
    count = static_cast<ULONG>(std::min<std::uint64_t>(count, size_ - from));
    auto* out = static_cast<std::uint8_t*>(buffer);
    if (count >= 4 * page_size_) {
      // A read of many pages would only push the small, often read ones
      // out: the file holds the same bytes.
      if (!ReadFile(from, out, count, done)) {
        if (read) *read = done;
        return StorageError(::GetLastError());
      }
    } else {
      while (done < count) {
        const std::uint64_t at = from + done;
        const std::uint64_t start = at - at % page_size_;
        const Page* page = PageAt(start);
        if (!page) {
          if (read) *read = done;
          return StorageError(::GetLastError());
        }
        const std::size_t inside = static_cast<std::size_t>(at - start);
        if (inside >= page->bytes.size()) break;  // the file ended early
        const auto take =
            static_cast<ULONG>(std::min<std::size_t>(page->bytes.size() - inside, count - done));
        std::memcpy(out + done, page->bytes.data() + inside, take);
        done += take;
      }
    }
  }
  if (read) *read = done;
  return past_end ? STG_E_READFAULT : S_OK;
}

HRESULT CachedFileBytes::WriteAt(ULARGE_INTEGER offset, const void* buffer, ULONG count,
                                 ULONG* written) {
  const std::uint64_t from = offset.QuadPart;
  DWORD done = 0;
  const bool ok = MoveTo(from) && ::WriteFile(file_.get(), buffer, count, &done, nullptr) != FALSE;
  const DWORD error = ok ? ERROR_SUCCESS : ::GetLastError();
  if (written) *written = done;
  // The cached pages follow what reached the file. Where the file grew,
  // the page that held its end (and any after it) is read again when it is
  // next needed, as is a page that would have to grow.
  if (from + done > size_) {
    ForgetFrom(std::min(size_, from));
    size_ = from + done;
  }
  const auto* in = static_cast<const std::uint8_t*>(buffer);
  for (std::uint64_t start = from - from % page_size_; start < from + done; start += page_size_) {
    const auto page = pages_.find(start);
    if (page == pages_.end()) continue;
    const std::uint64_t begin = std::max(start, from);
    const std::uint64_t end = std::min<std::uint64_t>(start + page_size_, from + done);
    if (end - start > page->second.bytes.size()) {
      Forget(page);
      continue;
    }
    std::memcpy(page->second.bytes.data() + (begin - start), in + (begin - from), end - begin);
  }
  return ok ? S_OK : StorageError(error);
}

HRESULT CachedFileBytes::Flush() {
  // Every write has reached the system already.
  return S_OK;
}

HRESULT CachedFileBytes::SetSize(ULARGE_INTEGER size) {
  LARGE_INTEGER end = {};
  end.QuadPart = static_cast<LONGLONG>(size.QuadPart);
  if (!::SetFilePointerEx(file_.get(), end, nullptr, FILE_BEGIN) || !::SetEndOfFile(file_.get()))
    return StorageError(::GetLastError());
  // The page at the old or the new end no longer holds what the file does.
  ForgetFrom(std::min<std::uint64_t>(size_, size.QuadPart));
  size_ = size.QuadPart;
  return S_OK;
}

HRESULT CachedFileBytes::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) {
  // The file is held with the sharing its open mode asked for.
  return STG_E_INVALIDFUNCTION;
}

HRESULT CachedFileBytes::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) {
  return STG_E_INVALIDFUNCTION;
}

HRESULT CachedFileBytes::Stat(STATSTG* stat, DWORD flags) {
  if (!stat) return STG_E_INVALIDPOINTER;
  *stat = {};
  stat->type = STGTY_LOCKBYTES;
  stat->cbSize.QuadPart = size_;
  stat->grfMode = mode_;
  if (!(flags & STATFLAG_NONAME)) {
    const std::size_t bytes = (path_.size() + 1) * sizeof(wchar_t);
    stat->pwcsName = static_cast<wchar_t*>(::CoTaskMemAlloc(bytes));
    if (!stat->pwcsName) return STG_E_INSUFFICIENTMEMORY;
    std::memcpy(stat->pwcsName, path_.c_str(), bytes);
  }
  return S_OK;
}

}  // namespace quill::platform
