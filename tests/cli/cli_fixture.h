// Helpers for the command-line tests: a scratch directory, file bytes, setup files built with
// the core API, and runs of runVxprog with captured output.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
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

namespace vx::test {

// File offset of the program area in a file saved from the default template.
inline constexpr std::size_t DefaultAreaOffset = DefaultSetupTemplateSize + BlockHeaderSize;

// A directory of its own for each test, removed afterwards.
class ScratchDir {
 public:
  ScratchDir() {
    static std::atomic<int> counter{0};
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "vxprog-test-";
    name += info ? std::string(info->test_suite_name()) + "-" + info->name() : "x";
    for (char& c : name) {
      if (c == '/') c = '_';
    }
    dir_ = std::filesystem::temp_directory_path() / (name + "-" + std::to_string(++counter));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  std::filesystem::path operator/(const std::string& name) const { return dir_ / name; }
  const std::filesystem::path& path() const { return dir_; }

 private:
  std::filesystem::path dir_;
};

inline std::vector<std::uint8_t> readBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// A line from its leading bytes; the rest stays zero.
inline ProgramLine lineOf(std::initializer_list<int> bytes) {
  ProgramLine line;
  std::size_t i = 0;
  for (const int b : bytes) line.bytes[i++] = static_cast<std::uint8_t>(b);
  return line;
}

inline ProgramLine labelLine(int instruction, int label) {
  ProgramLine line;
  line.bytes[0] = static_cast<std::uint8_t>(instruction);
  writeU16(&line.bytes[12], static_cast<std::uint32_t>(label));
  return line;
}

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
