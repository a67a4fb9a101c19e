#pragma once
// The user's format filter: 18 entries, "(すべて)" for every format, one
// entry per standard format 1 to 16, and "その他" for the one registered
// format whose name equals its (editable) caption. Captions are in the
// system's 8-bit code page; those of entries 1 to 16 are also the names
// under which a record lists those formats.
#include <array>
#include <string>

namespace quill::core {

class FormatFilter {
 public:
  static constexpr int kEntries = 18;
  static constexpr int kAll = 0;
  static constexpr int kOther = 17;

  // Entry 0 ticked, the standard captions; `all` and `other` are the
  // captions of entries 0 and 17 in the system's code page.
  FormatFilter(std::string all, std::string other);

  const std::string& Caption(int entry) const { return captions_[entry]; }
  void SetCaption(int entry, std::string caption);
  bool Flag(int entry) const { return flags_[entry]; }
  void SetFlag(int entry, bool ticked) { flags_[entry] = ticked; }

  // The name a format is listed under: the caption of its entry for 1 to
  // 16 (at most 40 characters), else `registered_name`.
  std::string NameOf(unsigned format, const std::string& registered_name) const;
  // Whether a format with that name is to be stored.
  bool Passes(unsigned format, const std::string& name) const;

 private:
  std::array<std::string, kEntries> captions_;
  std::array<bool, kEntries> flags_{};
};

}  // namespace quill::core
