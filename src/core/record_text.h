#pragma once
// A record's text as stored, kept beside the storage so that a search need
// not open every record again and a list row can show its first line: its
// Unicode text and its text in the system's code page, each up to its
// terminating zero (empty where the record has none). Only the first part
// of a long text is kept, so that memory does not grow with the texts.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace quill::core {

// Characters kept of each text: far more than a row shows.
inline constexpr std::size_t kKeptTextChars = 2048;

struct RecordText {
  std::u16string unicode;
  std::string ansi;
  // False when a text goes on past what is kept: a search reads it whole
  // from the storage.
  bool whole = true;
};

// Takes the text of a format's stored bytes into `text`, if the format is
// one of the two texts: at most `limit` characters of it.
void KeepText(unsigned format, std::span<const std::uint8_t> bytes, RecordText& text,
              std::size_t limit = kKeptTextChars);

}  // namespace quill::core
