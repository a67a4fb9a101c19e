#include "dib/kv_stream.h"

#include <algorithm>
#include <cstring>

#include "dib/kv_errors.h"

namespace quill::dib {

std::uint64_t Stream::Remaining() const {
  const std::uint64_t size = Size(), position = Position();
  return position < size ? size - position : 0;
}

void Stream::ReadBuffer(void* buffer, std::size_t count) {
  if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void Stream::WriteBuffer(const void* buffer, std::size_t count) {
  if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

void Stream::Skip(std::uint64_t count) {
  if (count > Remaining()) throw EReadError("Stream read error");
  Seek(Position() + count);
}

std::size_t MemoryStream::Read(void* buffer, std::size_t count) {
  if (position_ >= data_.size()) return 0;
  const std::size_t n = std::min<std::uint64_t>(count, data_.size() - position_);
  std::memcpy(buffer, data_.data() + position_, n);
  position_ += n;
  return n;
}

std::size_t MemoryStream::Write(const void* buffer, std::size_t count) {
  const auto* bytes = static_cast<const std::uint8_t*>(buffer);
  if (position_ > data_.size()) data_.resize(position_);
  const std::size_t overlap = std::min<std::uint64_t>(count, data_.size() - position_);
  std::copy_n(bytes, overlap, data_.begin() + static_cast<std::ptrdiff_t>(position_));
  // Appending without a zero-filling resize first.
  data_.insert(data_.end(), bytes + overlap, bytes + count);
  position_ += count;
  return count;
}

void MemoryStream::Clear() {
  data_.clear();
  position_ = 0;
}

namespace {

std::FILE* OpenFile(const std::filesystem::path& name, bool create) {
#ifdef _WIN32
  // The wide-character name reaches every file, whatever the code page.
  return _wfopen(name.c_str(), create ? L"wb" : L"rb");
#else
  return std::fopen(name.c_str(), create ? "wb" : "rb");
#endif
}

bool SeekFile(std::FILE* file, std::uint64_t position, int origin) {
#ifdef _WIN32
  return _fseeki64(file, static_cast<__int64>(position), origin) == 0;
#else
  return fseeko(file, static_cast<off_t>(position), origin) == 0;
#endif
}

std::int64_t TellFile(std::FILE* file) {
#ifdef _WIN32
  return _ftelli64(file);
#else
  return ftello(file);
#endif
}

}  // namespace

FileStream::FileStream(const std::filesystem::path& name, Mode mode) {
  file_ = OpenFile(name, mode == Mode::kCreate);
  if (!file_) {
    // UTF-8: the narrow code page may not hold every character of a name.
    const std::u8string utf8 = name.u8string();
    const std::string shown(utf8.begin(), utf8.end());
    if (mode == Mode::kCreate) throw EFCreateError("Cannot create file \"" + shown + "\"");
    throw EFOpenError("Cannot open file \"" + shown + "\"");
  }
}

FileStream::~FileStream() {
  if (file_) std::fclose(file_);
}

std::size_t FileStream::Read(void* buffer, std::size_t count) {
  if (!file_) return 0;
  const std::size_t n = std::fread(buffer, 1, count, file_);
  position_ += n;
  return n;
}

std::size_t FileStream::Write(const void* buffer, std::size_t count) {
  if (!file_) return 0;
  const std::size_t n = std::fwrite(buffer, 1, count, file_);
  position_ += n;
  return n;
}

std::uint64_t FileStream::Size() const {
  if (!file_) return 0;
  // Measured at the end, then back: the file may have grown by our writes.
  const std::int64_t here = TellFile(file_);
  if (here < 0 || !SeekFile(file_, 0, SEEK_END)) return position_;
  const std::int64_t end = TellFile(file_);
  SeekFile(file_, static_cast<std::uint64_t>(here), SEEK_SET);
  return end < 0 ? position_ : static_cast<std::uint64_t>(end);
}

void FileStream::Seek(std::uint64_t position) {
  if (file_ && SeekFile(file_, position, SEEK_SET)) position_ = position;
}

void FileStream::Close() {
  if (!file_) return;
  std::FILE* file = file_;
  file_ = nullptr;
  if (std::fclose(file) != 0) throw EWriteError("Stream write error");
}

}  // namespace quill::dib
