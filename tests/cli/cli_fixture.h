// Helpers for the command-line tests: setup files built with the core API and runs of runVxprog
// with captured output; folders, file bytes and lines come from tests/support.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cli/vxprog_cli.h"
#include "setupfile/setup_file.h"
#include "store/bytes.h"
#include "store/program_area.h"
#include "support/files.h"
#include "support/lines.h"

namespace vx::test {

// File offset of the program area in a file saved from the default template.
inline constexpr std::size_t DefaultAreaOffset = DefaultSetupTemplateSize + BlockHeaderSize;

// Writes a default document, changed by `edit`, with the core's save.
inline void writeSetupFile(const std::filesystem::path& path,
                           const std::function<void(SetupDocument&)>& edit = {}) {
  SetupDocument document;
  initialise(document);
  if (edit) edit(document);
  ASSERT_EQ(save(document, path), 0) << path;
}

// The 16 bytes of a line as stored in a file saved from the default template.
inline std::vector<std::uint8_t> storedLine(const std::vector<std::uint8_t>& file, int slot) {
  const std::size_t at =
      DefaultAreaOffset + AreaHeaderSize + static_cast<std::size_t>(slot) * LineSize;
  if (file.size() < at + LineSize) return {};
  return {file.begin() + static_cast<std::ptrdiff_t>(at),
          file.begin() + static_cast<std::ptrdiff_t>(at + LineSize)};
}

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

inline RunResult runCli(const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  RunResult result;
  result.exitCode = runVxprog(args, out, err);
  result.out = out.str();
  result.err = err.str();
  return result;
}

}  // namespace vx::test
