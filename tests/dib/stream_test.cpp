// The byte streams under the bitmap reader and writer.
#include <gtest/gtest.h>

#include "dib_test_util.h"

namespace quill::dib::testing {
namespace {

TEST(MemoryStream, ReadsExactlyOrFailsAndWritesOverAndPastTheEnd) {
  MemoryStream stream(Bytes{1, 2, 3, 4, 5});
  std::uint8_t two[2];
  stream.ReadBuffer(two, 2);
  EXPECT_EQ(two[1], 2);
  stream.Skip(2);
  EXPECT_EQ(stream.Remaining(), 1u);
  std::uint8_t more[2];
  EXPECT_EQ(MessageOf<EReadError>([&] { stream.ReadBuffer(more, 2); }), "Stream read error");
  EXPECT_THROW(stream.Skip(5), EReadError);

  stream.Seek(3);
  const std::uint8_t bytes[] = {9, 8, 7};
  stream.WriteBuffer(bytes, 3);
  EXPECT_EQ(Bytes(stream.Bytes().begin(), stream.Bytes().end()), (Bytes{1, 2, 3, 9, 8, 7}));
  stream.Seek(8);
  stream.WriteBuffer(bytes, 1);
  EXPECT_EQ(Bytes(stream.Bytes().begin(), stream.Bytes().end()),
            (Bytes{1, 2, 3, 9, 8, 7, 0, 0, 9}));
  EXPECT_EQ(stream.Position(), 9u);

  stream.Clear();
  EXPECT_EQ(stream.Size(), 0u);
  EXPECT_EQ(stream.Remaining(), 0u);
}

}  // namespace
}  // namespace quill::dib::testing
