// Writes a small setup file for demonstrations and screenshots: program A greets the line, waits
// for an answer and loops; program B holds a label mismatch for the label check.
//
//   vxsample PATH
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <string>

#include "setupfile/setup_file.h"
#include "store/program_area.h"

namespace {

// The 16 bytes of a line, as the field layout stores them.
vx::ProgramLine line(std::initializer_list<int> bytes, int label = 0) {
  vx::ProgramLine result{};
  std::size_t i = 0;
  for (int value : bytes) result.bytes[i++] = static_cast<std::uint8_t>(value);
  result.bytes[12] = static_cast<std::uint8_t>(label & 0xFF);
  result.bytes[13] = static_cast<std::uint8_t>(label >> 8);
  return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fputs("usage: vxsample PATH\n", stderr);
    return 2;
  }
  vx::SetupDocument document;
  vx::initialise(document);
  constexpr int Lbl = static_cast<int>(vx::Instruction::Lbl);
  // clang-format off
  const vx::ProgramLine programA[] = {
      line({Lbl}, 1),
      line({1, 0, 5, 0, 'H', 'E', 'L', 'L', 'O'}),     // SEND CHR "HELLO"
      line({2, 3, 100}),                                // WAIT TM 0100
      line({2, 0, 3, 0, 'O', 'K', 0x0D}),               // WAIT CHR "OK" CR
      line({4, 0, 2, 0, 'N', 'G'}, 10),                 // IF CHR "NG" L010
      line({7, 0, 3, 0, 100}),                          // SET REG3 000100
      line({3}, 1),                                     // GOTO L001
      line({Lbl}, 10),
      line({1, 0, 3, 0, 0xB4, 0xD7, 0xB0}),             // SEND CHR, half-width katakana
      line({11}),                                       // STOP
  };
  // clang-format on
  int index = 0;
  for (const vx::ProgramLine& entry : programA) {
    vx::storeLine(document.programArea, 0, index++, entry);
  }
  vx::storeLine(document.programArea, 1, 0, line({3}, 7));  // GOTO L007, not defined
  vx::setCursor(document.programArea, 0, 1);

  std::string why;
  if (vx::save(document, std::filesystem::path(argv[1]), &why) == -1) {
    std::fprintf(stderr, "vxsample: %s\n", why.c_str());
    return 1;
  }
  return 0;
}
