// In a libFuzzer build: VX_FUZZ_WRITE_SEEDS=FOLDER makes the target write its seed inputs into
// FOLDER and exit, so that a run can start from a corpus made by our own code.
#include <cstdlib>

#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (const char* folder = std::getenv("VX_FUZZ_WRITE_SEEDS")) {
    std::exit(vx::fuzz::writeSeeds(folder) ? 0 : 1);
  }
  return 0;
}
