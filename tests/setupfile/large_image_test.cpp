// Files around and above the 2 MiB from which the image buffer is placed on large pages and read
// without zeroing first: every byte must still come from the file, and a save must give the file
// back byte for byte.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "setupfile/setup_file.h"
#include "store/bytes.h"
#include "support/files.h"

namespace vx {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// The default settings, a filler block of patterned bytes and the program block at the end, the
// whole file `size` bytes long. `seed` varies the pattern so that stale bytes would show.
Bytes setupFileOfSize(std::size_t size, std::uint8_t seed) {
  // Reserved in full first: growing the vector step by step trips a false array-bounds warning
  // of MinGW's GCC 12 at -O3.
  Bytes file;
  file.reserve(size);
  file.assign(DefaultSetupTemplate.begin(), DefaultSetupTemplate.end());
  const std::size_t filler = size - file.size() - 2 * BlockHeaderSize - ProgramAreaSize;
  file.insert(file.end(), {'F', 'I', 'L', 'L', 0, 0, 0, 0});
  writeU32(&file[file.size() - 4], static_cast<std::uint32_t>(filler));
  for (std::size_t i = 0; i < filler; ++i) {
    file.push_back(static_cast<std::uint8_t>((i * 131 + seed) ^ (i >> 11)));
  }
  ProgramArea area{};
  resetProgramArea(area);
  ProgramLine line{};
  line.bytes = {1, 0, 2, 0, 0x41, seed, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  storeLine(area, 3, 511, line);
  setCursor(area, 1, 300);
  file.insert(file.end(), {'S', 'P', 'G', '1', 0x18, 0x80, 0, 0});
  const auto* areaBytes = reinterpret_cast<const std::uint8_t*>(&area);
  file.insert(file.end(), areaBytes, areaBytes + ProgramAreaSize);
  return file;
}

class LargeImageTest : public ::testing::Test {
 protected:
  fs::path write(const std::string& name, const Bytes& bytes) {
    test::writeBytes(dir / name, bytes);
    return dir / name;
  }
  static Bytes read(const fs::path& path) { return test::readBytes(path); }

  test::TempFolder folder;
  fs::path dir = folder.path();
};

TEST_F(LargeImageTest, LoadTakesEveryByteAndSaveGivesTheFileBack) {
  constexpr std::size_t MiB = std::size_t{1} << 20;
  // Below, at and above the large-page threshold, an odd size, and the largest accepted file.
  const std::size_t sizes[] = {2 * MiB - 1, 2 * MiB, 2 * MiB + 1, 5 * MiB + 12345,
                               MaxSetupFileSize};
  SetupDocument document;
  initialise(document);
  std::uint8_t seed = 1;
  for (const std::size_t size : sizes) {
    SCOPED_TRACE(size);
    // One document for all sizes: each load must replace the image wholly, also when it shrinks.
    const Bytes file = setupFileOfSize(size, seed++);
    ASSERT_EQ(load(document, write("in.su", file)), 0);
    ASSERT_EQ(document.image.size(), size);
    EXPECT_TRUE(document.image == file);
    EXPECT_EQ(static_cast<std::size_t>(document.setupLength),
              size - BlockHeaderSize - ProgramAreaSize);
    EXPECT_EQ(lineAt(document.programArea, 3, 511)->bytes[5], seed - 1);
    EXPECT_EQ(cursor(document.programArea, 1), 300);
    ASSERT_EQ(save(document, dir / "out.su"), 0);
    EXPECT_TRUE(read(dir / "out.su") == file) << "the saved file differs from the loaded one";
  }
  // Back to a small file after the largest one.
  const Bytes small =
      setupFileOfSize(DefaultSetupTemplateSize + 2 * BlockHeaderSize + ProgramAreaSize + 100, 9);
  ASSERT_EQ(load(document, write("small.su", small)), 0);
  EXPECT_TRUE(document.image == small);
}

// The image converts to and compares with a plain byte vector, as code written for one expects.
TEST_F(LargeImageTest, ImageWorksWhereAByteVectorIsExpected) {
  const Bytes file = setupFileOfSize(3 << 20, 7);
  SetupDocument document;
  initialise(document);
  ASSERT_EQ(loadImage(document, file), 0);
  const Bytes copy = document.image;
  EXPECT_EQ(copy, file);
  EXPECT_TRUE(document.image == copy);
  EXPECT_TRUE(copy == document.image);
  const SetupDocument before = document;
  EXPECT_TRUE(before.image == document.image);
  document.image[100] ^= 0xFF;
  EXPECT_FALSE(document.image == copy);
  EXPECT_FALSE(before.image == document.image);
}

}  // namespace
}  // namespace vx
