// Arbitrary bytes as a setup file: the load either fails and leaves the document as it was, or
// takes exactly the program block the chain leads to; then listing, label check and the line
// operations run on the loaded area, steered by whatever follows the program block.
#include <algorithm>
#include <cstring>
#include <memory>

#include "area_checks.h"
#include "fuzz_support.h"
#include "setupfile/setup_file.h"
#include "store/bytes.h"

namespace vx::fuzz {

std::vector<Bytes> seedInputs() {
  const ProgramArea area = sampleArea();
  ProgramArea empty;
  resetProgramArea(empty);
  const Bytes withTemplate = fileImage(DefaultSetupTemplate, area);
  Bytes withOperations = withTemplate;
  for (int k = 0; k < 64; ++k) {
    withOperations.push_back(static_cast<std::uint8_t>(k * 37 + 11));
  }
  Bytes magicOnly(SetupFileMagic.begin(), SetupFileMagic.end());
  return {
      fileImage(DefaultSetupTemplate, empty),
      withTemplate,
      withOperations,
      fileImage(magicOnly, area),
      fileImage({}, area),
      Bytes(DefaultSetupTemplate.begin(), DefaultSetupTemplate.end()),
  };
}

}  // namespace vx::fuzz

using namespace vx;
using namespace vx::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Bytes file(data, data + size);
  auto document = std::make_unique<SetupDocument>();
  initialise(*document);
  setCursor(document->programArea, 2, 77);
  const auto before = std::make_unique<SetupDocument>(*document);

  // The walk never leaves the file and steps from block to block as their lengths say.
  const std::vector<BlockInfo> chain = blockChain(file);
  for (std::size_t k = 0; k < chain.size(); ++k) {
    VX_FUZZ_CHECK(chain[k].offset + BlockHeaderSize <= size);
    VX_FUZZ_CHECK(chain[k].isProgramBlock == (k + 1 == chain.size() && chain[k].isProgramBlock));
    if (k > 0) {
      VX_FUZZ_CHECK(chain[k].offset == chain[k - 1].offset + BlockHeaderSize + chain[k - 1].length);
    }
  }

  LoadError why = LoadError::None;
  const int result = loadImage(*document, Bytes(file), &why);
  if (result == -1) {
    VX_FUZZ_CHECK(why != LoadError::None);
    VX_FUZZ_CHECK(document->image == before->image);
    VX_FUZZ_CHECK(document->setupLength == before->setupLength);
    VX_FUZZ_CHECK(std::memcmp(&document->programArea, &before->programArea, ProgramAreaSize) == 0);
    return 0;
  }

  VX_FUZZ_CHECK(why == LoadError::None);
  VX_FUZZ_CHECK(result >= 0 && result <= 255);
  VX_FUZZ_CHECK(result == characterCodeByte(file));
  VX_FUZZ_CHECK(!chain.empty() && chain.back().isProgramBlock);
  const std::size_t position = static_cast<std::size_t>(chain.back().offset);
  VX_FUZZ_CHECK(document->setupLength >= 0 &&
                static_cast<std::size_t>(document->setupLength) == position);
  VX_FUZZ_CHECK(position + BlockHeaderSize + ProgramAreaSize <= size);
  VX_FUZZ_CHECK(document->image == file);
  VX_FUZZ_CHECK(
      std::memcmp(&document->programArea, data + position + BlockHeaderSize, ProgramAreaSize) == 0);

  // What follows the program block, which a save drops, steers the operations.
  const std::size_t tail = position + BlockHeaderSize + ProgramAreaSize;
  InputReader input(data + tail, size - tail);
  exerciseArea(document->programArea, input, 64);
  // A save writes the kept part from the image: it must lie inside the image.
  VX_FUZZ_CHECK(static_cast<std::size_t>(document->setupLength) <= document->image.size());
  return 0;
}
