#include "platform/memory/memory_storage.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace quill::platform {
namespace memory_storage {

char16_t UpperChar(char16_t c) {
  if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
  return c;
}

std::u16string Upper(const std::u16string& text) {
  std::u16string out = text;
  std::transform(out.begin(), out.end(), out.begin(), UpperChar);
  return out;
}

// The compound file's order of names: shorter first, then case-insensitive.
struct NameOrder {
  bool operator()(const std::u16string& a, const std::u16string& b) const {
    if (a.size() != b.size()) return a.size() < b.size();
    return Upper(a) < Upper(b);
  }
};

struct Node {
  ElementType type;
  std::vector<std::uint8_t> data;                                       // a stream's bytes
  std::map<std::u16string, std::shared_ptr<Node>, NameOrder> children;  // a storage's elements
};

// Held by every object of an open file; the file is closed when the last
// one is released.
struct OpenFile {};

// A whole copy of a tree: what a transacted root works on until it commits.
std::shared_ptr<Node> Copy(const Node& node) {
  auto copy = std::make_shared<Node>(Node{node.type, node.data, {}});
  for (const auto& [name, child] : node.children) copy->children.emplace(name, Copy(*child));
  return copy;
}

bool CanWrite(std::uint32_t mode) {
  const std::uint32_t access = mode & 0x3;
  return access == stgm::kWrite || access == stgm::kReadWrite;
}

bool ValidName(const std::u16string& name) {
  constexpr std::size_t kMaxNameLength = 31;
  if (name.empty() || name.size() > kMaxNameLength) return false;
  return name.find_first_of(u"/\\:!") == std::u16string::npos;
}

class MemoryStream : public Stream {
 public:
  MemoryStream(std::shared_ptr<Node> node, std::uint32_t mode, std::shared_ptr<OpenFile> file)
      : node_(std::move(node)), mode_(mode), file_(std::move(file)) {}

  HResult Read(void* buffer, std::uint32_t count, std::uint32_t* read) override {
    if (!buffer) return stg_error::kInvalidPointer;
    const std::size_t available =
        node_->data.size() > position_ ? node_->data.size() - position_ : 0;
    const std::size_t n = std::min<std::size_t>(count, available);
    if (n) std::memcpy(buffer, node_->data.data() + position_, n);
    position_ += n;
    if (read) *read = static_cast<std::uint32_t>(n);
    return kOk;
  }

  HResult Write(const void* buffer, std::uint32_t count, std::uint32_t* written) override {
    return ResultOf([&]() -> HResult {
      if (!CanWrite(mode_)) return stg_error::kAccessDenied;
      if (!buffer && count) return stg_error::kInvalidPointer;
      if (node_->data.size() < position_ + count) node_->data.resize(position_ + count);
      if (count) std::memcpy(node_->data.data() + position_, buffer, count);
      position_ += count;
      if (written) *written = count;
      return kOk;
    });
  }

 private:
  std::shared_ptr<Node> node_;
  std::uint32_t mode_;
  std::shared_ptr<OpenFile> file_;
  std::size_t position_ = 0;
};

class MemoryEnumerator : public ElementEnumerator {
 public:
  MemoryEnumerator(std::vector<ElementStat> elements, std::shared_ptr<OpenFile> file)
      : elements_(std::move(elements)), file_(std::move(file)) {}

  HResult Next(ElementStat& element) override {
    if (next_ >= elements_.size()) return kFalse;
    element = elements_[next_++];
    return kOk;
  }

 private:
  std::vector<ElementStat> elements_;
  std::shared_ptr<OpenFile> file_;
  std::size_t next_ = 0;
};

class MemoryStorage : public Storage {
 public:
  MemoryStorage(std::shared_ptr<Node> node, std::uint32_t mode, std::shared_ptr<OpenFile> file)
      : node_(std::move(node)), mode_(mode), file_(std::move(file)) {}
  // A transacted root: works on a copy of `file_root` and puts it there on
  // Commit.
  MemoryStorage(const std::shared_ptr<Node>& file_root, std::uint32_t mode,
                std::shared_ptr<OpenFile> file, bool)
      : node_(Copy(*file_root)), mode_(mode), file_(std::move(file)), committed_(file_root) {}

  HResult CreateStorage(const std::u16string& name, std::uint32_t mode,
                        std::unique_ptr<Storage>& out) override {
    return ResultOf([&]() -> HResult {
      std::shared_ptr<Node> child;
      const HResult hr = Create(name, mode, ElementType::kStorage, child);
      if (hr == kOk) out = std::make_unique<MemoryStorage>(child, mode, file_);
      return hr;
    });
  }

  HResult CreateStream(const std::u16string& name, std::uint32_t mode,
                       std::unique_ptr<Stream>& out) override {
    return ResultOf([&]() -> HResult {
      std::shared_ptr<Node> child;
      const HResult hr = Create(name, mode, ElementType::kStream, child);
      if (hr == kOk) out = std::make_unique<MemoryStream>(child, mode, file_);
      return hr;
    });
  }

  HResult OpenStorage(const std::u16string& name, std::uint32_t mode,
                      std::unique_ptr<Storage>& out) override {
    return ResultOf([&]() -> HResult {
      std::shared_ptr<Node> child;
      const HResult hr = Open(name, mode, ElementType::kStorage, child);
      if (hr == kOk) out = std::make_unique<MemoryStorage>(child, mode, file_);
      return hr;
    });
  }

  HResult OpenStream(const std::u16string& name, std::uint32_t mode,
                     std::unique_ptr<Stream>& out) override {
    return ResultOf([&]() -> HResult {
      std::shared_ptr<Node> child;
      const HResult hr = Open(name, mode, ElementType::kStream, child);
      if (hr == kOk) out = std::make_unique<MemoryStream>(child, mode, file_);
      return hr;
    });
  }

  HResult EnumElements(std::unique_ptr<ElementEnumerator>& out) override {
    return ResultOf([&]() -> HResult {
      std::vector<ElementStat> elements;
      for (const auto& [name, child] : node_->children)
        elements.push_back(
            {name, child->type, child->type == ElementType::kStream ? child->data.size() : 0});
      out = std::make_unique<MemoryEnumerator>(std::move(elements), file_);
      return kOk;
    });
  }

  HResult DestroyElement(const std::u16string& name) override {
    if (!CanWrite(mode_)) return stg_error::kAccessDenied;
    return node_->children.erase(name) ? kOk : stg_error::kFileNotFound;
  }

  HResult RenameElement(const std::u16string& from, const std::u16string& to) override {
    return ResultOf([&]() -> HResult {
      if (!CanWrite(mode_)) return stg_error::kAccessDenied;
      if (!ValidName(to)) return stg_error::kInvalidName;
      const auto found = node_->children.find(from);
      if (found == node_->children.end()) return stg_error::kFileNotFound;
      if (node_->children.count(to)) return stg_error::kFileAlreadyExists;
      std::shared_ptr<Node> child = found->second;
      node_->children.erase(found);
      node_->children.emplace(to, std::move(child));
      return kOk;
    });
  }

  HResult Commit(std::uint32_t) override {
    // Direct mode: already written.
    if (committed_) committed_->children = Copy(*node_)->children;
    return kOk;
  }

 private:
  HResult Create(const std::u16string& name, std::uint32_t mode, ElementType type,
                 std::shared_ptr<Node>& out) {
    if (!(mode & stgm::kShareExclusive)) return stg_error::kInvalidFlag;
    if (!CanWrite(mode_)) return stg_error::kAccessDenied;
    if (!ValidName(name)) return stg_error::kInvalidName;
    const auto found = node_->children.find(name);
    if (found != node_->children.end()) {
      if (!(mode & stgm::kCreate)) return stg_error::kFileAlreadyExists;
      node_->children.erase(found);  // replaced with all its content
    }
    out = std::make_shared<Node>(Node{type, {}, {}});
    node_->children.emplace(name, out);
    return kOk;
  }

  HResult Open(const std::u16string& name, std::uint32_t mode, ElementType type,
               std::shared_ptr<Node>& out) {
    if (!(mode & stgm::kShareExclusive)) return stg_error::kInvalidFlag;
    if (CanWrite(mode) && !CanWrite(mode_)) return stg_error::kAccessDenied;
    const auto found = node_->children.find(name);
    if (found == node_->children.end() || found->second->type != type)
      return stg_error::kFileNotFound;
    out = found->second;
    return kOk;
  }

  std::shared_ptr<Node> node_;
  std::uint32_t mode_;
  std::shared_ptr<OpenFile> file_;
  std::shared_ptr<Node> committed_;  // the file's tree, for a transacted root
};

}  // namespace memory_storage

using memory_storage::MemoryStorage;
using memory_storage::Node;
using memory_storage::OpenFile;
using memory_storage::Upper;

MemoryStorageFiles::MemoryStorageFiles() = default;
MemoryStorageFiles::~MemoryStorageFiles() = default;

bool MemoryStorageFiles::IsOpen(const std::u16string& path) const {
  const auto found = files_.find(Upper(path));
  return found != files_.end() && !found->second.open.expired();
}

HResult MemoryStorageFiles::CreateDocfile(const std::u16string& path, std::uint32_t mode,
                                          std::unique_ptr<Storage>& out) {
  if (path.empty()) return stg_error::kInvalidName;
  if (IsOpen(path)) return stg_error::kShareViolation;
  if (Exists(path) && !(mode & stgm::kCreate)) return stg_error::kFileAlreadyExists;
  File& file = files_[Upper(path)];
  file.root = std::make_shared<Node>(Node{ElementType::kStorage, {}, {}});
  file.plain.clear();
  auto open = std::make_shared<OpenFile>();
  file.open = open;
  out = std::make_unique<MemoryStorage>(file.root, mode, std::move(open));
  return kOk;
}

HResult MemoryStorageFiles::OpenDocfile(const std::u16string& path, std::uint32_t mode,
                                        std::unique_ptr<Storage>& out) {
  const auto found = files_.find(Upper(path));
  if (found == files_.end()) return stg_error::kFileNotFound;
  if (!found->second.open.expired()) return stg_error::kShareViolation;
  // The system's answer for a file that exists but is not a compound file.
  if (!found->second.root) return stg_error::kFileAlreadyExists;
  auto open = std::make_shared<OpenFile>();
  found->second.open = open;
  if (mode & stgm::kTransacted)
    out = std::make_unique<MemoryStorage>(found->second.root, mode, std::move(open), true);
  else
    out = std::make_unique<MemoryStorage>(found->second.root, mode, std::move(open));
  return kOk;
}

bool MemoryStorageFiles::Delete(const std::u16string& path) {
  if (IsOpen(path)) return false;
  return files_.erase(Upper(path)) != 0;
}

bool MemoryStorageFiles::Move(const std::u16string& from, const std::u16string& to) {
  const auto found = files_.find(Upper(from));
  if (found == files_.end() || !found->second.open.expired()) return false;
  if (files_.count(Upper(to))) return false;
  File file = found->second;
  files_.erase(found);
  files_.emplace(Upper(to), std::move(file));
  return true;
}

bool MemoryStorageFiles::Replace(const std::u16string& from, const std::u16string& to) {
  const auto found = files_.find(Upper(from));
  if (found == files_.end() || !found->second.open.expired() || IsOpen(to)) return false;
  File file = found->second;
  files_.erase(found);
  files_[Upper(to)] = std::move(file);
  return true;
}

void MemoryStorageFiles::PutPlainFile(const std::u16string& path, std::string bytes) {
  File& file = files_[Upper(path)];
  file.root.reset();
  file.plain = std::move(bytes);
}

std::optional<std::string> MemoryStorageFiles::PlainFileBytes(const std::u16string& path) const {
  const auto found = files_.find(Upper(path));
  if (found == files_.end() || found->second.root) return std::nullopt;
  return found->second.plain;
}

bool MemoryStorageFiles::Exists(const std::u16string& path) {
  return files_.count(Upper(path)) != 0;
}

}  // namespace quill::platform
