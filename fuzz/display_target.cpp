// Any 16-byte line in any character code: decoding, the listing text and the display strings of
// the data bytes; and any typed text turned into data bytes.
#include <algorithm>
#include <string>

#include "catalogue/char_codes.h"
#include "catalogue/line_fields.h"
#include "catalogue/listing.h"
#include "fuzz_support.h"

namespace vx::fuzz {

// Input layout: character code, flags, mask, the 16 line bytes, then the typed text.
std::vector<Bytes> seedInputs() {
  const ProgramArea area = sampleArea();
  std::vector<Bytes> seeds;
  for (int code = 0; code < CharCodeCount; ++code) {
    const ProgramLine& line = area.slots[static_cast<std::size_t>(code)];
    Bytes input = {static_cast<std::uint8_t>(code), 3, line.bytes[3]};
    input.insert(input.end(), line.bytes.begin(), line.bytes.end());
    const std::string text = "AZaz09 \xB1\xDD";  // letters, digits, blank, katakana A and N
    input.insert(input.end(), text.begin(), text.end());
    seeds.push_back(input);
  }
  return seeds;
}

}  // namespace vx::fuzz

using namespace vx;
using namespace vx::fuzz;

namespace {

void checkListing(const ProgramLine& line, CharCode code, bool showCharacters) {
  ListingText out;
  out.fill('\x7F');
  const std::string_view text = listingText(line, code, showCharacters, out);
  const auto nul = std::find(out.begin(), out.end(), '\0');
  VX_FUZZ_CHECK(nul != out.end());
  const auto length = static_cast<std::size_t>(nul - out.begin());
  VX_FUZZ_CHECK(length <= 39);
  VX_FUZZ_CHECK(text.data() == out.data() && text.size() == length);
}

void checkDisplayStrings(CharCode code, const std::array<std::uint8_t, 8>& data, bool usesMask,
                         std::uint8_t mask) {
  const auto characters = displayStrings(true, code, data, usesMask, mask);
  const auto hex = displayStrings(false, code, data, usesMask, mask);
  for (std::size_t i = 0; i < data.size(); ++i) {
    VX_FUZZ_CHECK(!characters[i].empty());
    if (usesMask && ((static_cast<unsigned>(mask) >> i) & 1U) != 0) {
      VX_FUZZ_CHECK(hex[i] == (data[i] == 0 ? "*" : "|>"));
      VX_FUZZ_CHECK(characters[i] == hex[i]);
    } else {
      VX_FUZZ_CHECK(hex[i] == std::string_view(HexFallback[data[i]].data(), 2));
    }
  }
}

// The bytes of a typed text show as that text again, shift bytes aside.
void checkTypedText(CharCode code, std::string_view text) {
  std::array<std::uint8_t, 15> out{};
  out.fill(0xA5);
  const int written = textToBytes(code, text, out);
  const std::size_t typed = std::min<std::size_t>({text.size(), text.find('\0'), 8});
  VX_FUZZ_CHECK(written >= 0 && written <= 15);
  VX_FUZZ_CHECK(static_cast<std::size_t>(written) >= typed);
  VX_FUZZ_CHECK(static_cast<std::size_t>(written) <= 2 * typed);
  for (std::size_t j = static_cast<std::size_t>(written); j < out.size(); ++j) {
    VX_FUZZ_CHECK(out[j] == 0xA5);
  }

  const ShiftPair shift = ShiftBytes[charCodeIndex(code)];
  const bool canShift = shift.toNormal != 0;
  std::array<std::uint8_t, 8> data{};
  std::copy_n(out.begin(), std::min(written, 8), data.begin());
  const auto shown = displayStrings(true, code, data, false, 0);
  std::size_t character = 0;
  for (std::size_t j = 0; j < data.size() && j < static_cast<std::size_t>(written); ++j) {
    const std::uint8_t b = data[j];
    if (canShift && (b == shift.toShifted || b == shift.toNormal)) {
      continue;  // a shift byte that textToBytes put in
    }
    // A character that no half holds becomes 0x00; any other byte shows as the character.
    VX_FUZZ_CHECK(character < typed);
    if (b != 0) {
      VX_FUZZ_CHECK(shown[j] == std::string_view(&text[character], 1));
    }
    ++character;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  InputReader input(data, size);
  // Any byte: an index outside the list is normalised to ASCII, and a code cast from it (which
  // only a fault could make) is treated as ASCII too.
  const int index = static_cast<std::int8_t>(input.byte());
  const auto code = static_cast<CharCode>(index);
  const std::uint8_t flags = input.byte();
  const std::uint8_t mask = input.byte();
  ProgramLine line;
  for (std::uint8_t& b : line.bytes) {
    b = input.byte();
  }
  const Bytes rest = input.rest();
  const std::string_view text(reinterpret_cast<const char*>(rest.data()), rest.size());

  const LineFields fields = decodeLine(line);
  VX_FUZZ_CHECK(fields.instruction == line.bytes[0]);
  for (std::size_t i = std::min<std::size_t>(fields.count, 8); i < fields.data.size(); ++i) {
    VX_FUZZ_CHECK(fields.data[i] == 0);
  }
  for (const CharCode c : {code, normaliseCharCode(index)}) {
    checkListing(line, c, true);
    checkListing(line, c, false);
  }
  std::array<std::uint8_t, 8> bytes{};
  std::copy_n(line.bytes.begin() + 4, 8, bytes.begin());
  checkDisplayStrings(code, bytes, (flags & 2) != 0, mask);

  for (const CharHalf half : {CharHalf::Normal, CharHalf::Shifted, static_cast<CharHalf>(flags)}) {
    const int slots = slotCount(code, half);
    VX_FUZZ_CHECK(slots >= 0 && slots <= 256);
    VX_FUZZ_CHECK(displaySlot(code, half, -1).empty());
    VX_FUZZ_CHECK(displaySlot(code, half, slots).empty());
    const int found = byteForCharacter(code, static_cast<char>(mask), half);
    if (found >= 0) {
      VX_FUZZ_CHECK(displaySlot(code, half, found) == std::string(1, static_cast<char>(mask)));
    }
  }
  checkTypedText(code, text);
  return 0;
}
