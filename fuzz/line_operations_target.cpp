// Line operations, label check and listing on a program area whose header and lines come from
// the input, damaged starts and cursors included.
#include <memory>

#include "area_checks.h"
#include "fuzz_support.h"
#include "store/bytes.h"

namespace vx::fuzz {
namespace {

// Input layout: the 24 header bytes, a count of lines to place, each as a slot number and 16
// bytes, then the operations.
Bytes seedFor(const ProgramArea& area, std::initializer_list<std::uint8_t> operations) {
  Bytes input = headerBytes(area);
  input.push_back(2);
  for (const int slotNumber : {1, 600}) {
    input.push_back(static_cast<std::uint8_t>(slotNumber & 0xFF));
    input.push_back(static_cast<std::uint8_t>(slotNumber >> 8));
    const ProgramLine& line = area.slots[static_cast<std::size_t>(slotNumber)];
    input.insert(input.end(), line.bytes.begin(), line.bytes.end());
  }
  input.insert(input.end(), operations);
  return input;
}

void setStarts(ProgramArea& area, std::initializer_list<int> starts) {
  std::size_t offset = 4;
  for (const int start : starts) {
    writeU16(&area.header[offset], static_cast<std::uint32_t>(start) & 0xFFFF);
    offset += 4;
  }
}

}  // namespace

std::vector<Bytes> seedInputs() {
  ProgramArea area = sampleArea();
  std::vector<Bytes> seeds;
  // Insert, delete, move and copy in a reset area; then the same on damaged headers.
  const std::initializer_list<std::uint8_t> operations = {
      0, 1, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 5, 3,  // insert
      2, 1, 5, 9,                                                               // delete
      3, 2, 3, 1, 0, 2, 4, 1, 2, 1,                                             // move
      1, 2, 2, 0, 3, 0, 7, 0, 0, 1,                                             // copy
      4, 5, 0,                                                                  // list
  };
  seeds.push_back(seedFor(area, operations));
  setStarts(area, {0, 600, 500, 1536, 2048});
  seeds.push_back(seedFor(area, operations));
  setStarts(area, {-5, 512, 1024, 1536, 4000});
  setCursor(area, 0, -1);
  setCursor(area, 1, 700);
  seeds.push_back(seedFor(area, operations));
  setStarts(area, {0, 100, 2000, 2000, 2048});
  seeds.push_back(seedFor(area, operations));
  return seeds;
}

}  // namespace vx::fuzz

using namespace vx;
using namespace vx::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  InputReader input(data, size);
  auto area = std::make_unique<ProgramArea>();
  for (std::uint8_t& b : area->header) {
    b = input.byte();
  }
  // Every slot is distinguishable, so that a line moved to the wrong place shows.
  for (std::size_t i = 0; i < area->slots.size(); ++i) {
    auto& bytes = area->slots[i].bytes;
    bytes[0] = static_cast<std::uint8_t>(i % 13);
    writeU16(&bytes[12], static_cast<std::uint32_t>(i % 7));
    writeU16(&bytes[14], static_cast<std::uint32_t>(i));
  }
  const int placed = input.byte() % 16;
  for (int k = 0; k < placed; ++k) {
    auto& bytes = area->slots[static_cast<std::size_t>(input.u16() % SlotCount)].bytes;
    for (std::uint8_t& b : bytes) {
      b = input.byte();
    }
  }
  exerciseArea(*area, input, 256);
  return 0;
}
