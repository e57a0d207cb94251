// What a save promises: a file the user may not write is never replaced, links are followed,
// owner, group and mode are kept, hard links keep sharing one content, nothing is left beside
// the file (whatever name a killed process left there), FIFOs and devices are refused at once,
// and a full disk leaves the previous file as it was. The replacement cases run twice: with the
// new file created unnamed where the system allows it, and with named temporary files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "setupfile/file_io.h"
#include "setupfile/setup_file.h"
#include "support/files.h"
#include "support/lines.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#else
#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace vx {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr int Nobody = 65534;

class SaveGuarantees : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    useUnnamedTemporaryFiles(GetParam());
    target = dir / "keep.su";
    SetupDocument first;
    initialise(first);
    storeLine(first.programArea, 0, 0, test::labelLine(12, 7));
    ASSERT_EQ(save(first, target), 0);
    previous = read(target);
    initialise(document);
    ASSERT_GE(load(document, target), 0);
    storeLine(document.programArea, 0, 1, test::labelLine(3, 7));
  }
  void TearDown() override {
    useUnnamedTemporaryFiles(true);
    setTemporaryNameSource({});
    std::error_code ignored;
    fs::permissions(dir, fs::perms::all, ignored);
    fs::permissions(target, fs::perms::owner_all, ignored);
    fs::remove_all(dir, ignored);
  }

  static Bytes read(const fs::path& path) { return test::readBytes(path); }
  static void write(const fs::path& path, const Bytes& bytes) { test::writeBytes(path, bytes); }
  static std::vector<std::string> entries(const fs::path& folder) {
    return test::folderEntries(folder);
  }
  // The bytes the edited document saves as.
  Bytes edited() {
    const fs::path elsewhere = dir / "expected.su";
    EXPECT_EQ(save(document, elsewhere), 0);
    Bytes bytes = read(elsewhere);
    fs::remove(elsewhere);
    return bytes;
  }
  void expectRefused(const fs::path& path, const std::string& reason) {
    std::string why;
    EXPECT_EQ(save(document, path, &why), -1);
    EXPECT_EQ(why, reason);
  }

  test::TempFolder scratch;
  fs::path dir = scratch.path();
  fs::path target;
  Bytes previous;
  SetupDocument document;
};

INSTANTIATE_TEST_SUITE_P(NewFile, SaveGuarantees, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& param) {
                           return param.param ? "Unnamed" : "Named";
                         });

TEST_P(SaveGuarantees, ReadOnlyFileIsNeverReplaced) {
  // Read-only mode bits (on Windows the read-only attribute) stop the save even for root.
  fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  expectRefused(target, "the file is read-only");
  EXPECT_EQ(read(target), previous);
  EXPECT_EQ(entries(dir), std::vector<std::string>{"keep.su"});
}

TEST_P(SaveGuarantees, FolderIsRefusedAsNotARegularFile) {
  fs::create_directory(dir / "folder.su");
  expectRefused(dir / "folder.su", "not a regular file");
  EXPECT_TRUE(fs::is_directory(dir / "folder.su"));
  LoadError why = LoadError::None;
  EXPECT_EQ(load(document, dir / "folder.su", &why), -1);
  EXPECT_EQ(why, LoadError::NotRegularFile);
  EXPECT_STREQ(describe(why), "not a regular file");
}

TEST_P(SaveGuarantees, NameLeftByAnotherProcessIsPassedOver) {
  // A killed process left a file under the first name we draw: it is neither reused nor
  // removed, and the save takes the next name.
  const Bytes leftover = {'o', 'l', 'd'};
  write(dir / ".vxleftover", leftover);
  std::vector<std::string> names = {".vxleftover", ".vxfresh"};
  setTemporaryNameSource([names, next = std::size_t{0}]() mutable {
    return names[std::min(next++, names.size() - 1)];
  });
  ASSERT_EQ(save(document, target), 0);
  setTemporaryNameSource({});
  EXPECT_EQ(read(target), edited());
  EXPECT_EQ(read(dir / ".vxleftover"), leftover);
  EXPECT_EQ(entries(dir), (std::vector<std::string>{".vxleftover", "keep.su"}));
}

TEST_P(SaveGuarantees, NewFileIsCreatedAndNothingElseRemains) {
  ASSERT_EQ(save(document, dir / "new.su"), 0);
  EXPECT_EQ(read(dir / "new.su"), edited());
  EXPECT_EQ(entries(dir), (std::vector<std::string>{"keep.su", "new.su"}));
  EXPECT_EQ(save(document, dir / "missing" / "x.su"), -1);
  EXPECT_FALSE(fs::exists(dir / "missing"));
}

#ifndef _WIN32

// Runs `body` in a child process that has given up root for nobody (group `group`), and
// returns the child's exit code (99 when it could not drop root).
template <class Body>
int runAsOrdinaryUser(int group, Body body) {
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgroups(0, nullptr) != 0 || ::setgid(static_cast<gid_t>(group)) != 0 ||
        ::setuid(Nobody) != 0) {
      ::_exit(99);
    }
    ::_exit(body());
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

struct stat statusOf(const fs::path& path) {
  struct stat status {};
  EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
  return status;
}

TEST_P(SaveGuarantees, SymbolicLinkIsFollowedAndStaysALink) {
  fs::create_directory(dir / "real");
  fs::rename(target, dir / "real" / "t.su");
  fs::create_symlink("real/t.su", dir / "l.su");
  fs::create_symlink("l.su", dir / "ll.su");  // a chain of two links
  ASSERT_EQ(save(document, dir / "ll.su"), 0);
  EXPECT_TRUE(fs::is_symlink(dir / "l.su"));
  EXPECT_TRUE(fs::is_symlink(dir / "ll.su"));
  EXPECT_EQ(fs::read_symlink(dir / "l.su"), "real/t.su");
  EXPECT_EQ(read(dir / "real" / "t.su"), edited());
  // The new file was made beside the file the link names, and nothing remains of it.
  EXPECT_EQ(entries(dir / "real"), std::vector<std::string>{"t.su"});
  EXPECT_EQ(entries(dir), (std::vector<std::string>{"l.su", "ll.su", "real"}));
  // A link to a file not yet there makes that file.
  fs::create_symlink("real/n.su", dir / "n.su");
  ASSERT_EQ(save(document, dir / "n.su"), 0);
  EXPECT_TRUE(fs::is_symlink(dir / "n.su"));
  EXPECT_EQ(read(dir / "real" / "n.su"), edited());
}

TEST_P(SaveGuarantees, OwnerGroupAndModeAreKept) {
  if (::geteuid() != 0) GTEST_SKIP() << "giving a file to another owner needs root";
  ASSERT_EQ(::chown(target.c_str(), 1234, 5678), 0);
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  const ino_t before = statusOf(target).st_ino;
  ASSERT_EQ(save(document, target), 0);
  const struct stat after = statusOf(target);
  EXPECT_EQ(after.st_uid, 1234u);
  EXPECT_EQ(after.st_gid, 5678u);
  EXPECT_EQ(after.st_mode & 07777, 0640u);
  EXPECT_NE(after.st_ino, before) << "replaced by a new file";
  EXPECT_EQ(read(target), edited());
  EXPECT_EQ(entries(dir), std::vector<std::string>{"keep.su"});
}

TEST_P(SaveGuarantees, FileOfAnotherUserIsNotTakenOver) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as a second user";
  // root's 644 file in a folder that everybody may write: nobody may not replace it.
  ASSERT_EQ(::chmod(dir.c_str(), 0777), 0);
  ASSERT_EQ(::chmod(target.c_str(), 0644), 0);
  const int result = runAsOrdinaryUser(Nobody, [&] {
    std::string why;
    return save(document, target, &why) == -1 && why == "no permission to write the file" ? 0 : 1;
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(read(target), previous);
  EXPECT_EQ(statusOf(target).st_uid, 0u);
  EXPECT_EQ(entries(dir), std::vector<std::string>{"keep.su"});
}

TEST_P(SaveGuarantees, WritableFileOfAnotherOwnerIsWrittenInPlace) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as a second user";
  // Group-writable and owned by someone else: nobody may write it but cannot give a new file to
  // its owner, so it is written in place and keeps its owner.
  ASSERT_EQ(::chmod(dir.c_str(), 0777), 0);
  ASSERT_EQ(::chown(target.c_str(), 1234, Nobody), 0);
  ASSERT_EQ(::chmod(target.c_str(), 0664), 0);
  const ino_t before = statusOf(target).st_ino;
  const int result = runAsOrdinaryUser(Nobody, [&] { return save(document, target) == 0 ? 0 : 1; });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(read(target), edited());
  const struct stat after = statusOf(target);
  EXPECT_EQ(after.st_uid, 1234u);
  EXPECT_EQ(after.st_gid, static_cast<gid_t>(Nobody));
  EXPECT_EQ(after.st_ino, before);
  EXPECT_EQ(entries(dir), std::vector<std::string>{"keep.su"});
}

TEST_P(SaveGuarantees, HardLinksKeepSharingTheNewContent) {
  fs::create_hard_link(target, dir / "h2.su");
  ASSERT_EQ(save(document, target), 0);
  EXPECT_EQ(read(target), edited());
  EXPECT_EQ(read(dir / "h2.su"), edited());
  EXPECT_EQ(statusOf(target).st_nlink, 2u);
  EXPECT_EQ(statusOf(target).st_ino, statusOf(dir / "h2.su").st_ino);
  EXPECT_EQ(entries(dir), (std::vector<std::string>{"h2.su", "keep.su"}));
}

TEST_P(SaveGuarantees, FifoAndDeviceAreRefusedWithoutWaiting) {
  ASSERT_EQ(::mkfifo((dir / "f.su").c_str(), 0644), 0);
  // A hang would be a failure: the alarm ends the test process.
  ::alarm(20);
  LoadError why = LoadError::None;
  EXPECT_EQ(load(document, dir / "f.su", &why), -1);
  EXPECT_EQ(why, LoadError::NotRegularFile);
  expectRefused(dir / "f.su", "not a regular file");
  FileLock lock;
  EXPECT_EQ(lockFile(dir / "f.su", true, std::chrono::milliseconds(0), lock, nullptr),
            LockStatus::NotRegularFile);
  EXPECT_EQ(load(document, "/dev/null", &why), -1);
  EXPECT_EQ(why, LoadError::NotRegularFile);
  expectRefused("/dev/null", "not a regular file");
  ::alarm(0);
  EXPECT_TRUE(fs::is_fifo(dir / "f.su"));
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST_P(SaveGuarantees, LongestFileNameCanBeSaved) {
  const std::string name = std::string(252, 'n') + ".su";  // 255 bytes, the usual limit
  fs::copy_file(target, dir / name);
  ASSERT_GE(load(document, dir / name), 0);
  std::string why;
  EXPECT_EQ(save(document, dir / name, &why), 0) << why;
  EXPECT_EQ(entries(dir), (std::vector<std::string>{"keep.su", name}));
}

// A small file system of its own makes the disk full; where mounting is not allowed, a file
// size limit stands in for it.
class FullDisk {
 public:
  explicit FullDisk(const fs::path& where) : where_(where) {
    fs::create_directories(where_);
    mounted_ = ::geteuid() == 0 &&
               ::mount("tmpfs", where_.c_str(), "tmpfs", 0, "size=256k,mode=0777") == 0;
  }
  ~FullDisk() {
    if (mounted_) ::umount(where_.c_str());
  }
  FullDisk(const FullDisk&) = delete;
  FullDisk& operator=(const FullDisk&) = delete;
  bool mounted() const { return mounted_; }
  // Fills the file system up to `left` bytes.
  void fill(std::size_t left) {
    std::ofstream filler(where_ / "filler", std::ios::binary);
    const std::vector<char> block(4096, 'f');
    std::error_code error;
    while (fs::space(where_, error).available > left + block.size()) {
      filler.write(block.data(), static_cast<std::streamsize>(block.size()));
      filler.flush();
    }
  }

 private:
  fs::path where_;
  bool mounted_ = false;
};

TEST_P(SaveGuarantees, FullDiskLeavesThePreviousFile) {
  FullDisk disk(dir / "disk");
  if (!disk.mounted()) {
    GTEST_SKIP() << "mounting a small tmpfs is not permitted here; the file size limit cases "
                    "(AtomicSave, VxprogBinary) cover a write that fails part way";
  }
  const fs::path file = dir / "disk" / "f.su";
  fs::copy_file(target, file);
  fs::create_hard_link(file, dir / "disk" / "h.su");
  disk.fill(previous.size() / 2);
  for (const bool hardLinked : {true, false}) {
    SCOPED_TRACE(hardLinked ? "in place, behind a copy" : "replaced");
    if (!hardLinked) fs::remove(dir / "disk" / "h.su");
    std::string why;
    EXPECT_EQ(save(document, file, &why), -1);
    EXPECT_NE(why.find("the disk is full"), std::string::npos) << why;
    EXPECT_EQ(read(file), previous);
    const std::vector<std::string> expected =
        hardLinked ? std::vector<std::string>{"f.su", "filler", "h.su"}
                   : std::vector<std::string>{"f.su", "filler"};
    EXPECT_EQ(entries(dir / "disk"), expected);
  }
}

TEST_P(SaveGuarantees, InPlaceWriteFailingPartWayPutsThePreviousContentBack) {
  // A hard-linked file is written in place. The new content is larger than the old, and a file
  // size limit between the two lets the copy of the old content be made but stops the write.
  fs::create_hard_link(target, dir / "h2.su");
  document.image.resize(document.image.size() + 40000, 0x5A);
  document.setupLength += 40000;
  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  auto* oldHandler = ::signal(SIGXFSZ, SIG_IGN);
  rlimit limited = old;
  limited.rlim_cur = previous.size() + 20000;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
  std::string why;
  const int result = save(document, target, &why);
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(result, -1);
  EXPECT_NE(why.find("write failed"), std::string::npos) << why;
  EXPECT_EQ(read(target), previous);
  EXPECT_EQ(read(dir / "h2.su"), previous);
  EXPECT_EQ(entries(dir), (std::vector<std::string>{"h2.su", "keep.su"}));
}

// Saves a 64 MiB file over and over in a child process, which is stopped by `signal` after
// `delay`; the file must then hold the old or the new bytes, and nothing may remain beside it.
void killDuringSave(const fs::path& dir, const fs::path& file, int signal,
                    std::chrono::milliseconds delay, bool unnamed) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    useUnnamedTemporaryFiles(unnamed);
    SetupDocument large;
    initialise(large);
    large.image.resize(MaxSetupFileSize - 8 - ProgramAreaSize, 0x33);
    large.setupLength = static_cast<std::int32_t>(large.image.size());
    for (int round = 0;; ++round) {
      storeLine(large.programArea, 0, 0, ProgramLine{{static_cast<std::uint8_t>(round)}});
      if (save(large, file) != 0) ::_exit(3);
    }
  }
  std::this_thread::sleep_for(delay);
  ::kill(child, signal);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended by itself: " << status;
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) {
    names.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(names, std::vector<std::string>{file.filename().string()});
  const std::uintmax_t size = fs::file_size(file);
  EXPECT_TRUE(size == MaxSetupFileSize || size < 100'000) << size;
}

TEST_P(SaveGuarantees, KilledSaveLeavesNoFileBehind) {
  // SIGKILL cannot be caught: only a new file without a name leaves nothing. SIGTERM, SIGINT and
  // SIGHUP wait until the save has finished, whatever the kind of temporary file.
  const fs::path folder = dir / "kill";
  fs::create_directory(folder);
  const fs::path file = folder / "big.su";
  fs::copy_file(target, file);
  std::vector<int> signals = {SIGTERM, SIGINT, SIGHUP};
  if (GetParam()) signals.push_back(SIGKILL);
  for (const int signal : signals) {
    for (const int delay : {30, 170, 310}) {
      SCOPED_TRACE("signal " + std::to_string(signal) + " after " + std::to_string(delay) + " ms");
      killDuringSave(folder, file, signal, std::chrono::milliseconds(delay), GetParam());
    }
  }
}

#else

TEST_P(SaveGuarantees, FileHeldOpenByAnotherProgramIsReported) {
  // Another program has the file open and shares it for reading only.
  int fd = -1;
  ASSERT_EQ(::_wsopen_s(&fd, target.c_str(), _O_RDONLY | _O_BINARY, _SH_DENYWR, 0), 0);
  expectRefused(target, "the file is locked by another program");
  ::_close(fd);
  EXPECT_EQ(read(target), previous);
  EXPECT_EQ(entries(dir), std::vector<std::string>{"keep.su"});
}

#endif

TEST(FileLock, ExclusiveLockKeepsOthersWaitingAndThenLetsThemIn) {
  const test::TempFolder folder;
  const fs::path& dir = folder.path();
  const fs::path file = dir / "f.su";
  std::ofstream(file) << "x";
  std::string why;
  FileLock holder;
  ASSERT_EQ(lockFile(file, true, std::chrono::milliseconds(0), holder, &why), LockStatus::Locked);
  FileLock waiter;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(lockFile(file, false, std::chrono::milliseconds(150), waiter, &why),
            LockStatus::TimedOut);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
  EXPECT_EQ(why, "the file is locked by another program");
  EXPECT_FALSE(waiter.held());

  // Released while the other waits: the waiter gets it.
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    holder.release();
  });
  EXPECT_EQ(lockFile(file, true, std::chrono::milliseconds(5000), waiter, &why),
            LockStatus::Locked);
  release.join();
  waiter.release();

#ifndef _WIN32
  // Readers share (a Windows lock is always exclusive).
  FileLock reader1;
  FileLock reader2;
  EXPECT_EQ(lockFile(file, false, std::chrono::milliseconds(0), reader1, &why), LockStatus::Locked);
  EXPECT_EQ(lockFile(file, false, std::chrono::milliseconds(0), reader2, &why), LockStatus::Locked);
#endif
  EXPECT_EQ(lockFile(dir / "missing.su", true, std::chrono::milliseconds(0), waiter, &why),
            LockStatus::Missing);
  EXPECT_FALSE(fs::exists(dir / "missing.su"));
}

}  // namespace
}  // namespace vx
