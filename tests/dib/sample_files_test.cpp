// The sample folders: every malformed file fails with its error and leaves
// the default image; every seed file loads and survives a save and reload.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "bmp_samples.h"
#include "dib_test_util.h"

namespace quill::dib::testing {
namespace {

namespace fs = std::filesystem;

Bytes ReadFile(const fs::path& name) {
  std::ifstream in(name, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::set<std::string> BitmapsIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == ".bmp") names.insert(entry.path().filename().string());
  }
  return names;
}

std::map<std::string, std::string> ExpectedErrors() {
  std::ifstream in(fs::path(QUILL_DIB_MALFORMED_DIR) / "expected.txt", std::ios::binary);
  std::map<std::string, std::string> expected;
  std::string line;
  while (std::getline(in, line)) {
    const auto tab = line.find('\t');
    if (tab != std::string::npos) expected[line.substr(0, tab)] = line.substr(tab + 1);
  }
  return expected;
}

TEST(MalformedFiles, EachFailsWithItsErrorAndLeavesTheDefaultImage) {
  const auto expected = ExpectedErrors();
  ASSERT_GT(expected.size(), 40u);
  const auto present = BitmapsIn(QUILL_DIB_MALFORMED_DIR);
  for (const std::string& name : present) {
    EXPECT_TRUE(expected.count(name)) << name << " has no expected error";
  }
  for (const auto& [name, message] : expected) {
    SCOPED_TRACE(name);
    TKvDIB dib;
    Load(dib, BuildBmp(PlainImage(24, 3, 3, 0)));
    try {
      dib.LoadFromFile(fs::path(QUILL_DIB_MALFORMED_DIR) / name);
      ADD_FAILURE() << "loaded";
    } catch (const Exception& e) {
      EXPECT_EQ(std::string(e.what()), message);
    }
    ExpectDefaultImage(dib);
  }
}

TEST(MalformedFiles, FolderHoldsWhatTheGeneratorMakes) {
  const auto files = MalformedFiles();
  std::set<std::string> names;
  for (const SampleFile& file : files) {
    names.insert(file.name);
    EXPECT_EQ(ReadFile(fs::path(QUILL_DIB_MALFORMED_DIR) / file.name), file.bytes) << file.name;
  }
  EXPECT_EQ(BitmapsIn(QUILL_DIB_MALFORMED_DIR), names);
  std::ifstream in(fs::path(QUILL_DIB_MALFORMED_DIR) / "expected.txt", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), ExpectedErrorsText(files)) << "run dib_make_samples";
}

TEST(SeedFiles, EachLoadsAndSurvivesASaveAndReload) {
  const auto files = SeedFiles();
  EXPECT_EQ(BitmapsIn(QUILL_DIB_SEED_DIR).size(), files.size());
  for (const SampleFile& file : files) {
    SCOPED_TRACE(file.name);
    EXPECT_EQ(ReadFile(fs::path(QUILL_DIB_SEED_DIR) / file.name), file.bytes);
    TKvDIB dib;
    dib.LoadFromFile(fs::path(QUILL_DIB_SEED_DIR) / file.name);
    const Bytes saved = Save(dib);
    TKvDIB again;
    Load(again, saved);
    EXPECT_EQ(Info(again).Header, Info(dib).Header);
    EXPECT_EQ(Pixels(again), Pixels(dib));
    EXPECT_EQ(Save(again), saved);
  }
}

}  // namespace
}  // namespace quill::dib::testing
