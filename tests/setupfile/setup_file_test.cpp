#include "setupfile/setup_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "setupfile/file_fixtures.h"
#include "store/bytes.h"
#include "support/files.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

namespace vx {
namespace {

namespace fs = std::filesystem;
using fixtures::Bytes;
using fixtures::concat;
using fixtures::magic;

class SetupFileTest : public ::testing::Test {
 protected:
  fs::path write(const std::string& name, const Bytes& bytes) const {
    fs::path path = dir / name;
    test::writeBytes(path, bytes);
    return path;
  }
  static Bytes read(const fs::path& path) { return test::readBytes(path); }
  std::vector<std::string> entries() const { return test::folderEntries(dir); }

  test::TempFolder folder;
  fs::path dir = folder.path();
};

Bytes block(const std::string& tag, std::uint32_t length, std::uint8_t fill = 0) {
  return fixtures::block(tag, length, length, fill);
}

// A program block whose area marks program B's cursor and one line, so that it can be recognised.
Bytes programBlock() {
  ProgramArea area;
  resetProgramArea(area);
  area.slots[600].bytes[0] = 12;
  area.slots[600].bytes[12] = 33;
  setCursor(area, 1, 88);
  Bytes bytes = block("SPG1", ProgramBlockLength);
  std::memcpy(&bytes[8], &area, ProgramAreaSize);
  return bytes;
}

Bytes settingsBlock(std::uint32_t length = 1756) {
  Bytes settings = block("STUP", length);
  for (std::size_t i = 8; i < settings.size(); ++i) {
    settings[i] = static_cast<std::uint8_t>(i * 7 + 3);  // opaque settings that must survive
  }
  settings[8 + 9] = 0;   // selector 0: the character code is byte 32
  settings[8 + 32] = 4;  // JIS8
  return settings;
}

TEST_F(SetupFileTest, DefaultDocumentSavesAs34580Bytes) {
  SetupDocument document;
  initialise(document);
  EXPECT_EQ(document.setupLength, 1780);
  ASSERT_EQ(save(document, dir / "new.su"), 0);
  const Bytes saved = read(dir / "new.su");
  ASSERT_EQ(saved.size(), 34580u);
  EXPECT_TRUE(std::equal(SetupFileMagic.begin(), SetupFileMagic.end(), saved.begin()));
  EXPECT_EQ(std::string(saved.begin() + 16, saved.begin() + 20), "STUP");
  EXPECT_EQ(readU32(&saved[20]), 1756u);
  EXPECT_EQ(readU32(&saved[24]), 1756u);
  EXPECT_EQ(readU32(&saved[28]), 8u);
  EXPECT_EQ(saved[33], 0);
  EXPECT_EQ(saved[56], 0);
  EXPECT_EQ(std::string(saved.begin() + 24 + 1668, saved.begin() + 24 + 1676), "DEFAULT ");
  const Bytes header = {'S', 'P', 'G', '1', 0x18, 0x80, 0x00, 0x00};
  EXPECT_TRUE(std::equal(header.begin(), header.end(), saved.begin() + 1780));
  EXPECT_EQ(saved[1788], 4);
  EXPECT_EQ(readU16(&saved[1788 + 20]), 2048);
  EXPECT_EQ(std::count(saved.begin() + 1788 + 24, saved.end(), 0), 32768);

  SetupDocument reloaded;
  initialise(reloaded);
  EXPECT_EQ(load(reloaded, dir / "new.su"), 0);
  EXPECT_EQ(reloaded.setupLength, 1780);
}

TEST_F(SetupFileTest, FileShapesLoadAndSave) {
  struct Case {
    const char* name;
    Bytes file;
    int setupLength;
    std::size_t savedSize;
    Bytes savedStart;  // what the saved file begins with
  };
  const Bytes magicBytes = magic();
  const Bytes stup = {'S', 'T', 'U', 'P'};
  const std::vector<Case> cases = {
      {"magic, settings, programs, further block",
       concat({magic(), settingsBlock(), programBlock(), block("XTRA", 10)}), 1780, 34580,
       magicBytes},
      {"magic directly followed by the programs", concat({magic(), programBlock()}), 16, 32816,
       magicBytes},
      {"programs first without magic", programBlock(), 0, 34580, magicBytes},
      {"settings first without magic", concat({settingsBlock(), programBlock()}), 1764, 34564,
       stup},
      {"wrong-length SPG1 is stepped over", concat({magic(), block("SPG1", 100), programBlock()}),
       124, 32924, magicBytes},
      {"unknown blocks before the programs",
       concat({magic(), block("ABCD", 0), block("EFGH", 3), programBlock()}), 35, 32835,
       magicBytes},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path path = write("shape.su", c.file);
    SetupDocument document;
    initialise(document);
    LoadError why = LoadError::TooLarge;
    EXPECT_GE(load(document, path, &why), 0);
    EXPECT_EQ(why, LoadError::None);
    EXPECT_EQ(document.setupLength, c.setupLength);
    EXPECT_EQ(cursor(document.programArea, 1), 88);
    EXPECT_EQ(document.programArea.slots[600].bytes[12], 33);

    ASSERT_EQ(save(document, dir / "out.su"), 0);
    const Bytes saved = read(dir / "out.su");
    ASSERT_EQ(saved.size(), c.savedSize);
    EXPECT_TRUE(std::equal(c.savedStart.begin(), c.savedStart.end(), saved.begin()));
    if (c.setupLength > 0) {  // the part ahead of the program block comes back byte for byte
      EXPECT_TRUE(std::equal(c.file.begin(), c.file.begin() + c.setupLength, saved.begin()));
    }
    const Bytes program = programBlock();
    EXPECT_TRUE(std::equal(program.begin(), program.end(), saved.end() - 32800));
    // Saving twice writes the same file.
    ASSERT_EQ(save(document, dir / "again.su"), 0);
    EXPECT_EQ(read(dir / "again.su"), saved);
  }
}

TEST_F(SetupFileTest, FilesWithoutAReachableProgramBlockFail) {
  Bytes hugeLength = concat({magic(), block("STUP", 4)});
  writeU32(&hugeLength[20], 0xFFFFFFFF);  // would wrap a 32-bit position back into the file
  const Bytes program = programBlock();
  hugeLength.insert(hugeLength.end(), program.begin(), program.end());
  Bytes pastEnd = concat({magic(), block("STUP", 4), programBlock()});
  writeU32(&pastEnd[20], 40000);
  Bytes truncated = concat({magic(), programBlock()});
  truncated.resize(truncated.size() - 1);
  struct Case {
    const char* name;
    Bytes file;
    LoadError reason;
  };
  const std::vector<Case> cases = {
      {"empty file", {}, LoadError::NoProgramBlock},
      {"shorter than the magic", {'K', 'E', 'S'}, LoadError::NoProgramBlock},
      {"magic only", magic(), LoadError::NoProgramBlock},
      {"block header cut short", concat({magic(), Bytes{'S', 'P', 'G', '1', 0x18}}),
       LoadError::NoProgramBlock},
      {"only a wrong-length SPG1", concat({magic(), block("SPG1", 32791)}),
       LoadError::NoProgramBlock},
      {"length past the end", pastEnd, LoadError::NoProgramBlock},
      {"length past the largest 32-bit offset", hugeLength, LoadError::NoProgramBlock},
      {"program block cut short", truncated, LoadError::Truncated},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetupDocument document;
    initialise(document);
    setCursor(document.programArea, 2, 5);
    const SetupDocument before = document;
    LoadError why = LoadError::None;
    EXPECT_EQ(load(document, write("bad.su", c.file), &why), -1);
    EXPECT_EQ(why, c.reason);
    EXPECT_EQ(document.image, before.image);
    EXPECT_EQ(document.setupLength, before.setupLength);
    EXPECT_EQ(std::memcmp(&document.programArea, &before.programArea, ProgramAreaSize), 0);
  }
}

TEST_F(SetupFileTest, MissingFileFailsWithoutCreatingOne) {
  SetupDocument document;
  initialise(document);
  LoadError why = LoadError::None;
  EXPECT_EQ(load(document, dir / "missing.su", &why), -1);
  EXPECT_EQ(why, LoadError::CannotOpen);
  EXPECT_FALSE(fs::exists(dir / "missing.su"));
}

TEST_F(SetupFileTest, SizeLimitIs64MiB) {
  Bytes file = concat({magic(), programBlock()});
  file.resize(MaxSetupFileSize, 0xEE);  // whatever follows the program block is dropped on save
  SetupDocument document;
  initialise(document);
  EXPECT_EQ(load(document, write("limit.su", file)), 0);
  EXPECT_EQ(document.image.size(), MaxSetupFileSize);
  ASSERT_EQ(save(document, dir / "limit-out.su"), 0);
  EXPECT_EQ(fs::file_size(dir / "limit-out.su"), 32816u);

  file.push_back(0);
  LoadError why = LoadError::None;
  EXPECT_EQ(load(document, write("over.su", file), &why), -1);
  EXPECT_EQ(why, LoadError::TooLarge);
}

TEST_F(SetupFileTest, CharacterCodeFollowsTheSelector) {
  // Offsets 32, 72, 112, 164, 192, 216, 236 and 256 of the settings hold the codes 1 to 8.
  const std::vector<std::pair<int, int>> selectorToCode = {
      {0, 1}, {1, 2}, {2, 3}, {3, 4},  {4, 5},  {5, 6},  {6, 7},
      {7, 0}, {8, 3}, {9, 0}, {10, 8}, {11, 0}, {255, 0}};
  for (const auto& [selector, code] : selectorToCode) {
    SCOPED_TRACE(selector);
    Bytes settings = block("STUP", 300, 0x77);
    std::uint8_t value = 1;
    for (int o : {32, 72, 112, 164, 192, 216, 236, 256}) {
      settings[static_cast<std::size_t>(8 + o)] = value++;
    }
    settings[8 + 9] = static_cast<std::uint8_t>(selector);
    const Bytes file = concat({magic(), settings, programBlock()});
    SetupDocument document;
    initialise(document);
    EXPECT_EQ(load(document, write("code.su", file)), code);
  }
  // Bytes 0x80..0xFF come back as themselves; 0xFF is not mistaken for a failure.
  Bytes settings = block("STUP", 300);
  settings[8 + 32] = 0xFF;
  SetupDocument document;
  initialise(document);
  EXPECT_EQ(load(document, write("ff.su", concat({magic(), settings, programBlock()}))), 255);
  EXPECT_EQ(document.setupLength, 16 + 308);
}

TEST_F(SetupFileTest, CursorSurvivesSaveAndReload) {
  SetupDocument document;
  initialise(document);
  setCursor(document.programArea, 1, 300);
  ASSERT_EQ(save(document, dir / "cursor.su"), 0);
  SetupDocument reloaded;
  initialise(reloaded);
  ASSERT_EQ(load(reloaded, dir / "cursor.su"), 0);
  EXPECT_EQ(cursor(reloaded.programArea, 1), 300);
}

TEST_F(SetupFileTest, DamagedHeaderIsSavedBackAsLoaded) {
  Bytes program = programBlock();
  const Bytes damaged = {4,    0,    9, 9, 0x00, 0x06, 0x70, 0x00, 0x00, 0x02, 0xFF, 0xFF,
                         0xFF, 0x7F, 0, 0, 0x00, 0x80, 0,    0,    0x00, 0x09, 7,    7};
  std::copy(damaged.begin(), damaged.end(), program.begin() + 8);
  SetupDocument document;
  initialise(document);
  ASSERT_EQ(load(document, write("damaged.su", concat({magic(), program}))), 0);
  for (int p = 0; p < ProgramCount; ++p) {
    insertLine(document.programArea, p, 0);
    deleteLine(document.programArea, p, 0);
    EXPECT_EQ(checkLabels(document.programArea, p), -1);
  }
  ASSERT_EQ(save(document, dir / "damaged-out.su"), 0);
  const Bytes saved = read(dir / "damaged-out.su");
  EXPECT_TRUE(std::equal(damaged.begin(), damaged.end(), saved.begin() + 24));
}

class AtomicSave : public SetupFileTest {
 protected:
  void SetUp() override {
    SetupFileTest::SetUp();
    initialise(document);
    previous = concat({magic(), settingsBlock(), programBlock()});
    target = write("keep.su", previous);
    ASSERT_EQ(load(document, target), 4);
    insertLine(document.programArea, 1, 0);
  }
  void expectUntouched() {
    EXPECT_EQ(read(target), previous);
    EXPECT_EQ(entries(), std::vector<std::string>{"keep.su"});
  }
  SetupDocument document;
  Bytes previous;
  fs::path target;
};

#ifndef _WIN32
// A file size limit exists only on POSIX systems.
TEST_F(AtomicSave, WriteFailingMidwayLeavesThePreviousFile) {
  // A file size limit below the output makes the write fail part way through.
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  auto* oldHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit limited = old;
  limited.rlim_cur = 20000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  std::string why;
  const int result = save(document, target, &why);
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(result, -1);
  EXPECT_NE(why.find("write failed"), std::string::npos) << why;
  expectUntouched();
}

#endif

TEST_F(AtomicSave, TargetThatCannotBeReplacedFails) {
  fs::create_directory(dir / "folder.su");
  std::string why;
  EXPECT_EQ(save(document, dir / "folder.su", &why), -1);
  EXPECT_FALSE(why.empty());
  EXPECT_TRUE(fs::is_directory(dir / "folder.su"));
  fs::remove(dir / "folder.su");
  EXPECT_EQ(save(document, dir / "missing" / "x.su"), -1);
  expectUntouched();
}

TEST_F(AtomicSave, SuccessReplacesTheFileAndLeavesNothingElse) {
  ASSERT_EQ(save(document, target), 0);
  EXPECT_NE(read(target), previous);
  EXPECT_EQ(read(target).size(), previous.size());
  EXPECT_EQ(entries(), std::vector<std::string>{"keep.su"});
}

}  // namespace
}  // namespace vx
