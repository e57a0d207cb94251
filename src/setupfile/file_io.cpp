#include "setupfile/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#else
#include <unistd.h>
#endif

namespace vx {
namespace {

#ifdef _WIN32
int openForReading(const std::filesystem::path& path) {
  return ::_wopen(path.c_str(), _O_RDONLY | _O_BINARY);
}
int createExclusive(const std::filesystem::path& path) {
  return ::_wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
long long readSome(int fd, std::uint8_t* data, std::size_t size) {
  const unsigned chunk = size > 0x40000000u ? 0x40000000u : static_cast<unsigned>(size);
  return ::_read(fd, data, chunk);
}
long long writeSome(int fd, const std::uint8_t* data, std::size_t size) {
  const unsigned chunk = size > 0x40000000u ? 0x40000000u : static_cast<unsigned>(size);
  return ::_write(fd, data, chunk);
}
bool flushToDisk(int fd) { return ::_commit(fd) == 0; }
void startWriteback(int, std::uint64_t, std::size_t) {}
int closeFile(int fd) { return ::_close(fd); }
int processId() { return ::_getpid(); }
bool fileSize(int fd, std::uint64_t& size) {
  const long long length = ::_filelengthi64(fd);
  if (length < 0) {
    return false;
  }
  size = static_cast<std::uint64_t>(length);
  return true;
}
void matchPermissions(int, const std::filesystem::path&) {}
#else
int openForReading(const std::filesystem::path& path) {
  return ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
}
int createExclusive(const std::filesystem::path& path) {
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
}
long long readSome(int fd, std::uint8_t* data, std::size_t size) { return ::read(fd, data, size); }
long long writeSome(int fd, const std::uint8_t* data, std::size_t size) {
  return ::write(fd, data, size);
}
bool flushToDisk(int fd) { return ::fsync(fd) == 0; }
// Hands the bytes just written to the disk at once, so that the final flush waits only for the
// last of them instead of for the whole file.
void startWriteback(int fd, std::uint64_t offset, std::size_t length) {
#if defined(__linux__) && defined(SYNC_FILE_RANGE_WRITE)
  ::sync_file_range(fd, static_cast<off_t>(offset), static_cast<off_t>(length),
                    SYNC_FILE_RANGE_WRITE);
#else
  (void)fd, (void)offset, (void)length;
#endif
}
int closeFile(int fd) { return ::close(fd); }
int processId() { return static_cast<int>(::getpid()); }
bool fileSize(int fd, std::uint64_t& size) {
  struct stat status {};
  if (::fstat(fd, &status) != 0 || S_ISDIR(status.st_mode)) {
    return false;
  }
  size = static_cast<std::uint64_t>(status.st_size);
  return true;
}
// The new file takes the permissions of the file it replaces, or the usual ones for a new file.
void matchPermissions(int fd, const std::filesystem::path& target) {
  struct stat status {};
  mode_t mode = 0;
  if (::stat(target.c_str(), &status) == 0) {
    mode = status.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  ::fchmod(fd, mode);
}
#endif

std::filesystem::path temporaryPathFor(const std::filesystem::path& target) {
  static std::atomic<unsigned> counter{0};
  std::filesystem::path name = ".";
  name += target.filename();
  name += ".vxtmp-" + std::to_string(processId()) + "-" + std::to_string(counter++);
  return target.parent_path() / name;
}

void setReason(std::string* why, std::string_view what, int error) {
  if (why) {
    *why = std::string(what) + ": " + std::generic_category().message(error);
  }
}

}  // namespace

ReadStatus readWholeFile(const std::filesystem::path& path, std::size_t maxSize, SetupImage& out) {
  const int fd = openForReading(path);
  if (fd < 0) {
    return ReadStatus::CannotOpen;
  }
  std::uint64_t size = 0;
  if (!fileSize(fd, size)) {
    closeFile(fd);
    return ReadStatus::ReadFailed;
  }
  if (size > maxSize) {
    closeFile(fd);
    return ReadStatus::TooLarge;
  }
  out.resize(static_cast<std::size_t>(size));
  std::size_t done = 0;
  while (done < out.size()) {
    const long long got = readSome(fd, out.data() + done, out.size() - done);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      closeFile(fd);
      return ReadStatus::ReadFailed;
    }
    if (got == 0) {
      break;  // the file shrank while we read it: take what is there
    }
    done += static_cast<std::size_t>(got);
  }
  closeFile(fd);
  out.resize(done);
  return ReadStatus::Ok;
}

bool writeFileAtomically(const std::filesystem::path& path,
                         std::span<const std::span<const std::uint8_t>> pieces, std::string* why) {
  const std::filesystem::path temporary = temporaryPathFor(path);
  const int fd = createExclusive(temporary);
  if (fd < 0) {
    setReason(why, "cannot create a file in the target's folder", errno);
    return false;
  }
  matchPermissions(fd, path);
  auto fail = [&](std::string_view what, int error) {
    closeFile(fd);
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    setReason(why, what, error);
    return false;
  };
  // Written in steps, each handed to the disk while the next is written.
  constexpr std::size_t WritebackStep = std::size_t{8} << 20;
  std::uint64_t fileOffset = 0;
  for (const std::span<const std::uint8_t> piece : pieces) {
    std::size_t done = 0;
    while (done < piece.size()) {
      const std::size_t step = std::min(piece.size() - done, WritebackStep);
      const long long written = writeSome(fd, piece.data() + done, step);
      if (written < 0 && errno == EINTR) {
        continue;
      }
      if (written <= 0) {
        return fail("write failed", written < 0 ? errno : ENOSPC);
      }
      startWriteback(fd, fileOffset, static_cast<std::size_t>(written));
      done += static_cast<std::size_t>(written);
      fileOffset += static_cast<std::uint64_t>(written);
    }
  }
  if (!flushToDisk(fd)) {
    return fail("write failed", errno);
  }
  if (closeFile(fd) != 0) {
    const int error = errno;
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    setReason(why, "write failed", error);
    return false;
  }
  std::error_code renamed;
  std::filesystem::rename(temporary, path, renamed);
  if (renamed) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    if (why) {
      *why = "cannot replace the file: " + renamed.message();
    }
    return false;
  }
  return true;
}

}  // namespace vx
