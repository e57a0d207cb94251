// How fast the core is on its largest inputs: a full 2048-line area listed in every character
// code, encoding of every row shape, value parsing, the label check's worst case, and loading and
// saving a setup file of the largest accepted size.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/char_codes.h"
#include "catalogue/line_fields.h"
#include "catalogue/listing.h"
#include "catalogue/value_parsing.h"
#include "setupfile/setup_file.h"
#include "store/bytes.h"
#include "store/program_area.h"

namespace vx {
namespace {

using Positions = std::array<PositionEntry, PositionCount>;

// A valid text for each field type, so that every position of a row takes its busiest path.
// Data positions hold a byte whose display string is a character in most codes.
void fillPosition(FieldType type, PositionEntry& entry, int dataIndex) {
  switch (type) {
    case FieldType::CharByte:
    case FieldType::EntryByte:
    case FieldType::PatternByte:
      entry.text = HexFallback[static_cast<std::size_t>(0x41 + dataIndex)].data();
      break;
    case FieldType::LabelNumber:
      entry.text = "123";
      break;
    case FieldType::WaitTime:
      entry.text = "1500";
      break;
    case FieldType::RegisterValue:
    case FieldType::TimerValue:
    case FieldType::CounterValue:
      entry.text = "999999";
      break;
    case FieldType::TriggerNumber:
      entry.text = "2";
      break;
    case FieldType::EntryNumber:
      entry.text = "42";
      break;
    case FieldType::ClearSelect:
    case FieldType::OutputLineSelect:
    case FieldType::SignalLineSelect:
    case FieldType::CompareSelect:
      entry.selection = 1;
      break;
    default:
      entry.text = "1";
      break;
  }
}

struct RowShape {
  int instruction;
  int kind;
  std::string name;
  Positions positions;
};

// Every instruction and kind with a layout row, with texts in all its positions.
std::vector<RowShape> allRowShapes() {
  std::vector<RowShape> shapes;
  for (int instruction = 0; instruction < InstructionCount; ++instruction) {
    const int kinds = hasKinds(instruction) ? kindCount(instruction) : 1;
    for (int kind = 0; kind < kinds; ++kind) {
      RowShape shape{
          instruction, kind, InstructionHelpNames[static_cast<std::size_t>(instruction)], {}};
      if (hasKinds(instruction)) {
        shape.name += ' ';
        shape.name += kindNameList(instruction)[static_cast<std::size_t>(kind)];
        shape.positions[0].selection = kind;
      }
      int dataIndex = 0;
      for (int p = 0; p < PositionCount; ++p) {
        const FieldType type = fieldTypeAt(instruction, kind, p);
        if (type == FieldType::End) break;
        if (type == FieldType::KindSelect) continue;
        fillPosition(type, shape.positions[static_cast<std::size_t>(p)], dataIndex);
        if (isDataPosition(instruction, kind, p)) ++dataIndex;
      }
      shapes.push_back(std::move(shape));
    }
  }
  return shapes;
}

// One program of all 2048 slots, so that a single program covers the whole area.
void makeOneProgramOfAllSlots(ProgramArea& area) {
  resetProgramArea(area);
  for (int p = 1; p <= ProgramCount; ++p) {
    writeU16(&area.header[4 + 4 * static_cast<std::size_t>(p)], SlotCount);
  }
}

// The area with every row shape in turn, data rows carrying all eight bytes.
const ProgramArea& busyArea() {
  static const ProgramArea area = [] {
    ProgramArea a{};
    makeOneProgramOfAllSlots(a);
    const std::vector<RowShape> shapes = allRowShapes();
    for (int i = 0; i < SlotCount; ++i) {
      const RowShape& shape = shapes[static_cast<std::size_t>(i) % shapes.size()];
      if (const auto line = encodeLine(shape.instruction, shape.positions, nullptr)) {
        storeLine(a, 0, i, *line);
      }
    }
    return a;
  }();
  return area;
}

void BM_DecodeArea(benchmark::State& state) {
  const ProgramArea& area = busyArea();
  for (auto _ : state) {
    for (int i = 0; i < SlotCount; ++i) {
      benchmark::DoNotOptimize(decodeLine(*lineAt(area, 0, i)));
    }
  }
  state.SetItemsProcessed(state.iterations() * SlotCount);
}
BENCHMARK(BM_DecodeArea);

// What a re-list costs in the core: the text of each of the 2048 lines, one reused buffer.
void BM_ListArea(benchmark::State& state) {
  const ProgramArea& area = busyArea();
  const CharCode code = normaliseCharCode(static_cast<int>(state.range(0)));
  const bool showCharacters = state.range(1) != 0;
  state.SetLabel(std::string(charCodeName(code)) + (showCharacters ? " chars" : " hex"));
  ListingText buffer{};
  for (auto _ : state) {
    for (int i = 0; i < SlotCount; ++i) {
      benchmark::DoNotOptimize(listingText(*lineAt(area, 0, i), code, showCharacters, buffer));
    }
  }
  state.SetItemsProcessed(state.iterations() * SlotCount);
}
BENCHMARK(BM_ListArea)->ArgsProduct({benchmark::CreateDenseRange(0, CharCodeCount - 1, 1), {1}});
BENCHMARK(BM_ListArea)->Args({0, 0});

void BM_EncodeLine(benchmark::State& state, const RowShape& shape) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(encodeLine(shape.instruction, shape.positions, nullptr));
  }
}

struct ParseCase {
  const char* name;
  const char* text;
  int radix, digits;
  std::uint32_t minimum, maximum;
  TokenMode mode;
};
// clang-format off
constexpr std::array<ParseCase, 7> ParseCases = {{
  {"data byte",        "4F",     16, 2, 0, 255,    TokenMode::None},
  {"label tail",       "1234",   10, 3, 0, 999,    TokenMode::None},
  {"wait time",        "9999",   10, 4, 1, 9999,   TokenMode::None},
  {"register value",   "999999", 10, 6, 0, 999999, TokenMode::RegisterWords},
  {"timer word",       "RSTART", 10, 6, 1, 999999, TokenMode::TimerWords},
  {"pattern flag",     "|>",     16, 2, 0, 255,    TokenMode::PatternMarks},
  {"invalid",          "12a",    10, 3, 0, 999,    TokenMode::None},
}};
// clang-format on

void BM_ParseFieldValue(benchmark::State& state, const ParseCase& c) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        parseFieldValue(c.text, c.radix, c.digits, c.minimum, c.maximum, c.mode));
  }
}

// The check's worst case: 1024 distinct LBL lines, then 1024 jumps to the last of them, so both
// passes scan the whole table for every line.
void BM_CheckLabelsWorstCase(benchmark::State& state) {
  ProgramArea area{};
  makeOneProgramOfAllSlots(area);
  constexpr int Half = SlotCount / 2;
  for (int i = 0; i < SlotCount; ++i) {
    ProgramLine line{};
    line.bytes[0] = static_cast<std::uint8_t>(i < Half ? Instruction::Lbl : Instruction::Goto);
    writeU16(&line.bytes[12], static_cast<std::uint32_t>(i < Half ? i : Half - 1));
    storeLine(area, 0, i, line);
  }
  if (checkLabels(area, 0) != -1) state.SkipWithError("the worst case is not consistent");
  for (auto _ : state) {
    benchmark::DoNotOptimize(checkLabels(area, 0));
  }
}
BENCHMARK(BM_CheckLabelsWorstCase);

// A setup file of the largest accepted size: the default settings, a filler block and the
// program block at its very end, so that a save writes the whole file again.
class LargeFile {
 public:
  LargeFile() {
    const char* dir = std::getenv("VX_BENCH_DIR");
    std::error_code ignored;
    folder_ = std::filesystem::path(dir ? dir : std::filesystem::temp_directory_path(ignored)) /
              ("vx-core-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_, ignored);
    path_ = folder_ / "large.su";
    SetupDocument document;
    initialise(document);
    const std::size_t filler = MaxSetupFileSize - DefaultSetupTemplateSize - BlockHeaderSize -
                               BlockHeaderSize - ProgramAreaSize;
    SetupImage& image = document.image;
    image.resize(MaxSetupFileSize - BlockHeaderSize - ProgramAreaSize);
    const std::array<std::uint8_t, 4> tag = {'F', 'I', 'L', 'L'};
    std::copy(tag.begin(), tag.end(), image.begin() + DefaultSetupTemplateSize);
    writeU32(&image[DefaultSetupTemplateSize + 4], static_cast<std::uint32_t>(filler));
    for (std::size_t i = DefaultSetupTemplateSize + BlockHeaderSize; i < image.size(); ++i) {
      image[i] = static_cast<std::uint8_t>(i * 2654435761u >> 24);
    }
    document.setupLength = static_cast<std::int32_t>(image.size());
    ok_ = save(document, path_) == 0 && std::filesystem::file_size(path_) == MaxSetupFileSize;
  }
  ~LargeFile() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }
  bool ok() const { return ok_; }

 private:
  std::filesystem::path folder_;
  std::filesystem::path path_;
  bool ok_ = false;
};

const LargeFile& largeFile() {
  static const LargeFile file;
  return file;
}

// Each iteration loads into a fresh document, as a process start does.
void BM_LoadLargeFile(benchmark::State& state) {
  if (!largeFile().ok()) {
    state.SkipWithError("cannot write the large setup file");
    return;
  }
  for (auto _ : state) {
    SetupDocument document;
    initialise(document);
    if (load(document, largeFile().path()) < 0) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(document.image.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(MaxSetupFileSize));
}
BENCHMARK(BM_LoadLargeFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SaveLargeFile(benchmark::State& state) {
  if (!largeFile().ok()) {
    state.SkipWithError("cannot write the large setup file");
    return;
  }
  SetupDocument document;
  initialise(document);
  if (load(document, largeFile().path()) < 0) {
    state.SkipWithError("load failed");
    return;
  }
  const std::filesystem::path copy = largeFile().path().parent_path() / "saved.su";
  for (auto _ : state) {
    if (save(document, copy) != 0) state.SkipWithError("save failed");
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(MaxSetupFileSize));
}
BENCHMARK(BM_SaveLargeFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// The row shapes and parse cases are registered by name, one benchmark each.
[[maybe_unused]] const bool registered = [] {
  static const std::vector<RowShape> shapes = allRowShapes();
  for (const RowShape& shape : shapes) {
    benchmark::RegisterBenchmark(("BM_EncodeLine/" + shape.name).c_str(), BM_EncodeLine, shape);
  }
  for (const ParseCase& c : ParseCases) {
    benchmark::RegisterBenchmark((std::string("BM_ParseFieldValue/") + c.name).c_str(),
                                 BM_ParseFieldValue, c);
  }
  return true;
}();

}  // namespace
}  // namespace vx

BENCHMARK_MAIN();
