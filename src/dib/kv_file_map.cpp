#include "dib/kv_file_map.h"

#include <utility>

namespace quill::dib {

FileMap::~FileMap() {
  if (!bits_) return;
  // A destructor cannot report; the explicit Release does.
  try {
    ReleaseFileMap(section_, bits_, size_);
  } catch (...) {
  }
}

FileMap::FileMap(FileMap&& other) noexcept
    : section_(std::exchange(other.section_, nullptr)),
      bits_(std::exchange(other.bits_, nullptr)),
      size_(std::exchange(other.size_, 0)) {}

FileMap& FileMap::operator=(FileMap&& other) noexcept {
  if (this != &other) {
    FileMap old(std::move(*this));
    section_ = std::exchange(other.section_, nullptr);
    bits_ = std::exchange(other.bits_, nullptr);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

void FileMap::Release() {
  if (!bits_) return;
  SectionHandle section = std::exchange(section_, nullptr);
  void* bits = std::exchange(bits_, nullptr);
  ReleaseFileMap(section, bits, std::exchange(size_, 0));
}

}  // namespace quill::dib
