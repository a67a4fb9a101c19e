// Writes the sample files: the malformed bitmaps with their expected errors
// into one folder, the fuzzer's seed bitmaps into another.
//   dib_make_samples MALFORMED_DIR SEED_DIR
#include <filesystem>
#include <fstream>
#include <iostream>

#include "bmp_samples.h"

namespace {

namespace fs = std::filesystem;
using quill::dib::testing::SampleFile;

void WriteFile(const fs::path& name, const void* data, std::size_t size) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!out) throw std::runtime_error("cannot write " + name.string());
}

void WriteFolder(const fs::path& folder, const std::vector<SampleFile>& files) {
  fs::create_directories(folder);
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == ".bmp") fs::remove(entry.path());
  }
  for (const SampleFile& file : files) {
    WriteFile(folder / file.name, file.bytes.data(), file.bytes.size());
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: dib_make_samples MALFORMED_DIR SEED_DIR\n";
    return 2;
  }
  try {
    const auto malformed = quill::dib::testing::MalformedFiles();
    WriteFolder(argv[1], malformed);
    const std::string expected = quill::dib::testing::ExpectedErrorsText(malformed);
    WriteFile(fs::path(argv[1]) / "expected.txt", expected.data(), expected.size());
    WriteFolder(argv[2], quill::dib::testing::SeedFiles());
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
  return 0;
}
