#pragma once
// Pixel memory: a zero-filled block that is a page-file backed section on
// Windows (so a DIB section can be made over the same pixels) and an
// anonymous mapping elsewhere. Large bitmaps thus stay off the heap.
#include <cstddef>
#include <cstdint>

namespace quill::dib {

// The section's handle value; nullptr where the system has no sections.
using SectionHandle = void*;

// Owns one mapping; moving hands it over, and the destructor releases it.
class FileMap {
 public:
  FileMap() = default;
  ~FileMap();
  FileMap(FileMap&& other) noexcept;
  FileMap& operator=(FileMap&& other) noexcept;
  FileMap(const FileMap&) = delete;
  FileMap& operator=(const FileMap&) = delete;

  std::uint8_t* bits() const { return bits_; }
  SectionHandle section() const { return section_; }
  // The mapped length; at least 1 for every mapping, also an empty one.
  std::size_t size() const { return size_; }
  explicit operator bool() const { return bits_ != nullptr; }

  // Releases the mapping now (`ReleaseFileMap`), reporting failures.
  void Release();

 private:
  friend FileMap GetFileMap(std::size_t size);
  FileMap(SectionHandle section, std::uint8_t* bits, std::size_t size)
      : section_(section), bits_(bits), size_(size) {}

  SectionHandle section_ = nullptr;
  std::uint8_t* bits_ = nullptr;
  std::size_t size_ = 0;
};

// A zero-filled mapping of `size` bytes. Raises EOutOfResources
// "GetFileMap: Cannot Make File Mapping Object" or "GetFileMap: Cannot Make
// View of File Map". A size of 0 still maps one byte, so that an empty
// compressed image has a block like any other.
FileMap GetFileMap(std::size_t size);

// Unmaps the view, then closes the section. Raises EKvDIBAssert
// "ReleaseFileMap: Failed To Unmap View of File map" or "ReleaseFileMap:
// Failed To Close File Map". `size` is the mapped length.
void ReleaseFileMap(SectionHandle section, void* bits, std::size_t size);

}  // namespace quill::dib
