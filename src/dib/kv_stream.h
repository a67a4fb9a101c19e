#pragma once
// Byte streams the bitmap reader and writer work on: memory first, so that
// round trips run without files, and a thin file stream on top.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <vector>

namespace quill::dib {

class Stream {
 public:
  virtual ~Stream() = default;

  // Reads up to `count` bytes; returns how many were read (fewer at the end).
  virtual std::size_t Read(void* buffer, std::size_t count) = 0;
  // Writes `count` bytes at the position; returns how many were written.
  virtual std::size_t Write(const void* buffer, std::size_t count) = 0;
  virtual std::uint64_t Position() const = 0;
  virtual std::uint64_t Size() const = 0;
  // Moves to `position`; past the end is allowed (a later read then fails).
  virtual void Seek(std::uint64_t position) = 0;

  // Bytes between the position and the end.
  std::uint64_t Remaining() const;
  // Reads exactly `count` bytes, else raises EReadError "Stream read error".
  void ReadBuffer(void* buffer, std::size_t count);
  // Writes exactly `count` bytes, else raises EWriteError "Stream write error".
  void WriteBuffer(const void* buffer, std::size_t count);
  // Moves forward `count` bytes; raises EReadError when fewer remain.
  void Skip(std::uint64_t count);
};

// A growable block of bytes in memory.
class MemoryStream final : public Stream {
 public:
  MemoryStream() = default;
  explicit MemoryStream(std::vector<std::uint8_t> bytes) : data_(std::move(bytes)) {}

  std::size_t Read(void* buffer, std::size_t count) override;
  std::size_t Write(const void* buffer, std::size_t count) override;
  std::uint64_t Position() const override { return position_; }
  std::uint64_t Size() const override { return data_.size(); }
  void Seek(std::uint64_t position) override { position_ = position; }

  std::span<const std::uint8_t> Bytes() const { return data_; }
  // Empties the stream; its memory is kept for the next writes.
  void Clear();

 private:
  std::vector<std::uint8_t> data_;
  std::uint64_t position_ = 0;
};

// A file opened for reading, or created (replacing any old one) for writing.
class FileStream final : public Stream {
 public:
  enum class Mode { kOpenRead, kCreate };
  // Raises EFOpenError or EFCreateError when the file cannot be had.
  FileStream(const std::filesystem::path& name, Mode mode);
  ~FileStream() override;
  FileStream(const FileStream&) = delete;
  FileStream& operator=(const FileStream&) = delete;

  std::size_t Read(void* buffer, std::size_t count) override;
  std::size_t Write(const void* buffer, std::size_t count) override;
  std::uint64_t Position() const override { return position_; }
  std::uint64_t Size() const override;
  void Seek(std::uint64_t position) override;

  // Closes the file; raises EWriteError when buffered data could not be
  // written, so that a full disk is not reported as a saved file.
  void Close();

 private:
  std::FILE* file_ = nullptr;
  std::uint64_t position_ = 0;
};

}  // namespace quill::dib
