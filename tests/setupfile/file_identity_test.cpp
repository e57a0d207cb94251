#include "setupfile/file_identity.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "support/files.h"

namespace vx {
namespace {

using Bytes = std::vector<std::uint8_t>;

class FileIdentityTest : public ::testing::Test {
 protected:
  void write(const Bytes& bytes) { test::writeBytes(path, bytes); }

  test::TempFolder folder;
  std::filesystem::path path = folder / "setup.su";
};

Bytes sample(std::size_t size) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return bytes;
}

TEST_F(FileIdentityTest, ReadFileAndRememberedBytesGiveTheSameIdentity) {
  const Bytes bytes = sample(1000);
  write(bytes);
  const std::optional<FileIdentity> read = identifyFile(path);
  ASSERT_TRUE(read);
  EXPECT_EQ(*read, identityOf(path, bytes));
  EXPECT_EQ(read->size, 1000u);
  EXPECT_NE(read->modified, 0);
  EXPECT_FALSE(identifyFile(folder / "missing.su"));
}

TEST_F(FileIdentityTest, HashTellsApartContentsThatDifferInOneByteOrInLength) {
  const Bytes base = sample(37);
  std::vector<std::uint64_t> hashes = {contentHash(base), contentHash({})};
  for (std::size_t i : {0u, 7u, 8u, 35u, 36u}) {
    Bytes changed = base;
    changed[i] ^= 1;
    hashes.push_back(contentHash(changed));
  }
  Bytes longer = base;
  longer.push_back(0);
  hashes.push_back(contentHash(longer));
  hashes.push_back(contentHash(Bytes(37, 0)));
  hashes.push_back(contentHash(Bytes(38, 0)));
  for (std::size_t a = 0; a < hashes.size(); ++a) {
    for (std::size_t b = a + 1; b < hashes.size(); ++b) EXPECT_NE(hashes[a], hashes[b]) << a << b;
  }
}

struct DiskCase {
  const char* name;
  bool rewrite;     // write the file again
  int changedByte;  // -1: same bytes
  int appended;     // bytes added at the end
  bool remove;
  DiskState expected;
};

TEST_F(FileIdentityTest, ComparesTheFileOnDiskWithWhatWasRemembered) {
  // clang-format off
  const DiskCase cases[] = {
      {"untouched",                 false, -1, 0, false, DiskState::Unchanged},
      {"written again, same bytes", true,  -1, 0, false, DiskState::Unchanged},
      {"one byte changed",          true,  500, 0, false, DiskState::Changed},
      {"grown",                     true,  -1, 1, false, DiskState::Changed},
      {"removed",                   false, -1, 0, true,  DiskState::Missing},
  };
  // clang-format on
  for (const DiskCase& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes bytes = sample(4096);
    write(bytes);
    const FileIdentity remembered = identityOf(path, bytes);
    // The same size and write time as before: only the bytes can tell the change.
    const auto time = std::filesystem::last_write_time(path);
    if (c.changedByte >= 0) bytes[static_cast<std::size_t>(c.changedByte)] ^= 0x80;
    bytes.resize(bytes.size() + static_cast<std::size_t>(c.appended), 0);
    if (c.rewrite) {
      write(bytes);
      std::filesystem::last_write_time(path, time);
    }
    if (c.remove) std::filesystem::remove(path);
    EXPECT_EQ(compareWithDisk(remembered, path), c.expected);
  }
}

}  // namespace
}  // namespace vx
