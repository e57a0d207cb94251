// What a setup file held when the editor last loaded or saved it, so that a change made to the
// file by someone else since then is noticed before the editor replaces it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

namespace vx {

struct FileIdentity {
  std::uint64_t size = 0;
  // Last write time as the file system reports it (its own clock's ticks).
  std::int64_t modified = 0;
  std::uint64_t hash = 0;
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// A hash of the bytes, for telling two contents apart (not against deliberate collisions).
std::uint64_t contentHash(std::span<const std::uint8_t> bytes);

// The identity of the file at `path` whose bytes are `bytes` (as just read or written): its size
// and hash from the bytes, its write time from the file system (0 when it cannot be read).
FileIdentity identityOf(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Reads the file at `path` and gives its identity; nothing when it cannot be read.
std::optional<FileIdentity> identifyFile(const std::filesystem::path& path);

enum class DiskState {
  Unchanged,  // the same bytes as remembered (a new write time alone does not count)
  Changed,    // other bytes, another size, or a file that can no longer be read
  Missing,    // no file at the path any more
};

// Compares the file at `path` with what was remembered of it.
DiskState compareWithDisk(const FileIdentity& remembered, const std::filesystem::path& path);

}  // namespace vx
