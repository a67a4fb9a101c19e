#pragma once
// The system's clipboard and compound files with the time spent in each
// kept aside, so that a benchmark can say where a command's time goes.
#include <windows.h>

#include <memory>

#include "platform/clipboard.h"
#include "platform/storage.h"

namespace quill::bench {

// Milliseconds spent inside calls, accumulated.
class Stopwatch {
 public:
  class Running {
   public:
    explicit Running(double& total) : total_(total) { ::QueryPerformanceCounter(&start_); }
    ~Running() {
      LARGE_INTEGER end, frequency;
      ::QueryPerformanceCounter(&end);
      ::QueryPerformanceFrequency(&frequency);
      total_ += 1000.0 * static_cast<double>(end.QuadPart - start_.QuadPart) /
                static_cast<double>(frequency.QuadPart);
    }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

   private:
    double& total_;
    LARGE_INTEGER start_;
  };
  Running Time() { return Running(ms_); }
  double ms() const { return ms_; }
  void Reset() { ms_ = 0; }

 private:
  double ms_ = 0;
};

class TimedClipboard : public platform::Clipboard {
 public:
  TimedClipboard(platform::Clipboard& real, Stopwatch& watch) : real_(real), watch_(watch) {}
#define QUILL_TIMED(call)       \
  auto running = watch_.Time(); \
  return real_.call
  platform::WindowId SetViewer(platform::WindowId v) override { QUILL_TIMED(SetViewer(v)); }
  bool ChangeChain(platform::WindowId v, platform::WindowId n) override {
    QUILL_TIMED(ChangeChain(v, n));
  }
  bool AddListener(platform::WindowId w) override { QUILL_TIMED(AddListener(w)); }
  void RemoveListener(platform::WindowId w) override { QUILL_TIMED(RemoveListener(w)); }
  bool Open(platform::WindowId owner) override { QUILL_TIMED(Open(owner)); }
  void WaitForRelease(unsigned ms) override { QUILL_TIMED(WaitForRelease(ms)); }
  bool Close() override { QUILL_TIMED(Close()); }
  bool Empty() override { QUILL_TIMED(Empty()); }
  int CountFormats() override { QUILL_TIMED(CountFormats()); }
  unsigned EnumFormats(unsigned previous) override { QUILL_TIMED(EnumFormats(previous)); }
  bool IsFormatAvailable(unsigned format) override { QUILL_TIMED(IsFormatAvailable(format)); }
  platform::DataHandle GetData(unsigned format) override { QUILL_TIMED(GetData(format)); }
  bool SetData(unsigned format, platform::DataHandle data) override {
    QUILL_TIMED(SetData(format, data));
  }
  std::string GetFormatName(unsigned format) override { QUILL_TIMED(GetFormatName(format)); }
  unsigned RegisterFormat(const std::string& name) override { QUILL_TIMED(RegisterFormat(name)); }
  std::uint32_t SequenceNumber() override { QUILL_TIMED(SequenceNumber()); }
  platform::DataHandle GlobalAlloc(std::size_t size) override { QUILL_TIMED(GlobalAlloc(size)); }
  void GlobalFree(platform::DataHandle block) override { QUILL_TIMED(GlobalFree(block)); }
  void* GlobalLock(platform::DataHandle block) override { QUILL_TIMED(GlobalLock(block)); }
  void GlobalUnlock(platform::DataHandle block) override { QUILL_TIMED(GlobalUnlock(block)); }
  std::size_t GlobalSize(platform::DataHandle block) override { QUILL_TIMED(GlobalSize(block)); }
  std::vector<std::uint8_t> GetEnhMetaFileBits(platform::DataHandle metafile) override {
    QUILL_TIMED(GetEnhMetaFileBits(metafile));
  }
  platform::DataHandle SetEnhMetaFileBits(std::span<const std::uint8_t> bytes) override {
    QUILL_TIMED(SetEnhMetaFileBits(bytes));
  }
  void DeleteEnhMetaFile(platform::DataHandle metafile) override {
    QUILL_TIMED(DeleteEnhMetaFile(metafile));
  }
  std::string ForegroundClassName() override { QUILL_TIMED(ForegroundClassName()); }

 private:
  platform::Clipboard& real_;
  Stopwatch& watch_;
};

class TimedStream : public platform::Stream {
 public:
  TimedStream(std::unique_ptr<platform::Stream> real, Stopwatch& watch)
      : real_(std::move(real)), watch_(watch) {}
  ~TimedStream() override {
    auto running = watch_.Time();
    real_.reset();
  }
  platform::HResult Read(void* b, std::uint32_t n, std::uint32_t* r) override {
    auto running = watch_.Time();
    return real_->Read(b, n, r);
  }
  platform::HResult Write(const void* b, std::uint32_t n, std::uint32_t* w) override {
    auto running = watch_.Time();
    return real_->Write(b, n, w);
  }

 private:
  std::unique_ptr<platform::Stream> real_;
  Stopwatch& watch_;
};

class TimedEnumerator : public platform::ElementEnumerator {
 public:
  TimedEnumerator(std::unique_ptr<platform::ElementEnumerator> real, Stopwatch& watch)
      : real_(std::move(real)), watch_(watch) {}
  platform::HResult Next(platform::ElementStat& element) override {
    auto running = watch_.Time();
    return real_->Next(element);
  }

 private:
  std::unique_ptr<platform::ElementEnumerator> real_;
  Stopwatch& watch_;
};

class TimedStorage : public platform::Storage {
 public:
  TimedStorage(std::unique_ptr<platform::Storage> real, Stopwatch& watch)
      : real_(std::move(real)), watch_(watch) {}
  ~TimedStorage() override {
    auto running = watch_.Time();
    real_.reset();
  }
  platform::HResult CreateStorage(const std::u16string& name, std::uint32_t mode,
                                  std::unique_ptr<platform::Storage>& out) override {
    auto running = watch_.Time();
    return Wrap(real_->CreateStorage(name, mode, out), out);
  }
  platform::HResult CreateStream(const std::u16string& name, std::uint32_t mode,
                                 std::unique_ptr<platform::Stream>& out) override {
    auto running = watch_.Time();
    return Wrap(real_->CreateStream(name, mode, out), out);
  }
  platform::HResult OpenStorage(const std::u16string& name, std::uint32_t mode,
                                std::unique_ptr<platform::Storage>& out) override {
    auto running = watch_.Time();
    return Wrap(real_->OpenStorage(name, mode, out), out);
  }
  platform::HResult OpenStream(const std::u16string& name, std::uint32_t mode,
                               std::unique_ptr<platform::Stream>& out) override {
    auto running = watch_.Time();
    return Wrap(real_->OpenStream(name, mode, out), out);
  }
  platform::HResult EnumElements(std::unique_ptr<platform::ElementEnumerator>& out) override {
    auto running = watch_.Time();
    const platform::HResult result = real_->EnumElements(out);
    if (out) out = std::make_unique<TimedEnumerator>(std::move(out), watch_);
    return result;
  }
  platform::HResult DestroyElement(const std::u16string& name) override {
    auto running = watch_.Time();
    return real_->DestroyElement(name);
  }
  platform::HResult RenameElement(const std::u16string& from, const std::u16string& to) override {
    auto running = watch_.Time();
    return real_->RenameElement(from, to);
  }
  platform::HResult Commit(std::uint32_t flags) override {
    auto running = watch_.Time();
    return real_->Commit(flags);
  }

 private:
  platform::HResult Wrap(platform::HResult result, std::unique_ptr<platform::Storage>& out) {
    if (out) out = std::make_unique<TimedStorage>(std::move(out), watch_);
    return result;
  }
  platform::HResult Wrap(platform::HResult result, std::unique_ptr<platform::Stream>& out) {
    if (out) out = std::make_unique<TimedStream>(std::move(out), watch_);
    return result;
  }

  std::unique_ptr<platform::Storage> real_;
  Stopwatch& watch_;
};

class TimedStorageFiles : public platform::StorageFiles {
 public:
  TimedStorageFiles(platform::StorageFiles& real, Stopwatch& watch) : real_(real), watch_(watch) {}
  platform::HResult CreateDocfile(const std::u16string& path, std::uint32_t mode,
                                  std::unique_ptr<platform::Storage>& out) override {
    auto running = watch_.Time();
    const platform::HResult result = real_.CreateDocfile(path, mode, out);
    if (out) out = std::make_unique<TimedStorage>(std::move(out), watch_);
    return result;
  }
  platform::HResult OpenDocfile(const std::u16string& path, std::uint32_t mode,
                                std::unique_ptr<platform::Storage>& out) override {
    auto running = watch_.Time();
    const platform::HResult result = real_.OpenDocfile(path, mode, out);
    if (out) out = std::make_unique<TimedStorage>(std::move(out), watch_);
    return result;
  }
  bool Delete(const std::u16string& path) override { return real_.Delete(path); }
  bool Move(const std::u16string& from, const std::u16string& to) override {
    return real_.Move(from, to);
  }
  bool Replace(const std::u16string& from, const std::u16string& to) override {
    return real_.Replace(from, to);
  }
  bool Exists(const std::u16string& path) override { return real_.Exists(path); }

 private:
  platform::StorageFiles& real_;
  Stopwatch& watch_;
};

#undef QUILL_TIMED

}  // namespace quill::bench
