// Setup files that are cut short, carry impossible block lengths, or hold a damaged program-area
// header: every load either fails and leaves the document as it was, or loads; everything the
// editor then does stays inside the program it works on and saves the header back unchanged.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "catalogue/listing.h"
#include "setupfile/file_fixtures.h"
#include "setupfile/setup_file.h"
#include "store/bytes.h"
#include "support/files.h"

namespace vx {
namespace {

namespace fs = std::filesystem;
using fixtures::Bytes;
using fixtures::concat;
using fixtures::magic;

Bytes block(const std::string& tag, std::uint32_t dataLength, std::uint32_t storedLength) {
  return fixtures::block(tag, dataLength, storedLength, 0x5A);
}
Bytes block(const std::string& tag, std::uint32_t length) { return block(tag, length, length); }

// Slot i holds a line marked with i in bytes 14-15, so that every slot is recognisable.
std::unique_ptr<ProgramArea> markedArea() {
  auto area = std::make_unique<ProgramArea>();
  resetProgramArea(*area);
  for (std::size_t i = 0; i < area->slots.size(); ++i) {
    auto& bytes = area->slots[i].bytes;
    bytes[0] = static_cast<std::uint8_t>(i % 13);
    writeU16(&bytes[12], static_cast<std::uint32_t>(i % 5));
    writeU16(&bytes[14], static_cast<std::uint32_t>(i));
  }
  return area;
}

Bytes programBlock(const ProgramArea& area) {
  Bytes bytes = block("SPG1", ProgramBlockLength);
  std::memcpy(&bytes[8], &area, ProgramAreaSize);
  return bytes;
}

Bytes settingsBlock() {
  Bytes settings = block("STUP", 1756);
  settings[8 + 9] = 0;   // selector 0: the character code is settings byte 32
  settings[8 + 32] = 3;  // JIS7
  return settings;
}

// Loads the bytes into a document that holds the default template and a marked cursor; on
// failure the document must be exactly as before.
struct LoadOutcome {
  int result;
  LoadError why;
  std::int32_t setupLength;
};
class CheckedLoader {
 public:
  CheckedLoader() {
    initialise(*before_);
    setCursor(before_->programArea, 3, 123);
    *document_ = *before_;
  }

  LoadOutcome load(const Bytes& file) {
    LoadError why = LoadError::None;
    const int result = loadImage(*document_, file, &why);
    const LoadOutcome outcome = {result, why, document_->setupLength};
    if (result == -1) {
      EXPECT_TRUE(document_->image == before_->image);
      EXPECT_EQ(document_->setupLength, before_->setupLength);
      EXPECT_EQ(std::memcmp(&document_->programArea, &before_->programArea, ProgramAreaSize), 0);
    } else {
      EXPECT_TRUE(document_->image == file);
      *document_ = *before_;
    }
    return outcome;
  }

 private:
  std::unique_ptr<SetupDocument> before_ = std::make_unique<SetupDocument>();
  std::unique_ptr<SetupDocument> document_ = std::make_unique<SetupDocument>();
};
LoadOutcome loadChecked(const Bytes& file) { return CheckedLoader().load(file); }

TEST(DamagedFile, EveryPrefixOfAValidFileLoadsOrFailsCleanly) {
  const auto area = markedArea();
  struct Case {
    const char* name;
    Bytes file;
    std::size_t programBlockAt;
  };
  const Case cases[] = {
      {"magic, settings, programs, further block",
       concat({magic(), settingsBlock(), programBlock(*area), block("XTRA", 3)}), 1780},
      {"programs first", programBlock(*area), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::size_t headerEnd = c.programBlockAt + 8;
    const std::size_t blockEnd = headerEnd + ProgramAreaSize;
    for (std::size_t length = 0; length <= c.file.size(); ++length) {
      const LoadOutcome outcome =
          loadChecked(Bytes(c.file.begin(), c.file.begin() + static_cast<std::ptrdiff_t>(length)));
      if (length < headerEnd) {
        ASSERT_EQ(outcome.result, -1) << length;
        ASSERT_EQ(outcome.why, LoadError::NoProgramBlock) << length;
      } else if (length < blockEnd) {
        ASSERT_EQ(outcome.result, -1) << length;
        ASSERT_EQ(outcome.why, LoadError::Truncated) << length;
      } else {
        ASSERT_EQ(outcome.result, c.programBlockAt == 0 ? 0 : 3) << length;
        ASSERT_EQ(outcome.setupLength, static_cast<std::int32_t>(c.programBlockAt)) << length;
      }
    }
  }
}

TEST(DamagedFile, BlockLengthsThatOverflowOrLeaveTheFileEndTheWalk) {
  const auto area = markedArea();
  const Bytes program = programBlock(*area);
  // A first block whose data holds a program block: the walk steps over it, so that block is
  // only found by a walk whose position wraps around 32 bits back to offset 24.
  const Bytes hiding = concat({magic(), block("STUP", 0, 32800), program});
  const std::uint32_t wrapTo24 = static_cast<std::uint32_t>(0x100000000ull - 32808);
  const std::uint32_t wrapToItself = static_cast<std::uint32_t>(0x100000000ull - 8);
  struct Case {
    const char* name;
    Bytes file;
    int setupLength;  // -1: the load fails
  };
  const Case cases[] = {
      {"position wraps around 32 bits onto a hidden program block",
       concat({hiding, block("JUNK", 0, wrapTo24)}), -1},
      {"position wraps around 32 bits onto the same block",
       concat({magic(), block("STUP", 4), block("JUNK", 0, wrapToItself), program}), -1},
      {"largest length in the first block", concat({block("STUP", 0, 0xFFFFFFFF), program}), -1},
      {"length ending exactly at the end of the file",
       concat({magic(), block("STUP", 0, static_cast<std::uint32_t>(program.size())), program}),
       -1},
      {"length leaving too little for a block header",
       concat({magic(), block("STUP", 0, static_cast<std::uint32_t>(program.size() - 4)), program}),
       -1},
      {"program block inside a wrong-length SPG1 block",
       concat({magic(), block("SPG1", 0, 32800), program}), -1},
      {"SPG1 of length 32793 is stepped over", concat({magic(), block("SPG1", 32793), program}),
       16 + 8 + 32793},
      {"SPG1 with its length in the wrong byte order is stepped over",
       concat({magic(), block("SPG1", 0, 0x18800000), program}), -1},
      {"empty SPG1 is stepped over", concat({magic(), block("SPG1", 0), program}), 24},
      {"program block only inside the data of the first block", concat({hiding}), -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const LoadOutcome outcome = loadChecked(c.file);
    if (c.setupLength < 0) {
      EXPECT_EQ(outcome.result, -1);
      EXPECT_NE(outcome.why, LoadError::None);
    } else {
      EXPECT_GE(outcome.result, 0);
      EXPECT_EQ(outcome.setupLength, c.setupLength);
    }
  }
}

// A loaded area whose header is damaged: every program reaches only its own slots.
class DamagedHeader : public ::testing::Test {
 protected:
  test::TempFolder folder;
  fs::path dir = folder.path();
};

// Slot range of each program, or {0, 0} for a program without lines.
struct Range {
  int start;
  int count;
};

void expectOnlyInside(const ProgramArea& before, const ProgramArea& after,
                      std::initializer_list<Range> ranges, const char* what) {
  SCOPED_TRACE(what);
  EXPECT_EQ(before.header, after.header);
  for (int slot = 0; slot < SlotCount; ++slot) {
    const bool inside = std::any_of(ranges.begin(), ranges.end(), [&](const Range& r) {
      return slot >= r.start && slot < r.start + r.count;
    });
    if (!inside) {
      ASSERT_EQ(before.slots[static_cast<std::size_t>(slot)],
                after.slots[static_cast<std::size_t>(slot)])
          << "slot " << slot;
    }
  }
}

TEST_F(DamagedHeader, ListingCheckEditingAndSaveStayInsideTheArea) {
  struct Case {
    const char* name;
    std::array<int, 5> starts;
    std::array<int, 4> cursors;
    std::array<Range, 4> ranges;
  };
  const Case cases[] = {
      {"decreasing starts, overlapping programs",
       {0, 600, 500, 1536, 2048},
       {599, 0, 1035, 511},
       {{{0, 600}, {0, 0}, {500, 1036}, {1536, 512}}}},
      {"starts below and past the area",
       {-5, 512, 1024, 1536, 4000},
       {-1, 512, 0x7FFF, -32768},
       {{{0, 0}, {512, 512}, {1024, 512}, {0, 0}}}},
      {"all starts at the largest value",
       {0x7FFF, 0x7FFF, 0x7FFF, 0x7FFF, 0x7FFF},
       {0, 1, 2, 3},
       {{{0, 0}, {0, 0}, {0, 0}, {0, 0}}}},
      {"empty programs at the end",
       {0, 100, 2048, 2048, 2048},
       {100, -1, 0, 0},
       {{{0, 100}, {100, 1948}, {0, 0}, {0, 0}}}},
      {"end before the last start",
       {0, 512, 1024, 1536, 1000},
       {5, 5, 5, 5},
       {{{0, 512}, {512, 512}, {1024, 512}, {0, 0}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto area = markedArea();
    for (int p = 0; p <= ProgramCount; ++p) {
      writeU16(&area->header[4 + 4 * static_cast<std::size_t>(p)],
               static_cast<std::uint32_t>(c.starts[static_cast<std::size_t>(p)]) & 0xFFFF);
    }
    for (int p = 0; p < ProgramCount; ++p) {
      setCursor(*area, p, c.cursors[static_cast<std::size_t>(p)]);
    }
    area->header[0] = 0xEE;  // a program count and reserved words that no operation reads
    area->header[2] = 0x99;
    area->header[22] = 0x77;
    const Bytes file = concat({magic(), settingsBlock(), programBlock(*area)});
    {
      std::ofstream out(dir / "damaged.su", std::ios::binary);
      out.write(reinterpret_cast<const char*>(file.data()),
                static_cast<std::streamsize>(file.size()));
    }
    auto document = std::make_unique<SetupDocument>();
    initialise(*document);
    ASSERT_EQ(load(*document, dir / "damaged.su"), 3);
    ProgramArea& loaded = document->programArea;
    const auto original = std::make_unique<ProgramArea>(loaded);

    for (int p = 0; p < ProgramCount; ++p) {
      SCOPED_TRACE(p);
      const Range range = c.ranges[static_cast<std::size_t>(p)];
      // The listing asks for lines until none comes, as the program list does.
      int listed = 0;
      while (const ProgramLine* line = lineAt(loaded, p, listed)) {
        ASSERT_EQ(line, &loaded.slots[static_cast<std::size_t>(range.start + listed)]);
        ListingText text;
        listingText(*line, CharCode::Jis7, true, text);
        ASSERT_LE(std::find(text.begin(), text.end(), '\0') - text.begin(), 39);
        ++listed;
      }
      EXPECT_EQ(listed, range.count);
      const int at = cursor(loaded, p);
      EXPECT_EQ(at, static_cast<std::int16_t>(c.cursors[static_cast<std::size_t>(p)]));
      EXPECT_EQ(lineAt(loaded, p, at) != nullptr, at >= 0 && at < range.count);
      const int offending = checkLabels(loaded, p);
      EXPECT_TRUE(offending == -1 || (offending >= 0 && offending < range.count)) << offending;
    }
    EXPECT_EQ(std::memcmp(&loaded, original.get(), ProgramAreaSize), 0);

    for (int p = 0; p < ProgramCount; ++p) {
      SCOPED_TRACE(p);
      const Range range = c.ranges[static_cast<std::size_t>(p)];
      const int next = (p + 1) % ProgramCount;
      const Range nextRange = c.ranges[static_cast<std::size_t>(next)];
      const int at = cursor(loaded, p);
      for (const int index : {at, 0, range.count - 1, range.count, -1}) {
        auto before = std::make_unique<ProgramArea>(loaded);
        insertLine(loaded, p, index);
        expectOnlyInside(*before, loaded, {range}, "insert");
        deleteLine(loaded, p, index);
        expectOnlyInside(*before, loaded, {range}, "delete");
        const std::vector<int> selection = {0, std::max(1, index)};
        for (const bool move : {false, true}) {
          moveCopyLines(loaded, p, selection, next, std::max(0, cursor(loaded, next)), move);
          expectOnlyInside(*before, loaded, {range, nextRange}, "move or copy to the next");
          moveCopyLines(loaded, p, selection, p, index, move);
          expectOnlyInside(*before, loaded, {range, nextRange}, "move or copy within");
        }
      }
    }

    ASSERT_EQ(save(*document, dir / "saved.su"), 0);
    std::ifstream in(dir / "saved.su", std::ios::binary);
    const Bytes saved(std::istreambuf_iterator<char>(in), {});
    ASSERT_EQ(saved.size(), 1780u + 8u + ProgramAreaSize);
    EXPECT_TRUE(std::equal(file.begin(), file.begin() + 1788, saved.begin()));
    EXPECT_TRUE(std::equal(original->header.begin(), original->header.end(), saved.begin() + 1788));
  }
}

}  // namespace
}  // namespace vx
