#include <algorithm>
#include <array>
#include <cstdint>

#include "setupfile/setup_file.h"
#include "store/bytes.h"

namespace vx {
namespace {

constexpr std::uint32_t SettingsLength = 1756;
constexpr std::size_t SettingsStart = 16 + BlockHeaderSize;

constexpr void putU32(std::array<std::uint8_t, DefaultSetupTemplateSize>& bytes, std::size_t at,
                      std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) {
    bytes[at + i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF);
  }
}

// The settings the instrument starts from: their own length, 8, selector 0 and character-code
// byte 0 (ASCII), and the name "DEFAULT ". Everything else is zero.
constexpr std::array<std::uint8_t, DefaultSetupTemplateSize> makeDefaultTemplate() {
  std::array<std::uint8_t, DefaultSetupTemplateSize> bytes{};
  std::copy(SetupFileMagic.begin(), SetupFileMagic.end(), bytes.begin());
  bytes[16] = 'S';
  bytes[17] = 'T';
  bytes[18] = 'U';
  bytes[19] = 'P';
  putU32(bytes, 20, SettingsLength);
  putU32(bytes, SettingsStart + 0, SettingsLength);
  putU32(bytes, SettingsStart + 4, 8);
  constexpr char Name[] = "DEFAULT ";
  for (std::size_t i = 0; i < 8; ++i) {
    bytes[SettingsStart + 1668 + i] = static_cast<std::uint8_t>(Name[i]);
  }
  return bytes;
}

}  // namespace

const std::array<std::uint8_t, DefaultSetupTemplateSize> DefaultSetupTemplate =
    makeDefaultTemplate();
static_assert(16 + BlockHeaderSize + SettingsLength == DefaultSetupTemplateSize);

}  // namespace vx
