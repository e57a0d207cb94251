// Programs as text. Any program area: importing its own text changes no byte and writing it again
// gives the same text; every line the field panel can make is written as its listing text. Any
// text: reading it never fails on its own, each line read is written so that it reads back the
// same, and a line read from its listing text has its listing form.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "catalogue/catalogue.h"
#include "catalogue/line_fields.h"
#include "catalogue/program_text.h"
#include "fuzz_support.h"

namespace vx::fuzz {

// Input layout: a mode byte. Even: a count of panel entries, each an instruction, a kind and per
// position a selection and a text ending at 0xFF; then the bytes of the program area. Odd: a text.
std::vector<Bytes> seedInputs() {
  const ProgramArea area = sampleArea();
  const auto* raw = reinterpret_cast<const std::uint8_t*>(&area);
  Bytes plainArea = {0, 0};
  plainArea.insert(plainArea.end(), raw, raw + ProgramAreaSize);

  Bytes withEntries = {0, 3};
  const std::array<const char*, 4> texts = {"41", "*", "7", "INC"};
  for (int entry = 0; entry < 3; ++entry) {
    withEntries.push_back(static_cast<std::uint8_t>(entry == 0 ? 1 : 4 + entry));
    withEntries.push_back(static_cast<std::uint8_t>(entry + 1));
    for (std::size_t p = 0; p < PositionCount; ++p) {
      withEntries.push_back(static_cast<std::uint8_t>(p % 3));
      const std::string text = texts[(p + static_cast<std::size_t>(entry)) % texts.size()];
      withEntries.insert(withEntries.end(), text.begin(), text.end());
      withEntries.push_back(0xFF);
    }
  }
  withEntries.insert(withEntries.end(), raw, raw + 24 + 64 * LineSize);

  const std::string exported = writeProgramText(area, "seed");
  Bytes text = {1};
  text.insert(text.end(), exported.begin(), exported.end());
  const std::string handWritten =
      "[a]\r\n  send  chr 41 5A # text\r\nif reg1<=reg2 l3\r\nSET TM1 rstart\r\n[E]\n"
      ".raw 00 01 02 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 0f\nWAIT TRG4\nIF CHR * |> 0d L12\n";
  Bytes text2 = {1};
  text2.insert(text2.end(), handWritten.begin(), handWritten.end());
  return {plainArea, withEntries, text, text2};
}

}  // namespace vx::fuzz

using namespace vx;
using namespace vx::fuzz;

namespace {

bool startsWithRaw(std::string_view line) {
  if (line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);  // a byte-order mark
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  if (line.size() < RawLineWord.size()) return false;
  for (std::size_t i = 0; i < RawLineWord.size(); ++i) {
    if ((line[i] | 0x20) != RawLineWord[i]) return false;
  }
  return true;
}

// The text of a line reads back as the same line.
void checkLineText(const ProgramLine& line) {
  const LineReading reading = readProgramLine(programLineText(line));
  VX_FUZZ_CHECK(reading.line && *reading.line == line);
}

void checkArea(InputReader& input) {
  std::vector<ProgramLine> encoded;
  const int entries = input.byte() % 9;
  for (int e = 0; e < entries; ++e) {
    const int instruction = input.byte() % InstructionCount;
    std::array<PositionEntry, PositionCount> positions{};
    // The kind selector offers the instruction's kinds only.
    positions[0].selection = input.below(std::max(1, kindCount(instruction)) + 1) - 1;
    for (std::size_t p = 0; p < PositionCount; ++p) {
      if (p > 0) positions[p].selection = input.byte() % 10 - 1;
      positions[p].text = input.text(40);
    }
    const std::optional<ProgramLine> line = encodeLine(instruction, positions, nullptr);
    if (!line) continue;
    VX_FUZZ_CHECK(hasListingForm(*line));
    checkLineText(*line);
    encoded.push_back(*line);
  }

  auto area = std::make_unique<ProgramArea>();
  resetProgramArea(*area);
  const Bytes rest = input.rest();
  if (!rest.empty()) std::memcpy(area.get(), rest.data(), std::min(rest.size(), ProgramAreaSize));
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    storeLine(*area, 0, static_cast<int>(i), encoded[i]);
  }

  const std::string text = writeProgramText(*area, "fuzz");
  const auto copy = std::make_unique<ProgramArea>(*area);
  VX_FUZZ_CHECK(importProgramText(*copy, readProgramText(text)).empty());
  VX_FUZZ_CHECK(std::memcmp(copy.get(), area.get(), ProgramAreaSize) == 0);
  VX_FUZZ_CHECK(writeProgramText(*copy, "fuzz") == text);
}

void checkText(InputReader& input) {
  const Bytes bytes = input.rest();
  const std::string text(bytes.begin(), bytes.end());
  const ProgramText read = readProgramText(text);
  const auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
  for (const TextProblem& problem : read.problems) {
    VX_FUZZ_CHECK(problem.line >= 1 && problem.line <= lines && !problem.message.empty());
  }
  std::vector<std::string_view> textLines;
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    textLines.push_back(std::string_view(text).substr(start, end - start));
    start = end + 1;
  }
  for (const TextSection& section : read.sections) {
    VX_FUZZ_CHECK(section.lines.size() == section.textLines.size());
    for (std::size_t i = 0; i < section.lines.size(); ++i) {
      const int at = section.textLines[i];
      VX_FUZZ_CHECK(at >= 1 && at <= lines);
      checkLineText(section.lines[i]);
      // A line given as its listing text is one the editor writes.
      if (!startsWithRaw(textLines[static_cast<std::size_t>(at - 1)])) {
        VX_FUZZ_CHECK(hasListingForm(section.lines[i]));
      }
    }
  }

  // A text that imports into an empty area imports again from its own export to the same area.
  auto area = std::make_unique<ProgramArea>();
  resetProgramArea(*area);
  if (importProgramText(*area, read).empty()) {
    const auto again = std::make_unique<ProgramArea>();
    resetProgramArea(*again);
    VX_FUZZ_CHECK(importProgramText(*again, readProgramText(writeProgramText(*area, "t"))).empty());
    VX_FUZZ_CHECK(std::memcmp(again.get(), area.get(), ProgramAreaSize) == 0);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  InputReader input(data, size);
  if ((input.byte() & 1) == 0) {
    checkArea(input);
  } else {
    checkText(input);
  }
  return 0;
}
