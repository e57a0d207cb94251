// Saving into a folder the user may not write: the save fails, the previous file stays byte for
// byte as it was and no temporary file is left behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include "setupfile/setup_file.h"
#include "support/files.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace vx {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

#ifndef _WIN32
// Folder permissions of this kind, and dropping root, are POSIX matters.

using test::folderEntries;
using test::readBytes;

// Loads the target, changes a line and saves it back; the exit code is 0 when the save failed
// with -1 and a reason, 1 when it succeeded, 2 when the load failed.
int saveIntoTarget(const fs::path& target) {
  SetupDocument document;
  initialise(document);
  if (load(document, target) < 0) {
    return 2;
  }
  insertLine(document.programArea, 0, 0);
  std::string why;
  return save(document, target, &why) == -1 && !why.empty() ? 0 : 1;
}

TEST(SaveFailure, ReadOnlyFolderKeepsThePreviousFile) {
  const test::TempFolder folder;
  const fs::path& dir = folder.path();
  const fs::path target = dir / "keep.su";
  SetupDocument document;
  initialise(document);
  ProgramLine line;
  line.bytes[0] = 12;
  storeLine(document.programArea, 0, 0, line);
  ASSERT_EQ(save(document, target), 0);
  const Bytes previous = readBytes(target);
  ASSERT_EQ(::chmod(dir.c_str(), 0555), 0);

  int outcome = -1;
  if (::geteuid() == 0) {
    // Permission bits do not stop root: the save runs in a child that gives up root first.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      if (::setgid(65534) != 0 || ::setuid(65534) != 0) {
        ::_exit(3);
      }
      ::_exit(saveIntoTarget(target));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    outcome = WEXITSTATUS(status);
  } else {
    outcome = saveIntoTarget(target);
  }
  ::chmod(dir.c_str(), 0755);
  EXPECT_EQ(outcome, 0) << "1: the save succeeded, 2: the load failed, 3: could not drop root";
  EXPECT_EQ(readBytes(target), previous);
  EXPECT_EQ(folderEntries(dir), std::vector<std::string>{"keep.su"});
}

#endif

}  // namespace
}  // namespace vx
