#pragma once
// The sample files kept in the repository: bitmaps that must fail to load,
// each with the error it must fail with, and small valid ones that seed the
// fuzzer. dib_make_samples writes them; a test checks the folders match.
#include <string>
#include <vector>

#include "bmp_builder.h"

namespace quill::dib::testing {

struct SampleFile {
  std::string name;
  Bytes bytes;
  std::string error;  // the exact message; empty for a valid file
};

std::vector<SampleFile> MalformedFiles();
std::vector<SampleFile> SeedFiles();

// "name<TAB>message" lines, one per malformed file.
std::string ExpectedErrorsText(const std::vector<SampleFile>& files);

}  // namespace quill::dib::testing
