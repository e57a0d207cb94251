// Whole-file reading and safe replacement, the only file access of the setup file.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "setupfile/setup_image.h"

namespace vx {

enum class ReadStatus { Ok, CannotOpen, ReadFailed, TooLarge, NotRegularFile };

// Reads the whole file into `out` (replacing its contents), straight into the buffer without
// zeroing it first. A file larger than `maxSize` is not read. A missing file is never created;
// a FIFO, device or directory is refused at once, without waiting for a writer.
ReadStatus readWholeFile(const std::filesystem::path& path, std::size_t maxSize, SetupImage& out);

enum class LockStatus { Locked, Missing, NotRegularFile, TimedOut, Failed };
class FileLock;
// Takes the lock on the file `path` names (after its symbolic links): exclusive for a process
// that will write the file, shared for one that only reads it. Waits at most `wait` for other
// holders. A missing file gives Missing (nothing is created); the other failures set `why`.
LockStatus lockFile(const std::filesystem::path& path, bool exclusive,
                    std::chrono::milliseconds wait, FileLock& lock, std::string* why);

// An advisory lock on an existing regular file, held from load to save so that edits by several
// processes take effect one after another instead of overwriting each other. Released by the
// destructor (or by the save on Windows, which cannot replace a file that is held open).
class FileLock {
 public:
  FileLock() = default;
  ~FileLock() { release(); }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  bool held() const { return fd_ >= 0; }
  void release();

 private:
  friend LockStatus lockFile(const std::filesystem::path&, bool, std::chrono::milliseconds,
                             FileLock&, std::string*);
  int fd_ = -1;
};

// Writes the pieces, in order, in place of the file `path` names; a symbolic link is followed and
// stays a link. The file is replaced by a new file written beside it and put in place in one
// step, with the owner, group and permissions of the file it replaces. When the new file cannot
// be given them, or the file has several names (hard links), the file is written in place while
// a copy of its previous content waits beside it, put back if the write fails and removed
// afterwards. A file the user may not write (read-only, no permission, not a regular file) is
// never touched. On failure the previous file is left as it was, nothing else remains, `why`
// (when given) says why in a short phrase, and the result is false. `heldLock`, when given, is
// this process's lock on the file: Windows cannot replace a file that is held open, so it is
// released just before the new file is put in place, and the save fails rather than waits when
// another process has opened the file by then.
bool writeFileAtomically(const std::filesystem::path& path,
                         std::span<const std::span<const std::uint8_t>> pieces, std::string* why,
                         FileLock* heldLock = nullptr);

// For tests of the less common paths: whether the new file may be created unnamed (Linux
// O_TMPFILE), and the source of the names of named temporary and backup files (an empty
// function restores the random names).
void useUnnamedTemporaryFiles(bool allowed);
void setTemporaryNameSource(std::function<std::string()> source);

}  // namespace vx
