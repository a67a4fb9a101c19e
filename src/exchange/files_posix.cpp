#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "exchange/files.h"

namespace quill::exchange {
namespace {

std::string Native(const std::u16string& path) { return std::filesystem::path(path).string(); }

std::u16string Reason(int error) {
  const std::string text = std::strerror(error);
  return std::filesystem::path(text).u16string();
}

}  // namespace

InputFile::InputFile(const std::u16string& path) {
  const int fd = ::open(Native(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    reason_ = Reason(errno);
    return;
  }
  handle_ = fd;
  open_ = true;
  struct stat status;
  if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode))
    size_hint_ = static_cast<std::uint64_t>(status.st_size);
}

InputFile::~InputFile() {
  if (open_) ::close(static_cast<int>(handle_));
}

std::size_t InputFile::Read(void* buffer, std::size_t count) {
  if (!open_ || failed_) return 0;
  for (;;) {
    const ssize_t n = ::read(static_cast<int>(handle_), buffer, count);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno == EINTR) continue;
    failed_ = true;
    reason_ = Reason(errno);
    return 0;
  }
}

bool WriteFileReplacing(const std::u16string& path, std::span<const std::uint8_t> bytes,
                        std::u16string& reason) {
  const std::string target = Native(path);
  std::string temporary;
  int fd = -1;
  for (int i = 0; i < 10 && fd < 0; ++i) {
    temporary = target + ".~tmp" + (i ? std::to_string(i) : "");
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    reason = Reason(errno);
    return false;
  }
  std::size_t done = 0;
  int error = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = n < 0 ? errno : ENOSPC;
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  if (!error && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && !error) error = errno;
  if (!error && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
  if (error) {
    ::unlink(temporary.c_str());
    reason = Reason(error);
    return false;
  }
  return true;
}

}  // namespace quill::exchange
