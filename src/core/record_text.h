#pragma once
// A record's text as stored, kept beside the storage so that a search need
// not open every record again: its Unicode text and its text in the
// system's code page, each up to its terminating zero (empty where the
// record has none).
#include <cstdint>
#include <span>
#include <string>

namespace quill::core {

struct RecordText {
  std::u16string unicode;
  std::string ansi;
};

// Takes the text of a format's stored bytes into `text`, if the format is
// one of the two texts.
void KeepText(unsigned format, std::span<const std::uint8_t> bytes, RecordText& text);

}  // namespace quill::core
