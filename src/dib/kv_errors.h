#pragma once
// The imaging library's error classes. Each carries its message text
// ("Class.Method: text") and derives directly from one base, so a command
// handler catches them all in one place. The framework-level errors the
// library raises (resources, memory, graphics, streams) are declared here as
// well, because the library depends on nothing else of ours.
#include <stdexcept>
#include <string>

namespace quill::dib {

// Base of every error the library raises.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

#define QUILL_DIB_EXCEPTION(Name)                                     \
  class Name : public Exception {                                     \
   public:                                                            \
    explicit Name(const std::string& message) : Exception(message) {} \
  }

// The library's own classes.
QUILL_DIB_EXCEPTION(EKvDIBInvalidDIB);
QUILL_DIB_EXCEPTION(EKvDIBInvalidDIBFile);
QUILL_DIB_EXCEPTION(EKvDIBInvalidDIBPara);
QUILL_DIB_EXCEPTION(EKvDIBBadDIBType);
QUILL_DIB_EXCEPTION(EKvDIBInvalidPalette);
QUILL_DIB_EXCEPTION(EKvDIBCompressionFailed);
QUILL_DIB_EXCEPTION(EKvDIBAssert);

// Framework errors: system resources (sections, palettes), memory, graphics,
// the clipboard.
QUILL_DIB_EXCEPTION(EOutOfResources);
QUILL_DIB_EXCEPTION(EOutOfMemory);
QUILL_DIB_EXCEPTION(EInvalidGraphic);
QUILL_DIB_EXCEPTION(EClipboardError);

// Stream errors: a short read or write, a file that cannot be opened or made.
QUILL_DIB_EXCEPTION(EReadError);
QUILL_DIB_EXCEPTION(EWriteError);
QUILL_DIB_EXCEPTION(EFOpenError);
QUILL_DIB_EXCEPTION(EFCreateError);

#undef QUILL_DIB_EXCEPTION

}  // namespace quill::dib
