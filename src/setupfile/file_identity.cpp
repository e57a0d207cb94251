#include "setupfile/file_identity.h"

#include <array>
#include <cstring>
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

// One multiply-and-shift round per 8 bytes, in four independent lanes so that the rounds overlap.
// The hash is only ever compared with one made on the same machine, so the words are read in the
// machine's byte order.
std::uint64_t mix(std::uint64_t hash, std::uint64_t word) {
  hash ^= word;
  hash *= 0x9E3779B97F4A7C15ull;
  return hash ^ (hash >> 32);
}

std::uint64_t wordAt(const std::uint8_t* bytes) {
  std::uint64_t word = 0;
  std::memcpy(&word, bytes, sizeof(word));
  return word;
}

}  // namespace

std::uint64_t contentHash(std::span<const std::uint8_t> bytes) {
  constexpr std::size_t Lanes = 4;
  std::array<std::uint64_t, Lanes> lanes = {0xCBF29CE484222325ull, 0x84222325CBF29CE4ull,
                                            0x100000001B3ull, 0x1B3000000001ull};
  const std::uint8_t* data = bytes.data();
  std::size_t i = 0;
  for (; i + 8 * Lanes <= bytes.size(); i += 8 * Lanes) {
    for (std::size_t lane = 0; lane < Lanes; ++lane) {
      lanes[lane] = mix(lanes[lane], wordAt(data + i + 8 * lane));
    }
  }
  std::uint64_t hash = bytes.size();
  for (const std::uint64_t lane : lanes) hash = mix(hash, lane);
  for (; i + 8 <= bytes.size(); i += 8) hash = mix(hash, wordAt(data + i));
  std::uint64_t tail = 0;
  for (std::size_t k = 0; i + k < bytes.size(); ++k) tail |= std::uint64_t{data[i + k]} << (8 * k);
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
