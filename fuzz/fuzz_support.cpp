#include "fuzz_support.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <optional>

#include "catalogue/catalogue.h"
#include "catalogue/line_fields.h"
#include "store/bytes.h"

namespace vx::fuzz {

void fail(const char* file, int line, const char* condition) {
  std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, condition);
  std::abort();
}

bool writeSeeds(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  const std::vector<Bytes> seeds = seedInputs();
  for (std::size_t k = 0; k < seeds.size(); ++k) {
    std::ofstream out(folder / ("seed-" + std::to_string(k)), std::ios::binary);
    out.write(reinterpret_cast<const char*>(seeds[k].data()),
              static_cast<std::streamsize>(seeds[k].size()));
    if (!out) {
      return false;
    }
  }
  return true;
}

std::string InputReader::text(std::size_t limit) {
  std::string result;
  while (offset_ < size_ && result.size() < limit) {
    const std::uint8_t c = data_[offset_++];
    if (c == 0xFF) {
      break;
    }
    result.push_back(static_cast<char>(c));
  }
  return result;
}

Bytes InputReader::rest() {
  Bytes result(data_ + std::min(offset_, size_), data_ + size_);
  offset_ = size_;
  return result;
}

Bytes fileImage(std::span<const std::uint8_t> setupPart, const ProgramArea& area) {
  Bytes bytes(setupPart.begin(), setupPart.end());
  const std::array<std::uint8_t, 4> tag = {'S', 'P', 'G', '1'};
  bytes.insert(bytes.end(), tag.begin(), tag.end());
  bytes.resize(bytes.size() + 4);
  writeU32(&bytes[bytes.size() - 4], ProgramBlockLength);
  const auto* raw = reinterpret_cast<const std::uint8_t*>(&area);
  bytes.insert(bytes.end(), raw, raw + ProgramAreaSize);
  return bytes;
}

ProgramArea sampleArea() {
  ProgramArea area;
  resetProgramArea(area);
  // Plausible texts for every position: data bytes, small numbers, labels and values.
  constexpr std::array<const char*, PositionCount> texts = {"",   "1", "2",  "41",  "42",  "*",
                                                            "|>", "7", "12", "999", "100", "5"};
  int index = 0;
  for (int instruction = 0; instruction < InstructionCount; ++instruction) {
    const int kinds = std::max(1, kindCount(instruction));
    for (int kind = 0; kind < kinds; ++kind) {
      std::array<PositionEntry, PositionCount> positions{};
      for (std::size_t p = 0; p < positions.size(); ++p) {
        positions[p].text = texts[(p + static_cast<std::size_t>(kind)) % texts.size()];
        positions[p].selection = static_cast<int>(p % 3);
      }
      positions[0].selection = kind;
      const std::optional<ProgramLine> line = encodeLine(instruction, positions, nullptr);
      if (line) {
        storeLine(area, index % ProgramCount, index / ProgramCount, *line);
        ++index;
      }
    }
  }
  setCursor(area, 1, 3);
  return area;
}

Bytes headerBytes(const ProgramArea& area) { return Bytes(area.header.begin(), area.header.end()); }

}  // namespace vx::fuzz
