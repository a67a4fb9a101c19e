#include "core/record_kind.h"

#include "platform/types.h"

namespace quill::core {

RecordKind WithFormat(RecordKind kind, unsigned format) {
  if (kind < 0) kind = 0;
  if (format == platform::cf::kText) kind |= kHasText;
  if (format == platform::cf::kDib || format == platform::cf::kEnhMetafile) kind |= kHasPicture;
  return kind;
}

}  // namespace quill::core
