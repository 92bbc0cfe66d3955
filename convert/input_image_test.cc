#include "convert/input_image.h"

#include <gtest/gtest.h>

#include <string>

#include "convert/file.h"
#include "tests/support/scoped_temp_dir.h"

namespace fenmarq {
namespace {

using testing::ScopedTempDir;
using testing::writeFile;

TEST(InputImageTest, CapacityIsNextMultipleOf16AfterFourSparesPlusOne) {
  const std::pair<std::uint64_t, std::uint64_t> cases[] = {
      {0, 17},
      {1, 17},
      {11, 17},
      {12, 17},
      {13, 33},
      {28, 33},
      {29, 49},
      {2'263'680, 2'263'697},
      {246'240, 246'257},
      {0xFFFFFFFFull, 0x100000011ull},
  };
  for (const auto& [size, capacity] : cases) {
    EXPECT_EQ(InputImage::capacityFor(size), capacity) << size;
  }
  // Sizes beyond 32 bits are kept whole.
  EXPECT_EQ(InputImage::capacityFor(5'000'000'000), 5'000'000'017u);
}

TEST(InputImageTest, ReadsTheWholeFile) {
  ScopedTempDir dir;
  const std::string content = std::string("\0\x01\xFF", 3) + std::string(5000, 'x');
  writeFile("in", content);
  File input;
  ASSERT_TRUE(input.open("in", "rb"));
  InputImage image;
  ASSERT_TRUE(image.allocate(content.size()));
  EXPECT_GE(image.capacity(), content.size() + 5);
  image.readFrom(input);
  ASSERT_EQ(image.length(), content.size());
  EXPECT_EQ(std::string(image.bytes().begin(), image.bytes().end()), content);
}

// A file that grew after its size was taken is cut one byte before the end of
// the block, never read past it.
TEST(InputImageTest, StopsBeforeTheEndOfTheBlock) {
  ScopedTempDir dir;
  writeFile("in", std::string(100, '\x7F'));
  File input;
  ASSERT_TRUE(input.open("in", "rb"));
  InputImage image;
  ASSERT_TRUE(image.allocate(3));
  image.readFrom(input);
  EXPECT_EQ(image.capacity(), 17u);
  EXPECT_EQ(image.length(), 16u);
}

}  // namespace
}  // namespace fenmarq
