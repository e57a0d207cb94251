// Runs a fuzz target without libFuzzer: on its seed inputs, then on every file named on the
// command line or found below a named folder (the committed regression inputs). With
// --write-seeds FOLDER it writes the seed inputs there instead, as a starting corpus.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "fuzz_support.h"

namespace fs = std::filesystem;
using vx::fuzz::Bytes;

namespace {

void runOne(const Bytes& input) { LLVMFuzzerTestOneInput(input.data(), input.size()); }

Bytes readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string_view(argv[1]) == "--write-seeds") {
    return vx::fuzz::writeSeeds(argv[2]) ? 0 : 1;
  }
  std::size_t count = 0;
  for (const Bytes& seed : vx::fuzz::seedInputs()) {
    runOne(seed);
    ++count;
  }
  for (int i = 1; i < argc; ++i) {
    const fs::path named = argv[i];
    if (fs::is_directory(named)) {
      for (const auto& entry : fs::recursive_directory_iterator(named)) {
        if (entry.is_regular_file()) {
          runOne(readFile(entry.path()));
          ++count;
        }
      }
    } else if (fs::is_regular_file(named)) {
      runOne(readFile(named));
      ++count;
    }
  }
  std::printf("%zu inputs passed\n", count);
  return 0;
}
