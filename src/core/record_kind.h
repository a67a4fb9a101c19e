#pragma once
// What a record holds, as every record write and read reports it: -1 when
// nothing was written or read; otherwise bit 0 = text, bit 1 = a picture
// (a DIB or an enhanced metafile).
namespace quill::core {

using RecordKind = int;
constexpr RecordKind kNoRecord = -1;
constexpr RecordKind kHasText = 1;
constexpr RecordKind kHasPicture = 2;

// The kind after a stream of `format` was stored or read.
RecordKind WithFormat(RecordKind kind, unsigned format);

}  // namespace quill::core
