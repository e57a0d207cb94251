#include "setupfile/file_identity.h"

#include <system_error>

#include "setupfile/file_io.h"
#include "setupfile/setup_file.h"

namespace vx {
namespace {

std::int64_t writeTime(const std::filesystem::path& path) {
  std::error_code error;
  const auto time = std::filesystem::last_write_time(path, error);
  return error ? 0 : static_cast<std::int64_t>(time.time_since_epoch().count());
}

// One multiply-and-shift round per 8 bytes, so that a file of 64 MiB hashes in a few tens of
// milliseconds.
std::uint64_t mix(std::uint64_t hash, std::uint64_t word) {
  hash ^= word;
  hash *= 0x9E3779B97F4A7C15ull;
  return hash ^ (hash >> 32);
}

}  // namespace

std::uint64_t contentHash(std::span<const std::uint8_t> bytes) {
  std::uint64_t hash = 0xCBF29CE484222325ull ^ bytes.size();
  std::size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t word = 0;
    for (std::size_t k = 0; k < 8; ++k) word |= std::uint64_t{bytes[i + k]} << (8 * k);
    hash = mix(hash, word);
  }
  std::uint64_t tail = 0;
  for (std::size_t k = 0; i + k < bytes.size(); ++k) tail |= std::uint64_t{bytes[i + k]} << (8 * k);
  return mix(mix(hash, tail), bytes.size());
}

FileIdentity identityOf(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  return FileIdentity{bytes.size(), writeTime(path), contentHash(bytes)};
}

std::optional<FileIdentity> identifyFile(const std::filesystem::path& path) {
  SetupImage bytes;
  // A file larger than any setup file is read no further: its size alone tells it apart.
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (!error && size > MaxSetupFileSize) {
    return FileIdentity{static_cast<std::uint64_t>(size), writeTime(path), 0};
  }
  if (readWholeFile(path, MaxSetupFileSize, bytes) != ReadStatus::Ok) return std::nullopt;
  return identityOf(path, bytes);
}

DiskState compareWithDisk(const FileIdentity& remembered, const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error) && !error) return DiskState::Missing;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return DiskState::Changed;
  if (static_cast<std::uint64_t>(size) != remembered.size) return DiskState::Changed;
  const std::optional<FileIdentity> now = identifyFile(path);
  if (!now || now->size != remembered.size || now->hash != remembered.hash) {
    return DiskState::Changed;
  }
  return DiskState::Unchanged;
}

}  // namespace vx
