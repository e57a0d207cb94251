#include "setupfile/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <random>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>

#ifdef _WIN32
#include <io.h>
#include <share.h>
#include <sys/locking.h>
#else
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace vx {
namespace {

namespace fs = std::filesystem;

// ---- names of temporary and backup files ---------------------------------------------------

std::mutex nameMutex;
std::function<std::string()> nameSource;
bool unnamedAllowed = true;

// A short unpredictable name (".vx" and ten letters or digits), so that a name left by a killed
// process is never taken for ours and any file name the file system allows can be saved.
std::string temporaryName() {
  const std::lock_guard<std::mutex> guard(nameMutex);
  if (nameSource) return nameSource();
  static std::mt19937_64 generator = [] {
    std::random_device device;
    std::seed_seq seed{
        device(), device(), device(), device(),
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count())};
    return std::mt19937_64(seed);
  }();
  constexpr std::string_view Letters = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string name = ".vx";
  for (int i = 0; i < 10; ++i) name += Letters[generator() % Letters.size()];
  return name;
}

[[maybe_unused]] bool unnamedTemporaryFilesAllowed() {
  const std::lock_guard<std::mutex> guard(nameMutex);
  return unnamedAllowed;
}

// How many names are tried before creating a temporary file gives up.
constexpr int NameAttempts = 100;

// ---- reasons -------------------------------------------------------------------------------

void setWhy(std::string* why, std::string_view text) {
  if (why) *why = std::string(text);
}

// A short phrase for a system error; `permission` is the phrase for EACCES and EPERM, which
// mean different things at different steps.
std::string reasonFor(int error, std::string_view permission) {
  switch (error) {
    case EACCES:
    case EPERM:
      return std::string(permission);
#ifndef _WIN32
    case EROFS:
      return "the file system is read-only";
    case EDQUOT:
#endif
    case ENOSPC:
      return "the disk is full";
    case EFBIG:
      return "the file is too large for the file system";
    case ENAMETOOLONG:
      return "the file name is too long";
    case ENOENT:
    case ENOTDIR:
      return "the folder does not exist";
    case EBUSY:
#ifndef _WIN32
    case ETXTBSY:
#endif
      return "the file is locked by another program";
    default:
      return std::generic_category().message(error);
  }
}

constexpr std::string_view NoFolderPermission = "no permission to write in the file's folder";
constexpr std::string_view NoFilePermission = "no permission to write the file";

// Written in steps, each handed to the disk while the next is written, so that the final flush
// waits only for the last of them.
constexpr std::size_t WritebackStep = std::size_t{8} << 20;

[[maybe_unused]] std::size_t totalSize(std::span<const std::span<const std::uint8_t>> pieces) {
  std::size_t total = 0;
  for (const auto piece : pieces) total += piece.size();
  return total;
}

}  // namespace

void useUnnamedTemporaryFiles(bool allowed) {
  const std::lock_guard<std::mutex> guard(nameMutex);
  unnamedAllowed = allowed;
}

void setTemporaryNameSource(std::function<std::string()> source) {
  const std::lock_guard<std::mutex> guard(nameMutex);
  nameSource = std::move(source);
}

#ifdef _WIN32
// ==== Windows: the C runtime's file functions ===============================================

namespace {

// The lock is one byte far past the end of any setup file: a byte-range lock on Windows also
// stops reads of the bytes it covers, and the file's own bytes must stay readable.
constexpr long long LockOffset = 0x7FFF0000LL;

long long readSome(int fd, std::uint8_t* data, std::size_t size) {
  const unsigned chunk = size > 0x40000000u ? 0x40000000u : static_cast<unsigned>(size);
  return ::_read(fd, data, chunk);
}

bool writeAll(int fd, std::span<const std::span<const std::uint8_t>> pieces, int& error) {
  for (const auto piece : pieces) {
    std::size_t done = 0;
    while (done < piece.size()) {
      const std::size_t step = std::min<std::size_t>(piece.size() - done, WritebackStep);
      const int written = ::_write(fd, piece.data() + done, static_cast<unsigned>(step));
      if (written <= 0) {
        error = written < 0 ? errno : ENOSPC;
        return false;
      }
      done += static_cast<std::size_t>(written);
    }
  }
  return true;
}

}  // namespace

ReadStatus readWholeFile(const std::filesystem::path& path, std::size_t maxSize, SetupImage& out) {
  struct _stat64 status {};
  if (::_wstat64(path.c_str(), &status) != 0) return ReadStatus::CannotOpen;
  if ((status.st_mode & _S_IFMT) != _S_IFREG) return ReadStatus::NotRegularFile;
  int fd = -1;
  if (::_wsopen_s(&fd, path.c_str(), _O_RDONLY | _O_BINARY, _SH_DENYNO, 0) != 0) {
    return ReadStatus::CannotOpen;
  }
  const long long length = ::_filelengthi64(fd);
  if (length < 0) {
    ::_close(fd);
    return ReadStatus::ReadFailed;
  }
  if (static_cast<std::uint64_t>(length) > maxSize) {
    ::_close(fd);
    return ReadStatus::TooLarge;
  }
  out.resize(static_cast<std::size_t>(length));
  std::size_t done = 0;
  while (done < out.size()) {
    const long long got = readSome(fd, out.data() + done, out.size() - done);
    if (got < 0) {
      ::_close(fd);
      return ReadStatus::ReadFailed;
    }
    if (got == 0) break;  // the file shrank while we read it: take what is there
    done += static_cast<std::size_t>(got);
  }
  ::_close(fd);
  out.resize(done);
  return ReadStatus::Ok;
}

void FileLock::release() {
  if (fd_ < 0) return;
  ::_lseeki64(fd_, LockOffset, SEEK_SET);
  ::_locking(fd_, _LK_UNLCK, 1);
  ::_close(fd_);
  fd_ = -1;
}

// The file is opened and locked without waiting, and closed again between attempts, so that a
// waiting process never holds open a file that its holder is about to replace.
LockStatus lockFile(const std::filesystem::path& path, bool, std::chrono::milliseconds wait,
                    FileLock& lock, std::string* why) {
  lock.release();
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    struct _stat64 status {};
    if (::_wstat64(path.c_str(), &status) != 0) return LockStatus::Missing;
    if ((status.st_mode & _S_IFMT) != _S_IFREG) {
      setWhy(why, "not a regular file");
      return LockStatus::NotRegularFile;
    }
    int fd = -1;
    if (::_wsopen_s(&fd, path.c_str(), _O_RDONLY | _O_BINARY, _SH_DENYNO, 0) == 0) {
      if (::_lseeki64(fd, LockOffset, SEEK_SET) == LockOffset &&
          ::_locking(fd, _LK_NBLCK, 1) == 0) {
        lock.fd_ = fd;
        return LockStatus::Locked;
      }
      ::_close(fd);
    } else if (errno != EACCES) {
      setWhy(why, reasonFor(errno, "no permission to read the file"));
      return LockStatus::Failed;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      setWhy(why, "the file is locked by another program");
      return LockStatus::TimedOut;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

bool writeFileAtomically(const std::filesystem::path& path,
                         std::span<const std::span<const std::uint8_t>> pieces, std::string* why,
                         FileLock* heldLock) {
  struct _stat64 status {};
  if (::_wstat64(path.c_str(), &status) == 0) {
    if ((status.st_mode & _S_IFMT) != _S_IFREG) {
      setWhy(why, "not a regular file");
      return false;
    }
    if ((status.st_mode & _S_IWRITE) == 0) {
      setWhy(why, "the file is read-only");
      return false;
    }
    // Another program that holds the file without sharing it for writing.
    int probe = -1;
    if (::_wsopen_s(&probe, path.c_str(), _O_WRONLY | _O_BINARY, _SH_DENYNO, 0) != 0) {
      setWhy(why, reasonFor(errno, "the file is locked by another program"));
      return false;
    }
    ::_close(probe);
  }
  const fs::path folder = path.parent_path();
  fs::path temporary;
  int fd = -1;
  for (int attempt = 0; attempt < NameAttempts && fd < 0; ++attempt) {
    temporary = folder / temporaryName();
    if (::_wsopen_s(&fd, temporary.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _SH_DENYRW,
                    _S_IREAD | _S_IWRITE) != 0) {
      fd = -1;
      if (errno != EEXIST) break;
    }
  }
  if (fd < 0) {
    setWhy(why, reasonFor(errno, NoFolderPermission));
    return false;
  }
  std::error_code ignored;
  int error = 0;
  if (!writeAll(fd, pieces, error) || (::_commit(fd) != 0 && (error = errno) != 0)) {
    ::_close(fd);
    fs::remove(temporary, ignored);
    setWhy(why, "write failed: " + reasonFor(error, NoFolderPermission));
    return false;
  }
  if (::_close(fd) != 0) {
    error = errno;
    fs::remove(temporary, ignored);
    setWhy(why, "write failed: " + reasonFor(error, NoFolderPermission));
    return false;
  }
  // Our own lock keeps the file open, which would make the replacement fail, so it is released
  // first. Another process may then lock the old file and read it; as long as it holds it open
  // the replacement fails. Tried again later, the replacement could land after that process's
  // own save and undo it, so after a release there is only the one attempt.
  const bool lockReleased = heldLock && heldLock->held();
  if (heldLock) heldLock->release();
  // Without a lock, a program that has the file open for a moment (a virus scanner, an indexer)
  // makes the replacement fail with a sharing violation: it is tried again for a short while.
  std::error_code renamed;
  for (int attempt = 0; attempt < (lockReleased ? 1 : 25); ++attempt) {
    if (attempt > 0) std::this_thread::sleep_for(std::chrono::milliseconds(40));
    fs::rename(temporary, path, renamed);
    if (!renamed || renamed != std::errc::permission_denied) break;
  }
  if (renamed) {
    fs::remove(temporary, ignored);
    setWhy(why, renamed == std::errc::permission_denied
                    ? std::string("the file is locked by another program")
                    : reasonFor(renamed.value(), "the file is locked by another program"));
    return false;
  }
  return true;
}

#else
// ==== POSIX ===================================================================================

namespace {

// Termination signals wait while a save has files of its own beside the target, so that an
// interrupted vxprog never leaves a temporary file or a half-written file behind: the signal
// takes effect as soon as the save has finished or has put everything back.
class TerminationSignalsDeferred {
 public:
  TerminationSignalsDeferred() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    sigaddset(&set, SIGQUIT);
    ::pthread_sigmask(SIG_BLOCK, &set, &previous_);
  }
  ~TerminationSignalsDeferred() { ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
  TerminationSignalsDeferred(const TerminationSignalsDeferred&) = delete;
  TerminationSignalsDeferred& operator=(const TerminationSignalsDeferred&) = delete;

 private:
  sigset_t previous_{};
};

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  ~FileDescriptor() { reset(); }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }
  explicit operator bool() const { return fd_ >= 0; }
  void reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }
  // Closes and reports the close's own error (a delayed write error on some file systems).
  int close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

long long readSome(int fd, std::uint8_t* data, std::size_t size) { return ::read(fd, data, size); }

void startWriteback(int fd, std::uint64_t offset, std::size_t length) {
#if defined(__linux__) && defined(SYNC_FILE_RANGE_WRITE)
  ::sync_file_range(fd, static_cast<off_t>(offset), static_cast<off_t>(length),
                    SYNC_FILE_RANGE_WRITE);
#else
  (void)fd, (void)offset, (void)length;
#endif
}

// Writes the pieces from the file's current position to the disk; false with `error` set.
bool writeAll(int fd, std::span<const std::span<const std::uint8_t>> pieces, int& error) {
  std::uint64_t offset = 0;
  for (const auto piece : pieces) {
    std::size_t done = 0;
    while (done < piece.size()) {
      const std::size_t step = std::min(piece.size() - done, WritebackStep);
      const ssize_t written = ::write(fd, piece.data() + done, step);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) {
        error = written < 0 ? errno : ENOSPC;
        return false;
      }
      startWriteback(fd, offset, static_cast<std::size_t>(written));
      done += static_cast<std::size_t>(written);
      offset += static_cast<std::uint64_t>(written);
    }
  }
  if (::fsync(fd) != 0) {
    error = errno;
    return false;
  }
  return true;
}

// Copies the whole content of `from` (from its start) to `to` (from its start) and cuts `to`
// there; false with `error` set.
bool copyContent(int from, int to, int& error) {
  if (::lseek(from, 0, SEEK_SET) != 0 || ::lseek(to, 0, SEEK_SET) != 0) {
    error = errno;
    return false;
  }
  std::vector<std::uint8_t> buffer(std::size_t{1} << 20);
  off_t total = 0;
  for (;;) {
    const ssize_t got = ::read(from, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      error = errno;
      return false;
    }
    if (got == 0) break;
    const std::span<const std::uint8_t> piece(buffer.data(), static_cast<std::size_t>(got));
    std::size_t done = 0;
    while (done < piece.size()) {
      const ssize_t written = ::write(to, piece.data() + done, piece.size() - done);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) {
        error = written < 0 ? errno : ENOSPC;
        return false;
      }
      done += static_cast<std::size_t>(written);
    }
    total += got;
  }
  if (::ftruncate(to, total) != 0 || ::fsync(to) != 0) {
    error = errno;
    return false;
  }
  return true;
}

// The file a chain of symbolic links ends at (the path itself when it is no link). A chain that
// does not end is left to the open that follows, which reports it.
fs::path followLinks(const fs::path& path) {
  fs::path current = path;
  for (int hop = 0; hop < 40; ++hop) {
    struct stat status {};
    if (::lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return current;
    std::array<char, 4096> target{};
    const ssize_t length = ::readlink(current.c_str(), target.data(), target.size() - 1);
    if (length <= 0) return current;
    const fs::path link(std::string(target.data(), static_cast<std::size_t>(length)));
    current = link.is_absolute() ? link : current.parent_path() / link;
  }
  return current;
}

// A file of our own in the folder `dirFd`: unnamed when `name` is empty.
struct TemporaryFile {
  FileDescriptor fd;
  std::string name;
};

// Creates a named file under a fresh name, retrying when a name is taken.
bool createNamed(int dirFd, TemporaryFile& file, int& error) {
  for (int attempt = 0; attempt < NameAttempts; ++attempt) {
    std::string name = temporaryName();
    const int fd = ::openat(dirFd, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
      file.fd.reset(fd);
      file.name = std::move(name);
      return true;
    }
    if (errno != EEXIST) break;
  }
  error = errno;
  return false;
}

// Creates the new file unnamed where the system allows it, so that nothing remains of it if
// the process dies before it is put in place; otherwise under a fresh name.
bool createTemporary(int dirFd, TemporaryFile& file, int& error) {
#ifdef O_TMPFILE
  if (unnamedTemporaryFilesAllowed()) {
    const int fd = ::openat(dirFd, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0) {
      file.fd.reset(fd);
      file.name.clear();
      return true;
    }
    // Kernels and file systems without unnamed files say so in one of these ways.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL && errno != ENOENT) {
      error = errno;
      return false;
    }
  }
#endif
  return createNamed(dirFd, file, error);
}

// Gives an unnamed file a fresh name in its folder. False when the system cannot name it.
bool nameUnnamed(int dirFd, TemporaryFile& file) {
  const std::string self = "/proc/self/fd/" + std::to_string(file.fd.get());
  for (int attempt = 0; attempt < NameAttempts; ++attempt) {
    std::string name = temporaryName();
    if (::linkat(AT_FDCWD, self.c_str(), dirFd, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
        (errno != EEXIST && ::linkat(file.fd.get(), "", dirFd, name.c_str(), AT_EMPTY_PATH) == 0)) {
      file.name = std::move(name);
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

enum class Replaced { Done, Failed, OwnerNotKept, CannotName };

// Writes a new file beside the target and renames it into place. `previous` is the target's
// status when it exists: its owner, group and mode are given to the new file first, and
// OwnerNotKept is returned, with nothing left behind, when that is not allowed.
Replaced replaceByNewFile(int dirFd, const std::string& targetName, const struct stat* previous,
                          std::span<const std::span<const std::uint8_t>> pieces, bool unnamed,
                          std::string* why) {
  TemporaryFile file;
  int error = 0;
  const bool created =
      unnamed ? createTemporary(dirFd, file, error) : createNamed(dirFd, file, error);
  if (!created) {
    setWhy(why, reasonFor(error, NoFolderPermission));
    return Replaced::Failed;
  }
  auto discard = [&] {
    if (!file.name.empty()) ::unlinkat(dirFd, file.name.c_str(), 0);
    file.fd.reset();
  };
  if (previous) {
    struct stat created_status {};
    if (::fstat(file.fd.get(), &created_status) != 0 ||
        ((created_status.st_uid != previous->st_uid || created_status.st_gid != previous->st_gid) &&
         ::fchown(file.fd.get(), previous->st_uid, previous->st_gid) != 0)) {
      discard();
      return Replaced::OwnerNotKept;
    }
    ::fchmod(file.fd.get(), previous->st_mode & 07777);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(file.fd.get(), 0666 & ~mask);
  }
  if (!writeAll(file.fd.get(), pieces, error)) {
    discard();
    setWhy(why, "write failed: " + reasonFor(error, NoFolderPermission));
    return Replaced::Failed;
  }
  if (file.name.empty() && !nameUnnamed(dirFd, file)) {
    discard();
    return Replaced::CannotName;
  }
  if (file.fd.close() != 0) {
    error = errno;
    discard();
    setWhy(why, "write failed: " + reasonFor(error, NoFolderPermission));
    return Replaced::Failed;
  }
  if (::renameat(dirFd, file.name.c_str(), dirFd, targetName.c_str()) != 0) {
    error = errno;
    discard();
    setWhy(why, reasonFor(error, NoFolderPermission));
    return Replaced::Failed;
  }
  ::fsync(dirFd);  // the new name on the disk too
  return Replaced::Done;
}

// Writes the pieces over the file `target` (open for writing) while a copy of its previous
// content waits in the same folder; the copy is put back if the write fails.
bool writeInPlace(int dirFd, int target, const fs::path& targetPath,
                  std::span<const std::span<const std::uint8_t>> pieces, std::string* why) {
  const FileDescriptor reader(::open(targetPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  TemporaryFile backup;
  int error = 0;
  if (!reader) {
    setWhy(why, reasonFor(errno, "no permission to read the file"));
    return false;
  }
  if (!createNamed(dirFd, backup, error)) {
    setWhy(why, "cannot keep a copy of the file: " + reasonFor(error, NoFolderPermission));
    return false;
  }
  if (!copyContent(reader.get(), backup.fd.get(), error)) {
    ::unlinkat(dirFd, backup.name.c_str(), 0);
    setWhy(why, "cannot keep a copy of the file: " + reasonFor(error, NoFolderPermission));
    return false;
  }
  ::fsync(dirFd);
  const std::size_t total = totalSize(pieces);
  if (::lseek(target, 0, SEEK_SET) == 0 && writeAll(target, pieces, error) &&
      ::ftruncate(target, static_cast<off_t>(total)) == 0 && ::fsync(target) == 0) {
    ::unlinkat(dirFd, backup.name.c_str(), 0);
    return true;
  }
  if (error == 0) error = errno;
  std::string reason = "write failed: " + reasonFor(error, NoFilePermission);
  int restoreError = 0;
  if (copyContent(backup.fd.get(), target, restoreError)) {
    ::unlinkat(dirFd, backup.name.c_str(), 0);
  } else {
    reason += "; the previous content is kept in " + backup.name;
  }
  setWhy(why, reason);
  return false;
}

}  // namespace

ReadStatus readWholeFile(const std::filesystem::path& path, std::size_t maxSize, SetupImage& out) {
  // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
  const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd) return ReadStatus::CannotOpen;
  struct stat status {};
  if (::fstat(fd.get(), &status) != 0) return ReadStatus::ReadFailed;
  if (!S_ISREG(status.st_mode)) return ReadStatus::NotRegularFile;
  if (static_cast<std::uint64_t>(status.st_size) > maxSize) return ReadStatus::TooLarge;
  out.resize(static_cast<std::size_t>(status.st_size));
  std::size_t done = 0;
  while (done < out.size()) {
    const long long got = readSome(fd.get(), out.data() + done, out.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return ReadStatus::ReadFailed;
    if (got == 0) break;  // the file shrank while we read it: take what is there
    done += static_cast<std::size_t>(got);
  }
  out.resize(done);
  return ReadStatus::Ok;
}

void FileLock::release() {
  if (fd_ < 0) return;
  ::close(fd_);  // closing the last descriptor releases the lock
  fd_ = -1;
}

LockStatus lockFile(const std::filesystem::path& path, bool exclusive,
                    std::chrono::milliseconds wait, FileLock& lock, std::string* why) {
  lock.release();
  const auto deadline = std::chrono::steady_clock::now() + wait;
  std::minstd_rand jitter(static_cast<unsigned>(::getpid()));
  for (;;) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd) {
      if (errno == ENOENT) return LockStatus::Missing;
      setWhy(why, reasonFor(errno, "no permission to read the file"));
      return LockStatus::Failed;
    }
    struct stat held {};
    if (::fstat(fd.get(), &held) != 0 || !S_ISREG(held.st_mode)) {
      setWhy(why, "not a regular file");
      return LockStatus::NotRegularFile;
    }
    if (::flock(fd.get(), (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0) {
      // The holder before us may have replaced the file by a new one: the lock must be on the
      // file that the name gives now.
      struct stat named {};
      if (::stat(path.c_str(), &named) == 0 && named.st_dev == held.st_dev &&
          named.st_ino == held.st_ino) {
        lock.fd_ = fd.release();
        return LockStatus::Locked;
      }
      continue;
    }
    if (errno != EWOULDBLOCK && errno != EINTR) {
      setWhy(why, reasonFor(errno, "the file cannot be locked"));
      return LockStatus::Failed;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      setWhy(why, "the file is locked by another program");
      return LockStatus::TimedOut;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2 + jitter() % 8));
  }
}

bool writeFileAtomically(const std::filesystem::path& path,
                         std::span<const std::span<const std::uint8_t>> pieces, std::string* why,
                         FileLock*) {
  const fs::path target = followLinks(path);
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  const std::string targetName = target.filename().string();
  const TerminationSignalsDeferred deferred;

  struct stat previous {};
  const bool exists = ::stat(target.c_str(), &previous) == 0;
  if (!exists && errno != ENOENT) {
    setWhy(why, reasonFor(errno, "no permission to reach the file"));
    return false;
  }
  FileDescriptor existing;
  if (exists) {
    if (!S_ISREG(previous.st_mode)) {
      setWhy(why, "not a regular file");
      return false;
    }
    if ((previous.st_mode & 0222) == 0) {
      setWhy(why, "the file is read-only");
      return false;
    }
    // Opening for writing (which changes nothing yet) asks the system whether we may write it.
    existing.reset(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!existing) {
      setWhy(why, reasonFor(errno, NoFilePermission));
      return false;
    }
    if (::fstat(existing.get(), &previous) != 0 || !S_ISREG(previous.st_mode)) {
      setWhy(why, "not a regular file");
      return false;
    }
  }
  const FileDescriptor dirFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!dirFd) {
    setWhy(why, reasonFor(errno, NoFolderPermission));
    return false;
  }
  if (!exists || previous.st_nlink <= 1) {
    const struct stat* kept = exists ? &previous : nullptr;
    Replaced result = replaceByNewFile(dirFd.get(), targetName, kept, pieces, true, why);
    if (result == Replaced::CannotName) {
      result = replaceByNewFile(dirFd.get(), targetName, kept, pieces, false, why);
    }
    if (result == Replaced::Done) return true;
    if (result == Replaced::Failed) return false;
    // OwnerNotKept: the file is written in place instead.
  }
  return writeInPlace(dirFd.get(), existing.get(), target, pieces, why);
}

#endif

}  // namespace vx
