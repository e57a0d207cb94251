// Whole-file reading and atomic replacement, the only file access of the setup file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "setupfile/setup_image.h"

namespace vx {

enum class ReadStatus { Ok, CannotOpen, ReadFailed, TooLarge };

// Reads the whole file into `out` (replacing its contents), straight into the buffer without
// zeroing it first. A file larger than `maxSize` is not read. A missing file is never created.
ReadStatus readWholeFile(const std::filesystem::path& path, std::size_t maxSize, SetupImage& out);

// Writes the pieces, in order, to a new file in the target's directory and then puts it in place
// of the target in one step. On failure the target is untouched, the new file is removed, `why`
// says what failed, and the result is false.
bool writeFileAtomically(const std::filesystem::path& path,
                         std::span<const std::span<const std::uint8_t>> pieces, std::string* why);

}  // namespace vx
