#pragma once
// What a saved storage holds, read with the system's compound-file calls:
// how many records, how many of them sound, and their texts.
#include <set>
#include <string>

namespace quill::e2e {

struct StorageSummary {
  bool opened = false;  // the file opens as a compound file
  int records = 0;
  int sound = 0;  // with a Header and a text stream
  std::set<std::string> texts;
  std::set<std::string> sound_texts;  // the texts of the sound records
};

// Records 1, 2, ... up to the first missing number.
StorageSummary Summarise(const std::wstring& path);

}  // namespace quill::e2e
