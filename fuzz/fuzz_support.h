// Shared by the fuzz targets: the invariant check, a reader that takes values from the fuzz input,
// and builders for the seed inputs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "setupfile/setup_file.h"
#include "store/program_area.h"

// Every target defines the libFuzzer entry and its seed inputs.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace vx::fuzz {

using Bytes = std::vector<std::uint8_t>;

// Seed inputs of the target, made by our own code.
std::vector<Bytes> seedInputs();
// Writes the seed inputs as files seed-0, seed-1, ... into the folder (created if missing).
bool writeSeeds(const std::filesystem::path& folder);

// A broken invariant aborts, so that libFuzzer and the regression runner report the input.
[[noreturn]] void fail(const char* file, int line, const char* condition);
#define VX_FUZZ_CHECK(condition) \
  ((condition) ? static_cast<void>(0) : ::vx::fuzz::fail(__FILE__, __LINE__, #condition))

// Takes numbers and byte runs from the front of the input; past its end everything reads as 0.
class InputReader {
 public:
  InputReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::uint8_t byte() { return offset_ < size_ ? data_[offset_++] : 0; }
  std::uint16_t u16() {
    const std::uint16_t low = byte();
    return static_cast<std::uint16_t>(low | (byte() << 8));
  }
  // A value in 0..count-1 (count > 0).
  int below(int count) { return static_cast<int>(u16() % static_cast<unsigned>(count)); }
  bool flag() { return (byte() & 1) != 0; }
  // Up to `limit` bytes, ending early at a 0xFF separator (which is consumed).
  std::string text(std::size_t limit);
  Bytes rest();
  bool done() const { return offset_ >= size_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t offset_ = 0;
};

// The bytes a save would write: the kept part of the image, the program block header, the area.
Bytes fileImage(std::span<const std::uint8_t> setupPart, const ProgramArea& area);
// A program area whose programs hold a few lines of every instruction, as the editor encodes them.
ProgramArea sampleArea();
// The header of the area as its 24 raw bytes.
Bytes headerBytes(const ProgramArea& area);

}  // namespace vx::fuzz
