#pragma once
// BI_RLE8 and BI_RLE4 codecs: decoders turn a compressed body into
// uncompressed rows, encoders do the reverse. Each returns a new image
// description with its own pixel block and leaves the source untouched, so a
// failed compression keeps the caller's image as it was.
#include "dib/kv_dib_info.h"

namespace quill::dib {

// 8-bit BI_RLE8 -> 8-bit BI_RGB. Throws EKvDIBBadDIBType for any other
// input, EKvDIBInvalidDIB ("Bad RLE Data n") for data that leaves the rows
// (a row may be coded up to the end of its stride; pixels past the width are
// dropped). Never reads past source.ImageSize; a stream that ends without an
// end-of-bitmap code decodes what it holds and leaves the rest zero.
TDIBInfo Convert8BitRLETo8BitRGB(const TDIBInfo& source);

// 4-bit BI_RLE4 -> 4-bit BI_RGB, with the same contract.
TDIBInfo Convert4BitRLETo4BitRGB(const TDIBInfo& source);

// 8-bit BI_RGB -> 8-bit BI_RLE8, bottom-up whatever the source's row order.
// Throws EKvDIBBadDIBType for any other input and EKvDIBCompressionFailed
// when the stream would not fit in the size of the uncompressed pixels.
TDIBInfo Convert8BitRGBTo8BitRLE(const TDIBInfo& source);

// 4-bit BI_RGB -> 4-bit BI_RLE4, with the same contract.
TDIBInfo Convert4BitRGBTo4BitRLE(const TDIBInfo& source);

}  // namespace quill::dib
