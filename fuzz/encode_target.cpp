// Any texts and selections in the twelve panel positions: encodeLine stores only what the layout
// row allows and corrects only positions of the row; parseFieldValue keeps its value in range.
#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/line_fields.h"
#include "catalogue/listing.h"
#include "catalogue/value_parsing.h"
#include "fuzz_support.h"
#include "store/bytes.h"

namespace vx::fuzz {

// Input layout: the parse arguments and text, then the instruction selection and per position a
// selection and a text, texts ending at 0xFF.
std::vector<Bytes> seedInputs() {
  std::vector<Bytes> seeds;
  const std::array<const char*, PositionCount> texts = {
      "", "1", "41", "*", "|>", "0x1F", "999", "INC", "START", "RESET", "-3", "1234567"};
  for (int instruction = 0; instruction < InstructionCount; ++instruction) {
    const int kinds = std::max(1, kindCount(instruction));
    for (int kind = 0; kind < kinds; ++kind) {
      Bytes input = {1, 2, 0, 0, 0, 0xFF, 0, 0, 0, 2, '4', '2', 0xFF};
      input.push_back(static_cast<std::uint8_t>(instruction + 1));
      for (std::size_t p = 0; p < PositionCount; ++p) {
        input.push_back(static_cast<std::uint8_t>(p == 0 ? static_cast<std::size_t>(kind) : p % 4));
        const std::string text = texts[(p + static_cast<std::size_t>(kind)) % texts.size()];
        input.insert(input.end(), text.begin(), text.end());
        input.push_back(0xFF);
      }
      seeds.push_back(input);
    }
  }
  return seeds;
}

}  // namespace vx::fuzz

using namespace vx;
using namespace vx::fuzz;

namespace {

class RecordedFeedback : public FieldFeedback {
 public:
  void showPositionText(int position, std::string_view text) override {
    shown.push_back(position);
    VX_FUZZ_CHECK(!text.empty() && text.size() <= 8);
  }
  void clearCharacterCell(int dataIndex) override { cleared.push_back(dataIndex); }

  std::vector<int> shown;
  std::vector<int> cleared;
};

void checkParse(InputReader& input) {
  const int radix = input.flag() ? 16 : 10;
  const int digits = 1 + input.byte() % 6;
  std::uint32_t minimum = input.u16() * (input.flag() ? 65536u : 1u);
  std::uint32_t maximum = input.u16() * (input.flag() ? 65536u : 1u) + input.byte();
  if (minimum > maximum) std::swap(minimum, maximum);
  const int mode = input.byte() % 8;
  const std::string text = input.text(300);

  const ParsedValue parsed =
      parseFieldValue(text, radix, digits, minimum, maximum, static_cast<TokenMode>(mode));
  const std::string_view used(text.data(), std::min(text.size(), text.find('\0')));
  VX_FUZZ_CHECK((parsed.result == ParseResult::Empty) == used.empty());
  switch (parsed.result) {
    case ParseResult::Empty:
    case ParseResult::Invalid:
      VX_FUZZ_CHECK(parsed.value == minimum);
      break;
    case ParseResult::Number:
      VX_FUZZ_CHECK(parsed.value >= minimum && parsed.value <= maximum);
      break;
    case ParseResult::Token:
      VX_FUZZ_CHECK(mode >= 1 && mode <= 5);
      VX_FUZZ_CHECK(parsed.value <= 3);
      break;
  }
  // Modes without tokens behave alike.
  if (mode == 0 || mode >= 6) {
    VX_FUZZ_CHECK(parsed ==
                  parseFieldValue(text, radix, digits, minimum, maximum, TokenMode::None));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  InputReader input(data, size);
  checkParse(input);

  const int selection = input.byte() - 1;  // -1 .. 254
  std::array<PositionEntry, PositionCount> positions{};
  for (PositionEntry& entry : positions) {
    entry.selection = static_cast<std::int8_t>(input.byte());
    entry.text = input.text(300);
  }
  RecordedFeedback feedback;
  const std::optional<ProgramLine> line = encodeLine(selection, positions, &feedback);
  const std::optional<ProgramLine> again = encodeLine(selection, positions, nullptr);
  VX_FUZZ_CHECK(line == again);
  if (selection < 0 || selection >= InstructionCount) {
    VX_FUZZ_CHECK(!line);
    return 0;
  }
  const int kind = hasKinds(selection) && positions[0].selection >= 0 ? positions[0].selection : 0;
  bool hasValue = false;
  bool hasLabel = false;
  int rowLength = 0;
  for (int p = 0; p < PositionCount && fieldTypeAt(selection, kind, p) != FieldType::End; ++p) {
    const FieldType type = fieldTypeAt(selection, kind, p);
    hasValue = hasValue || type == FieldType::RegisterValue || type == FieldType::TimerValue ||
               type == FieldType::CounterValue;
    hasLabel = hasLabel || type == FieldType::LabelNumber;
    rowLength = p + 1;
  }
  // Only an unusable register, timer or counter value refuses the line.
  VX_FUZZ_CHECK(line || hasValue);
  for (const int position : feedback.shown) {
    VX_FUZZ_CHECK(position >= 0 && position < rowLength);
  }
  for (const int cell : feedback.cleared) {
    VX_FUZZ_CHECK(cell >= 0 && cell < 8);
  }
  if (!line) {
    return 0;
  }
  const auto& b = line->bytes;
  VX_FUZZ_CHECK(b[0] == selection);
  VX_FUZZ_CHECK(b[1] == (hasKinds(selection) ? kind : 0));
  VX_FUZZ_CHECK(b[14] == 0 && b[15] == 0);
  const std::uint16_t label = readU16(&b[12]);
  VX_FUZZ_CHECK(hasLabel ? label <= 999 || (label == 0xFFFF && selection == 9) : label == 0);
  if (firstDataPosition(selection, kind) >= 0) {
    const LineFields fields = decodeLine(*line);
    VX_FUZZ_CHECK(fields.count <= 8);
  }
  for (int index = 0; index < CharCodeCount; ++index) {
    ListingText out;
    const std::string_view text = listingText(*line, normaliseCharCode(index), true, out);
    VX_FUZZ_CHECK(text.size() <= 39 && out[text.size()] == '\0');
  }
  return 0;
}
