#pragma once
// Reading and writing the files of an import or export. A failure carries
// the system's own reason, for the message that names the file.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quill::exchange {

class InputFile {
 public:
  explicit InputFile(const std::u16string& path);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  bool is_open() const { return open_; }
  // Why the file could not be opened or read.
  const std::u16string& reason() const { return reason_; }
  // Up to `count` bytes; 0 at the end or after an error (then failed()).
  std::size_t Read(void* buffer, std::size_t count);
  bool failed() const { return failed_; }
  // The file's size when it was opened, as the system reports it (a guide
  // for the buffer; reading goes on to the real end).
  std::uint64_t SizeHint() const { return size_hint_; }

 private:
  std::intptr_t handle_ = -1;
  bool open_ = false;
  bool failed_ = false;
  std::uint64_t size_hint_ = 0;
  std::u16string reason_;
};

// The whole file; false with the reason when it cannot be opened or read.
bool ReadWholeFile(const std::u16string& path, std::vector<std::uint8_t>& bytes,
                   std::u16string& reason);

// Writes `bytes` to a new file beside `path` and only then moves it over
// `path`, so that a failure leaves an existing file as it was and no
// partial file under that name. False with the reason on failure.
bool WriteFileReplacing(const std::u16string& path, std::span<const std::uint8_t> bytes,
                        std::u16string& reason);

}  // namespace quill::exchange
