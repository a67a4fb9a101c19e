#include "storage_summary.h"

#include <objbase.h>

namespace quill::e2e {
namespace {

std::string ReadStream(IStorage* storage, const wchar_t* name) {
  IStream* stream = nullptr;
  if (storage->OpenStream(name, nullptr, STGM_SHARE_EXCLUSIVE | STGM_READ, 0, &stream) != S_OK)
    return {};
  STATSTG stat = {};
  stream->Stat(&stat, STATFLAG_NONAME);
  std::string bytes(static_cast<std::size_t>(stat.cbSize.QuadPart), '\0');
  ULONG read = 0;
  stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
  stream->Release();
  bytes.resize(read);
  return bytes;
}

}  // namespace

StorageSummary Summarise(const std::wstring& path) {
  StorageSummary summary;
  IStorage* root = nullptr;
  if (::StgOpenStorage(path.c_str(), nullptr, STGM_SHARE_EXCLUSIVE | STGM_READ, nullptr, 0,
                       &root) != S_OK)
    return summary;
  summary.opened = true;
  for (int n = 1;; ++n) {
    IStorage* record = nullptr;
    if (root->OpenStorage(std::to_wstring(n).c_str(), nullptr, STGM_SHARE_EXCLUSIVE | STGM_READ,
                          nullptr, 0, &record) != S_OK)
      break;
    ++summary.records;
    const std::string header = ReadStream(record, L"Header");
    const std::string text = ReadStream(record, L"1");
    if (header.rfind('"', 0) == 0 && !text.empty()) {
      ++summary.sound;
      summary.sound_texts.insert(text.c_str());
    }
    summary.texts.insert(text.c_str());
    record->Release();
  }
  root->Release();
  return summary;
}

}  // namespace quill::e2e
