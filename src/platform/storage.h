#pragma once
// Structured storage (compound files): a root storage per file, child
// storages and streams inside it. Every operation returns the system's
// result code; kOk (S_OK) means success and anything else failure. Objects
// are released by destroying them; releasing the root closes the file.
#include <cstdint>
#include <memory>
#include <new>
#include <string>

namespace quill::platform {

using HResult = std::int32_t;
constexpr HResult kOk = 0;
constexpr HResult kFalse = 1;  // S_FALSE: no more elements

// Result codes the implementations report (the system's values).
namespace stg_error {
constexpr HResult kFileNotFound = static_cast<HResult>(0x80030002);
constexpr HResult kAccessDenied = static_cast<HResult>(0x80030005);
constexpr HResult kInvalidPointer = static_cast<HResult>(0x80030009);
constexpr HResult kShareViolation = static_cast<HResult>(0x80030020);
constexpr HResult kLockViolation = static_cast<HResult>(0x80030021);
constexpr HResult kFileAlreadyExists = static_cast<HResult>(0x80030050);
constexpr HResult kInvalidName = static_cast<HResult>(0x800300FC);
constexpr HResult kInvalidFlag = static_cast<HResult>(0x800300FF);
constexpr HResult kReadFault = static_cast<HResult>(0x8003001E);
constexpr HResult kInsufficientMemory = static_cast<HResult>(0x80030008);
}  // namespace stg_error

// Runs the body of a storage operation so that memory running out is a
// result, as it is from the system's own calls, never an exception that
// leaves the caller's work half done.
template <typename Body>
HResult ResultOf(Body&& body) {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return stg_error::kInsufficientMemory;
  }
}

// Whether a failure to open a file means that someone holds it open, as
// opposed to a file that is missing or is not a compound file.
inline bool IsInUse(HResult result) {
  return result == stg_error::kShareViolation || result == stg_error::kLockViolation;
}

// Open-mode flags (STGM_*).
namespace stgm {
constexpr std::uint32_t kRead = 0x0;
constexpr std::uint32_t kWrite = 0x1;
constexpr std::uint32_t kReadWrite = 0x2;
constexpr std::uint32_t kShareExclusive = 0x10;
constexpr std::uint32_t kCreate = 0x1000;
// Changes reach the file only on Commit, all at once; released without a
// commit, the file stays as it was.
constexpr std::uint32_t kTransacted = 0x10000;
}  // namespace stgm

enum class ElementType : std::uint32_t { kStorage = 1, kStream = 2 };

struct ElementStat {
  std::u16string name;
  ElementType type = ElementType::kStream;
  std::uint64_t size = 0;  // bytes of a stream; 0 for a storage
};

class Stream {
 public:
  virtual ~Stream() = default;
  virtual HResult Read(void* buffer, std::uint32_t count, std::uint32_t* read) = 0;
  virtual HResult Write(const void* buffer, std::uint32_t count, std::uint32_t* written) = 0;
};

class ElementEnumerator {
 public:
  virtual ~ElementEnumerator() = default;
  // kOk with the next element, or another code at the end.
  virtual HResult Next(ElementStat& element) = 0;
};

class Storage {
 public:
  virtual ~Storage() = default;
  virtual HResult CreateStorage(const std::u16string& name, std::uint32_t mode,
                                std::unique_ptr<Storage>& out) = 0;
  virtual HResult CreateStream(const std::u16string& name, std::uint32_t mode,
                               std::unique_ptr<Stream>& out) = 0;
  virtual HResult OpenStorage(const std::u16string& name, std::uint32_t mode,
                              std::unique_ptr<Storage>& out) = 0;
  virtual HResult OpenStream(const std::u16string& name, std::uint32_t mode,
                             std::unique_ptr<Stream>& out) = 0;
  virtual HResult EnumElements(std::unique_ptr<ElementEnumerator>& out) = 0;
  virtual HResult DestroyElement(const std::u16string& name) = 0;
  virtual HResult RenameElement(const std::u16string& from, const std::u16string& to) = 0;
  virtual HResult Commit(std::uint32_t flags) = 0;
};

// Compound files on disk, and the two file operations used with them.
class StorageFiles {
 public:
  virtual ~StorageFiles() = default;
  // A new, empty compound file; with kCreate an existing file is replaced.
  virtual HResult CreateDocfile(const std::u16string& path, std::uint32_t mode,
                                std::unique_ptr<Storage>& out) = 0;
  // A file held open elsewhere fails with a result for which IsInUse is
  // true; a file that is not a compound file fails with another result
  // (the system's is kFileAlreadyExists).
  virtual HResult OpenDocfile(const std::u16string& path, std::uint32_t mode,
                              std::unique_ptr<Storage>& out) = 0;
  virtual bool Delete(const std::u16string& path) = 0;
  virtual bool Move(const std::u16string& from, const std::u16string& to) = 0;
  // Moves `from` to `to` in one step, replacing a file there, also across
  // volumes; on failure both files stay as they were.
  virtual bool Replace(const std::u16string& from, const std::u16string& to) = 0;
  virtual bool Exists(const std::u16string& path) = 0;
};

}  // namespace quill::platform
