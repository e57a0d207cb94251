#include "store/program_area.h"

#include <gtest/gtest.h>

#include <cstring>

#include "store/bytes.h"

namespace vx {
namespace {

ProgramArea freshArea() {
  ProgramArea area;
  resetProgramArea(area);
  return area;
}

void setStarts(ProgramArea& area, std::array<int, 5> starts) {
  for (std::size_t p = 0; p < starts.size(); ++p) {
    writeU16(&area.header[4 + 4 * p], static_cast<std::uint32_t>(starts[p]) & 0xFFFF);
  }
}

TEST(ProgramArea, ResetGivesFourEmptyProgramsOf512Lines) {
  ProgramArea area;
  area.slots[7].bytes.fill(0xAA);
  area.header.fill(0xFF);
  resetProgramArea(area);
  // Count 4, then starts 0, 512, 1024, 1536 and end 2048 little-endian, all cursors 0.
  const std::array<std::uint8_t, 24> expected = {4, 0,    0, 0, 0, 0,    0, 0, 0, 0x02, 0, 0,
                                                 0, 0x04, 0, 0, 0, 0x06, 0, 0, 0, 0x08, 0, 0};
  EXPECT_EQ(area.header, expected);
  for (int p = 0; p < ProgramCount; ++p) {
    EXPECT_EQ(lineCount(area, p), 512);
    EXPECT_EQ(cursor(area, p), 0);
    ASSERT_NE(lineAt(area, p, 511), nullptr);
    EXPECT_EQ(*lineAt(area, p, 511), ProgramLine{});
    EXPECT_EQ(lineAt(area, p, 512), nullptr);
    EXPECT_EQ(lineAt(area, p, -1), nullptr);
  }
  EXPECT_EQ(lineAt(area, 3, 511), &area.slots[2047]);
  EXPECT_EQ(area.slots[7], ProgramLine{});
}

TEST(ProgramArea, ProgramsAreNamedAToD) {
  EXPECT_STREQ(programName(0), "A");
  EXPECT_STREQ(programName(1), "B");
  EXPECT_STREQ(programName(2), "C");
  EXPECT_STREQ(programName(3), "D");
  EXPECT_STREQ(programName(-1), "?");
  EXPECT_STREQ(programName(ProgramCount), "?");
}

TEST(ProgramArea, LoadedStartsDivideTheSlots) {
  ProgramArea area = freshArea();
  setStarts(area, {0, 100, 2000, 2000, 2048});
  EXPECT_EQ(lineCount(area, 0), 100);
  EXPECT_EQ(lineCount(area, 1), 1900);
  EXPECT_EQ(lineCount(area, 2), 0);
  EXPECT_EQ(lineCount(area, 3), 48);
  EXPECT_EQ(lineAt(area, 2, 0), nullptr);
  EXPECT_EQ(lineAt(area, 1, 0), &area.slots[100]);
  EXPECT_EQ(lineAt(area, 3, 47), &area.slots[2047]);
}

TEST(ProgramArea, DamagedStartsGiveProgramsWithoutLines) {
  struct Case {
    std::array<int, 5> starts;
    std::array<int, 4> counts;
  };
  const Case cases[] = {
      {{0, 600, 500, 1536, 2048}, {600, 0, 1036, 512}},   // decreasing
      {{-5, 512, 1024, 1536, 2048}, {0, 512, 512, 512}},  // below the area
      {{0, 512, 1024, 1536, 4000}, {512, 512, 512, 0}},   // past the area
      {{0, 512, 1024, 1536, -1}, {512, 512, 512, 0}},
      {{0x7FFF, 0x7FFF, 0x7FFF, 0x7FFF, 0x7FFF}, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    ProgramArea area = freshArea();
    setStarts(area, c.starts);
    for (int p = 0; p < ProgramCount; ++p) {
      EXPECT_EQ(lineCount(area, p), c.counts[static_cast<std::size_t>(p)]) << "program " << p;
      if (c.counts[static_cast<std::size_t>(p)] == 0) {
        EXPECT_EQ(lineAt(area, p, 0), nullptr);
      }
    }
  }
}

TEST(ProgramArea, StoreLineWritesOnlyInsideTheProgram) {
  ProgramArea area = freshArea();
  ProgramLine line;
  line.bytes = {12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0};
  storeLine(area, 1, 3, line);
  EXPECT_EQ(area.slots[515], line);
  const ProgramArea before = area;
  storeLine(area, 1, 512, line);
  storeLine(area, 1, -1, line);
  storeLine(area, 4, 0, line);
  EXPECT_EQ(std::memcmp(&before, &area, sizeof area), 0);
}

TEST(ProgramArea, CursorIsSigned16BitsAndUnchecked) {
  ProgramArea area = freshArea();
  setCursor(area, 1, 300);
  EXPECT_EQ(cursor(area, 1), 300);
  EXPECT_EQ(area.header[10], 0x2C);
  EXPECT_EQ(area.header[11], 0x01);
  setCursor(area, 2, -1);
  EXPECT_EQ(cursor(area, 2), -1);
  setCursor(area, 3, 0x12345);  // only the low 16 bits are kept
  EXPECT_EQ(cursor(area, 3), 0x2345);
  EXPECT_EQ(cursor(area, 0), 0);
}

}  // namespace
}  // namespace vx
