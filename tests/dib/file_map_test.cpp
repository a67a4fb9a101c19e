// Pixel memory: zero-filled mappings, their hand-over and their release.
#include <gtest/gtest.h>

#include <cstdint>

#include "dib/kv_errors.h"
#include "dib/kv_file_map.h"
#include "dib_test_util.h"

namespace quill::dib::testing {
namespace {

TEST(FileMap, IsZeroFilledWritableAndMovesOwnership) {
  FileMap map = GetFileMap(100000);
  ASSERT_TRUE(map);
  EXPECT_EQ(map.size(), 100000u);
  for (std::size_t i = 0; i < map.size(); i += 997) ASSERT_EQ(map.bits()[i], 0) << i;
  map.bits()[99999] = 0x5A;

  FileMap moved = std::move(map);
  EXPECT_FALSE(map);
  EXPECT_EQ(moved.bits()[99999], 0x5A);

  map = GetFileMap(10);
  map = std::move(moved);  // releases the 10-byte map
  EXPECT_EQ(map.bits()[99999], 0x5A);
  map.Release();
  EXPECT_FALSE(map);
  map.Release();  // nothing left to release
}

TEST(FileMap, AnEmptyBlockStillHasMemory) {
  FileMap map = GetFileMap(0);
  ASSERT_TRUE(map);
  EXPECT_GE(map.size(), 1u);
}

TEST(FileMap, ImpossibleSizesAreAResourceError) {
  const std::string message = MessageOf<EOutOfResources>([] { GetFileMap(SIZE_MAX / 2); });
  EXPECT_TRUE(message == "GetFileMap: Cannot Make File Mapping Object" ||
              message == "GetFileMap: Cannot Make View of File Map")
      << message;
}

TEST(FileMap, FailedReleasesAreReported) {
  void* not_a_view = reinterpret_cast<void*>(std::uintptr_t{1});
  EXPECT_EQ(MessageOf<EKvDIBAssert>([&] { ReleaseFileMap(nullptr, not_a_view, 4096); }),
            "ReleaseFileMap: Failed To Unmap View of File map");
#ifdef _WIN32
  // The view goes, the section handle does not: the map's own release
  // later closes the real section.
  FileMap map = GetFileMap(4096);
  EXPECT_EQ(MessageOf<EKvDIBAssert>([&] { ReleaseFileMap(nullptr, map.bits(), map.size()); }),
            "ReleaseFileMap: Failed To Close File Map");
#endif
}

}  // namespace
}  // namespace quill::dib::testing
