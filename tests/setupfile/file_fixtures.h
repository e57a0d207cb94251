// Building blocks of setup files for tests: the magic, tagged blocks and their concatenation.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "setupfile/setup_file.h"
#include "store/bytes.h"

namespace vx::fixtures {

using Bytes = std::vector<std::uint8_t>;

// A block with `dataLength` data bytes of `fill`, whose length field says `storedLength`.
inline Bytes block(const std::string& tag, std::uint32_t dataLength, std::uint32_t storedLength,
                   std::uint8_t fill = 0) {
  Bytes bytes(tag.begin(), tag.end());
  bytes.resize(8);
  writeU32(&bytes[4], storedLength);
  bytes.resize(8 + dataLength, fill);
  return bytes;
}

inline Bytes magic() { return Bytes(SetupFileMagic.begin(), SetupFileMagic.end()); }

inline Bytes concat(std::initializer_list<Bytes> parts) {
  Bytes result;
  for (const Bytes& part : parts) {
    result.insert(result.end(), part.begin(), part.end());
  }
  return result;
}

}  // namespace vx::fixtures
