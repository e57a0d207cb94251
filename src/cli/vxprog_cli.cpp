#include "cli/vxprog_cli.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/char_codes.h"
#include "catalogue/line_fields.h"
#include "catalogue/listing.h"
#include "cli/cli_arguments.h"
#include "cli/line_entry.h"
#include "cli/text_commands.h"
#include "cli/text_encoding.h"
#include "setupfile/file_io.h"
#include "setupfile/setup_file.h"
#include "store/program_area.h"
#include "vx_version.h"

namespace vx {
namespace {

// How long a command waits for another process that is editing the same file.
constexpr std::chrono::milliseconds LockWait{10'000};

struct Invocation {
  std::vector<std::string> operands;
  std::map<std::string, std::string, std::less<>> options;  // name without "--"
  std::ostream& out;
  std::ostream& err;

  bool has(std::string_view option) const { return options.find(option) != options.end(); }
};

struct OptionSpec {
  std::string_view name;
  std::string_view valueName;  // empty for a flag
};

using CommandFunction = int (*)(Invocation&);

struct CommandSpec {
  std::string_view name;
  std::string_view synopsis;
  std::string_view summary;
  std::string_view details;
  std::span<const OptionSpec> options;
  std::size_t minOperands;
  std::size_t maxOperands;
  CommandFunction run;
};

int usageError(Invocation& inv, const std::string& message) {
  inv.err << "vxprog: " << message << '\n';
  return ExitError;
}

std::filesystem::path pathFromArgument(const std::string& argument) {
#ifdef _WIN32
  // Arguments arrive as UTF-8 from wmain; never through the ANSI code page.
  std::u8string utf8;
  utf8.reserve(argument.size());
  for (const char c : argument) utf8.push_back(static_cast<char8_t>(c));
  return std::filesystem::path(utf8);
#else
  return std::filesystem::path(argument);
#endif
}

std::optional<int> programOperand(Invocation& inv, const std::string& text) {
  const auto program = parseProgramName(text);
  if (!program) usageError(inv, "unknown program '" + text + "'; programs: A, B, C, D");
  return program;
}

std::string lineRange(const ProgramArea& area, int program) {
  const int count = lineCount(area, program);
  return count > 0 ? "0.." + std::to_string(count - 1) : "none";
}

std::optional<int> lineOperand(Invocation& inv, const ProgramArea& area, int program,
                               const std::string& text) {
  const auto index = parseLineIndex(text);
  if (!index && !isDecimalNumber(text)) {
    usageError(inv, "line '" + text + "' is not a number; program " + programName(program) +
                        ", lines: " + lineRange(area, program));
    return std::nullopt;
  }
  if (!index || *index >= lineCount(area, program)) {
    usageError(inv, "line '" + text + "' is outside program " + programName(program) +
                        "; lines: " + lineRange(area, program));
    return std::nullopt;
  }
  return index;
}

// Loads FILE; on failure reports it and leaves the document as it was. A command that will save
// the file passes `editLock`, which then holds the file exclusively until the save, so that
// concurrent edits take effect one after another; a reader holds a shared lock while it reads.
std::optional<int> loadFile(Invocation& inv, SetupDocument& document, const std::string& file,
                            FileLock* editLock = nullptr) {
  const auto path = pathFromArgument(file);
  FileLock readLock;
  std::string lockWhy;
  const LockStatus locked =
      lockFile(path, editLock != nullptr, LockWait, editLock ? *editLock : readLock, &lockWhy);
  // A reader reads even where the file system offers no locks.
  if (locked == LockStatus::NotRegularFile || locked == LockStatus::TimedOut ||
      (locked == LockStatus::Failed && editLock)) {
    inv.err << "vxprog: cannot load " << file << ": " << lockWhy << '\n';
    return std::nullopt;
  }
  LoadError why = LoadError::None;
  const int code = load(document, path, &why);
  if (code < 0) {
    inv.err << "vxprog: cannot load " << file << ": " << describe(why) << '\n';
    return std::nullopt;
  }
  return code;
}

int saveFile(Invocation& inv, SetupDocument& document, const std::string& file,
             FileLock* lock = nullptr) {
  std::string why;
  if (save(document, pathFromArgument(file), &why, lock) != 0) {
    inv.err << "vxprog: cannot save " << file << ": " << why << '\n';
    return ExitError;
  }
  return ExitSuccess;
}

// With --strict, a command refuses to write anything it has had to report as changed.
bool refusedAsStrict(Invocation& inv) {
  if (!inv.has("strict")) return false;
  inv.err << "vxprog: --strict: nothing written\n";
  return true;
}

std::string fourDigits(int index) {
  std::array<char, 16> text{};
  std::snprintf(text.data(), text.size(), "%04d", index);
  return text.data();
}

bool isEmptyLine(const ProgramLine& line) {
  return std::all_of(line.bytes.begin(), line.bytes.end(), [](std::uint8_t b) { return b == 0; });
}

// ---- new -----------------------------------------------------------------------------------

int runNew(Invocation& inv) {
  const std::string& file = inv.operands[0];
  const auto path = pathFromArgument(file);
  std::error_code error;
  const auto status = std::filesystem::symlink_status(path, error);
  if (status.type() != std::filesystem::file_type::not_found && !inv.has("force")) {
    return usageError(inv, file + " already exists; add --force to replace it");
  }
  FileLock lock;
  std::string why;
  const LockStatus locked = lockFile(path, true, LockWait, lock, &why);
  if (locked != LockStatus::Locked && locked != LockStatus::Missing) {
    inv.err << "vxprog: cannot save " << file << ": " << why << '\n';
    return ExitError;
  }
  SetupDocument document;
  initialise(document);
  return saveFile(inv, document, file, &lock);
}

// ---- info ----------------------------------------------------------------------------------

std::string tagText(const std::array<char, 4>& tag) {
  std::string text;
  for (const char c : tag) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F) {
      text += c;
    } else {
      text += "\\x";
      text += hexByteText(byte);
    }
  }
  return text;
}

int runInfo(Invocation& inv) {
  SetupDocument document;
  initialise(document);
  if (!loadFile(inv, document, inv.operands[0])) return ExitError;
  const std::span<const std::uint8_t> bytes(document.image);
  std::ostream& out = inv.out;
  out << "size: " << bytes.size() << " bytes\n";
  out << "magic: " << (hasMagic(bytes) ? "present" : "absent") << '\n';
  for (const BlockInfo& block : blockChain(bytes)) {
    out << "block " << tagText(block.tag) << " at " << block.offset << ", " << block.length
        << " bytes" << (block.isProgramBlock ? " (program block)" : "") << '\n';
  }
  out << "setup length: " << document.setupLength << '\n';
  const int code = characterCodeByte(bytes);
  out << "character code: " << code << ' ';
  if (code >= 0 && code < CharCodeCount) {
    out << charCodeName(normaliseCharCode(code)) << '\n';
  } else {
    out << "(no such code; shown as ASCII)\n";
  }
  const ProgramArea& area = document.programArea;
  for (int p = 0; p < ProgramCount; ++p) {
    out << "program " << programName(p) << ": start " << programStart(area, p) << ", "
        << lineCount(area, p) << " lines, cursor " << cursor(area, p) << '\n';
  }
  return ExitSuccess;
}

// ---- list ----------------------------------------------------------------------------------

int runList(Invocation& inv) {
  std::vector<int> programs = {0, 1, 2, 3};
  if (const auto option = inv.options.find("program"); option != inv.options.end()) {
    const auto program = programOperand(inv, option->second);
    if (!program) return ExitError;
    programs = {*program};
  }
  std::optional<CharCode> chosenCode;
  if (const auto option = inv.options.find("code"); option != inv.options.end()) {
    const auto names = namesOf(CharCodeNameList);
    const int code = findName(names, option->second, true);
    if (code < 0) {
      return usageError(
          inv, "unknown character code '" + option->second + "'; codes: " + joinNames(names));
    }
    chosenCode = normaliseCharCode(code);
  }
  SetupDocument document;
  initialise(document);
  const auto fileCode = loadFile(inv, document, inv.operands[0]);
  if (!fileCode) return ExitError;
  const CharCode code = chosenCode ? *chosenCode : normaliseCharCode(*fileCode);
  const bool showCharacters = inv.has("chars");
  const bool allLines = inv.has("all-lines");
  const bool rawBytes = inv.has("sjis");

  const ProgramArea& area = document.programArea;
  for (const int p : programs) {
    const int count = lineCount(area, p);
    inv.out << '[' << programName(p) << "] " << count << " lines, cursor " << cursor(area, p)
            << '\n';
    int shown = count;
    if (!allLines) {
      while (shown > 0 && isEmptyLine(*lineAt(area, p, shown - 1))) --shown;
    }
    for (int i = 0; i < shown; ++i) {
      ListingText buffer{};
      const std::string_view text = listingText(*lineAt(area, p, i), code, showCharacters, buffer);
      inv.out << fourDigits(i) << (rawBytes ? std::string(text) : sjisToUtf8(text)) << '\n';
    }
  }
  return ExitSuccess;
}

// ---- check, export, import ----------------------------------------------------------------

// The file access of the text commands. One that edits (import) holds the file locked from its
// load to its save, as the other editing commands do.
SetupFileAccess fileAccess(Invocation& inv, bool edits = false) {
  auto lock = std::make_shared<FileLock>();
  return {[&inv, lock, edits](SetupDocument& document, const std::string& file) {
            return loadFile(inv, document, file, edits ? lock.get() : nullptr);
          },
          [&inv, lock](SetupDocument& document, const std::string& file) {
            return saveFile(inv, document, file, lock->held() ? lock.get() : nullptr);
          },
          pathFromArgument};
}

// The program named by --program, -1 for all; nullopt after reporting an unknown name.
std::optional<int> programOption(Invocation& inv) {
  const auto option = inv.options.find("program");
  if (option == inv.options.end()) return -1;
  return programOperand(inv, option->second);
}

int runCheck(Invocation& inv) {
  const auto program = programOption(inv);
  if (!program) return ExitError;
  return checkFiles(fileAccess(inv), inv.operands, *program, inv.has("all"), inv.out);
}

int runExport(Invocation& inv) {
  const auto program = programOption(inv);
  if (!program) return ExitError;
  return exportPrograms(fileAccess(inv), inv.operands[0], *program, inv.out);
}

int runImport(Invocation& inv) {
  const auto program = programOption(inv);
  if (!program) return ExitError;
  const TextImportOptions options{*program, inv.has("strict")};
  return importPrograms(fileAccess(inv, true), inv.operands[0], inv.operands[1], options, std::cin,
                        inv.err);
}

// ---- set -----------------------------------------------------------------------------------

// Collects the encoder's corrections of the given values.
class CorrectionLog final : public FieldFeedback {
 public:
  struct Correction {
    int position;
    std::string text;
  };
  std::vector<Correction> corrections;

  void showPositionText(int, std::string_view) override {}
  void clearCharacterCell(int) override {}
  void valueReplaced(int position, std::string_view stored) override {
    corrections.push_back({position, std::string(stored)});
  }
};

int runSet(Invocation& inv) {
  const auto& operands = inv.operands;
  const auto program = programOperand(inv, operands[1]);
  if (!program) return ExitError;
  const int instruction = findName(InstructionHelpNames, operands[3], true);
  if (instruction < 0) {
    return usageError(inv, "unknown instruction '" + operands[3] +
                               "'; instructions: " + joinNames(InstructionHelpNames));
  }
  std::size_t firstValue = 4;
  int kind = 0;
  if (hasKinds(instruction)) {
    const auto kinds = namesOf(kindNameList(instruction));
    if (operands.size() <= 4) {
      return usageError(inv,
                        std::string(InstructionHelpNames[static_cast<std::size_t>(instruction)]) +
                            " needs a kind; kinds: " + joinNames(kinds));
    }
    kind = findName(kinds, operands[4], true);
    if (kind < 0) {
      return usageError(inv, "unknown kind '" + operands[4] + "' for " +
                                 InstructionHelpNames[static_cast<std::size_t>(instruction)] +
                                 "; kinds: " + joinNames(kinds));
    }
    firstValue = 5;
  }
  const std::span<const std::string> values = std::span(operands).subspan(firstValue);
  LineEntry entry;
  if (const std::string problem = buildLineEntry(instruction, kind, values, entry);
      !problem.empty()) {
    return usageError(inv, problem);
  }

  SetupDocument document;
  initialise(document);
  FileLock lock;
  const auto fileCode = loadFile(inv, document, operands[0], &lock);
  if (!fileCode) return ExitError;
  const auto index = lineOperand(inv, document.programArea, *program, operands[2]);
  if (!index) return ExitError;

  CorrectionLog log;
  const auto line = encodeLine(instruction, entry.positions, &log);
  for (const auto& correction : log.corrections) {
    const int value = entry.valueIndex[static_cast<std::size_t>(correction.position)];
    const std::string given =
        value >= 0 ? quotedText(values[static_cast<std::size_t>(value)]) : "empty";
    inv.err << "vxprog: value " << (value >= 0 ? value + 1 : 0) << " of "
            << rowName(instruction, kind) << " (" << given << ") replaced by " << correction.text
            << '\n';
  }
  if (!line) {
    inv.err << "vxprog: the value of " << rowName(instruction, kind)
            << " is neither a number nor one of its words (" << rowShape(instruction, kind)
            << "); nothing written\n";
    return ExitFailed;
  }
  if (!log.corrections.empty() && refusedAsStrict(inv)) return ExitFailed;
  storeLine(document.programArea, *program, *index, *line);
  if (const int saved = saveFile(inv, document, operands[0], &lock); saved != ExitSuccess) {
    return saved;
  }
  ListingText buffer{};
  inv.out << sjisToUtf8(listingText(*line, normaliseCharCode(*fileCode), false, buffer)) << '\n';
  return ExitSuccess;
}

// ---- insert, delete ------------------------------------------------------------------------

// Reports each non-empty line an insert, copy or move pushed off the end of `program`, with its
// former place; with --strict that refuses the command. True when the command goes on.
bool acceptPushedOff(Invocation& inv, const PushedOffLines& lines, int program, CharCode code) {
  for (const PushedOffLine& pushed : lines) {
    ListingText buffer{};
    const std::string_view text = listingText(pushed.line, code, false, buffer);
    inv.err << "vxprog: line " << pushed.formerIndex << " of program "
            << programName(pushed.program) << " (" << sjisToUtf8(text)
            << ") pushed off the end of program " << programName(program) << '\n';
  }
  return lines.empty() || !refusedAsStrict(inv);
}

int runInsertOrDelete(Invocation& inv, bool insert) {
  const auto program = programOperand(inv, inv.operands[1]);
  if (!program) return ExitError;
  SetupDocument document;
  initialise(document);
  FileLock lock;
  const auto fileCode = loadFile(inv, document, inv.operands[0], &lock);
  if (!fileCode) return ExitError;
  const auto index = lineOperand(inv, document.programArea, *program, inv.operands[2]);
  if (!index) return ExitError;
  if (insert) {
    PushedOffLines pushedOff;
    insertLine(document.programArea, *program, *index, nullptr, &pushedOff);
    if (!acceptPushedOff(inv, pushedOff, *program, normaliseCharCode(*fileCode))) return ExitFailed;
  } else {
    deleteLine(document.programArea, *program, *index);
  }
  return saveFile(inv, document, inv.operands[0], &lock);
}

int runInsert(Invocation& inv) { return runInsertOrDelete(inv, true); }
int runDelete(Invocation& inv) { return runInsertOrDelete(inv, false); }

// ---- copy, move ----------------------------------------------------------------------------

int runMoveOrCopy(Invocation& inv, bool move) {
  const auto source = programOperand(inv, inv.operands[1]);
  if (!source) return ExitError;
  const auto destination = programOperand(inv, inv.operands[3]);
  if (!destination) return ExitError;
  SetupDocument document;
  initialise(document);
  FileLock lock;
  const auto fileCode = loadFile(inv, document, inv.operands[0], &lock);
  if (!fileCode) return ExitError;
  ProgramArea& area = document.programArea;
  const LineListResult selected = parseLineList(inv.operands[2], lineCount(area, *source));
  if (!selected.error.empty()) {
    return usageError(inv, selected.error + " (program " + programName(*source) + ")");
  }
  const auto index = lineOperand(inv, area, *destination, inv.operands[4]);
  if (!index) return ExitError;
  if (selected.capped) {
    inv.err << "vxprog: only the first " << MaxSelectedLines << " lines are taken, up to line "
            << selected.lines.back() << '\n';
  }
  PushedOffLines pushedOff;
  moveCopyLines(area, *source, selected.lines, *destination, *index, move, &pushedOff);
  if (!acceptPushedOff(inv, pushedOff, *destination, normaliseCharCode(*fileCode)))
    return ExitFailed;
  return saveFile(inv, document, inv.operands[0], &lock);
}

int runCopy(Invocation& inv) { return runMoveOrCopy(inv, false); }
int runMove(Invocation& inv) { return runMoveOrCopy(inv, true); }

// ---- the command table and help ------------------------------------------------------------

constexpr std::array<OptionSpec, 1> NewOptions = {{{"force", ""}}};
constexpr std::array<OptionSpec, 5> ListOptions = {{
    {"program", "P"},
    {"code", "NAME"},
    {"chars", ""},
    {"all-lines", ""},
    {"sjis", ""},
}};
constexpr std::array<OptionSpec, 2> CheckOptions = {{{"program", "P"}, {"all", ""}}};
constexpr std::array<OptionSpec, 1> StrictOptions = {{{"strict", ""}}};
constexpr std::array<OptionSpec, 1> ExportOptions = {{{"program", "P"}}};
constexpr std::array<OptionSpec, 2> ImportOptions = {{{"program", "P"}, {"strict", ""}}};
constexpr std::size_t Unlimited = static_cast<std::size_t>(-1);

// clang-format off
constexpr std::array<CommandSpec, 11> Commands = {{
    {"new", "new FILE [--force]", "write a setup file with four empty programs",
     "Writes the default setup file: default settings and four empty programs of 512 lines\n"
     "(34,580 bytes). An existing FILE is replaced only with --force.\n",
     NewOptions, 1, 1, runNew},
    {"info", "info FILE", "show the structure of a setup file",
     "Shows whether the file begins with the magic, each block of the chain (tag, file offset,\n"
     "length), the setup length, the character code the settings select, and for each program\n"
     "its start slot, number of lines and cursor.\n",
     {}, 1, 1, runInfo},
    {"list", "list FILE [--program P] [--code NAME] [--chars] [--all-lines] [--sjis]",
     "print the programs line by line",
     "Prints each program (all four, or the one named by --program) as a header line\n"
     "'[A] 512 lines, cursor 0' followed by one line per program line: the index as four digits\n"
     "and the line's listing text. Empty lines after the last line in use are left out unless\n"
     "--all-lines is given.\n"
     "  --code NAME   character code for the data bytes: ASCII, EBCDIC, EBCDIK, JIS7, JIS8, HEX,\n"
     "                EBCD, TRANSCODE, IPARS or BAUDOT (either case); default: the file's\n"
     "  --chars       show data bytes as characters instead of hexadecimal digits\n"
     "  --sjis        write the raw Shift-JIS bytes instead of UTF-8\n",
     ListOptions, 1, 1, runList},
    {"check", "check FILE... [--program P] [--all]", "check the labels of the programs",
     "Prints one line per program: 'A: ok', 'A: line 20: label 5 defined twice' or\n"
     "'A: line 3: label 7 not defined'; with --all every inconsistency of a program, further\n"
     "definitions first. With several files each line begins with the file's name and ': '.\n"
     "Exit status 0 when every checked program is consistent, 1 otherwise, 2 when a file\n"
     "cannot be loaded.\n",
     CheckOptions, 1, Unlimited, runCheck},
    {"export", "export FILE [--program P]", "write the programs as text",
     "Writes the programs (all four, or the one named by --program) as text to standard output:\n"
     "a comment line with FILE's name, then per program its header [A] and its lines from\n"
     "line 0 up to the last line that is not empty, one per text line. A line is written as its\n"
     "listing text with the data bytes in hexadecimal ('SEND CHR 41 54 5a 0d',\n"
     "'IF REG1<REG2 L003'), or as '.raw' and its 16 bytes when that text would not give back\n"
     "the same bytes.\n",
     ExportOptions, 1, 1, runExport},
    {"import", "import FILE TEXT [--program P] [--strict]", "replace programs by a text",
     "Reads TEXT (a file, or - for standard input) as export writes it: '#' starts a comment,\n"
     "blank lines are skipped, [A] to [D] start a program, every other line is one program line\n"
     "(blanks between words may be one or more; names and words in either case). Each program\n"
     "with a section gets the section's lines and empty lines after them; other programs, the\n"
     "program lengths and the cursors stay as they are. With --program only that program's\n"
     "section is taken, and a text without any header is that program's lines. With --strict\n"
     "the imported programs must also pass the label check. Nothing is ever corrected: every\n"
     "line that does not parse, value outside its field, unknown or repeated section, section\n"
     "longer than its program and bad .raw line is reported as TEXT:LINE: what is wrong, and\n"
     "FILE is left as it was (exit status 2).\n",
     ImportOptions, 2, 2, runImport},
    {"set", "set FILE P LINE INSTRUCTION [KIND] [VALUE...] [--strict]", "store one line",
     "Encodes the line as the editor's field panel does and stores it at LINE of program P.\n"
     "INSTRUCTION is NOP, SEND, WAIT, GOTO, IF, CALL, RET, SET, INT, RETI, DISI, STOP or LBL;\n"
     "SEND, WAIT, IF and SET take a KIND. The VALUEs fill the line's fields in order; missing\n"
     "values are empty fields (a list takes its first entry). A value the instrument cannot take\n"
     "is replaced (by the field's minimum, or cut to its digits or range) and each replacement\n"
     "is reported on stderr. Prints the stored line's listing text. Exit status 1, with nothing\n"
     "written, when a register, timer or counter value is neither a number nor one of its words\n"
     "(which are matched exactly).\n"
     "  --strict   refuse (exit status 1, nothing written) instead of replacing a value\n",
     StrictOptions, 4, Unlimited, runSet},
    {"insert", "insert FILE P LINE [--strict]", "insert an empty line",
     "Inserts an empty line at LINE of program P; the program's last line falls off, and is\n"
     "reported on stderr unless it is empty.\n"
     "  --strict   refuse (exit status 1, nothing written) instead of losing a non-empty line\n",
     StrictOptions, 3, 3, runInsert},
    {"delete", "delete FILE P LINE", "delete a line",
     "Deletes LINE of program P; an empty line enters at the program's end.\n",
     {}, 3, 3, runDelete},
    {"copy", "copy FILE P LINES Q LINE [--strict]", "copy lines to another place",
     "Copies the LINES of program P to LINE of program Q. LINES is a comma list of indices and\n"
     "ranges (2,5,7-9); duplicates are ignored and at most the first 256 lines are taken.\n"
     "The destination program's last lines fall off; each non-empty one is reported on stderr\n"
     "with its former place.\n"
     "  --strict   refuse (exit status 1, nothing written) instead of losing a non-empty line\n",
     StrictOptions, 5, 5, runCopy},
    {"move", "move FILE P LINES Q LINE [--strict]", "move lines to another place",
     "Moves the LINES of program P to LINE of program Q, as copy does, and removes them from P.\n"
     "  --strict   refuse (exit status 1, nothing written) instead of losing a non-empty line\n",
     StrictOptions, 5, 5, runMove},
}};
// clang-format on

constexpr std::string_view HelpExamples =
    "\nexamples:\n"
    "  vxprog new demo.su                          a setup file with four empty programs\n"
    "  vxprog set demo.su A 0 SEND CHR 41 54 0D    line 0 of program A sends \"AT\" and CR\n"
    "  vxprog set demo.su A 1 WAIT TM 500          then waits 500\n"
    "  vxprog set demo.su A 2 GOTO 1               and jumps to label 1,\n"
    "  vxprog set demo.su A 3 LBL 1                which line 3 defines\n"
    "  vxprog list demo.su --program A --chars     program A with its data as characters\n"
    "  vxprog copy demo.su A 0-2 B 10              lines 0 to 2 of A to line 10 of B\n"
    "  vxprog check demo.su                        exit status 1 when a label is inconsistent\n";

void printGlobalHelp(std::ostream& out) {
  out << "usage: vxprog COMMAND ARGUMENTS...\n"
         "Lists, checks and edits the programs A-D of a setup file (.su, .sp).\n\ncommands:\n";
  for (const CommandSpec& command : Commands) {
    out << "  " << command.synopsis << "\n      " << command.summary << '\n';
  }
  out << "\nPrograms are A-D (either case); lines are counted from 0 within a program.\n"
         "Exit status: 0 done; 1 the label check failed, set could not encode its line, or\n"
         "--strict refused a change; 2 usage error, a file could not be loaded or saved, or a\n"
         "text to import has errors.\n"
         "A command that changes a file holds it locked from load to save; another one waits up\n"
         "to 10 seconds for it.\n"
         "'vxprog COMMAND --help' (or 'vxprog help COMMAND') describes one command.\n"
      << HelpExamples;
}

void printSetShapes(std::ostream& out) {
  out << "\nValues per instruction and kind:\n";
  for (int instruction = 0; instruction < InstructionCount; ++instruction) {
    const int kinds = hasKinds(instruction) ? kindCount(instruction) : 1;
    for (int kind = 0; kind < kinds; ++kind) {
      std::string name = rowName(instruction, kind);
      name.resize(std::max<std::size_t>(name.size(), 10), ' ');
      out << "  " << name << ' ' << rowShape(instruction, kind) << '\n';
    }
  }
}

void printCommandHelp(std::ostream& out, const CommandSpec& command) {
  out << "usage: vxprog " << command.synopsis << "\n\n" << command.details;
  if (command.run == runSet) printSetShapes(out);
}

std::string optionList(const CommandSpec& command) {
  std::string list;
  for (const OptionSpec& option : command.options) {
    list += list.empty() ? "--" : ", --";
    list += option.name;
    if (!option.valueName.empty()) {
      list += ' ';
      list += option.valueName;
    }
  }
  list += list.empty() ? "--help" : ", --help";
  return list;
}

}  // namespace

int runVxprog(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << "vxprog: no command; commands: new, info, list, check, export, import, set, insert, "
           "delete, copy, move (vxprog --help describes them)\n";
    return ExitError;
  }
  if (args[0] == "--version") {
    out << "vxprog " << VX_VERSION << '\n';
    return ExitSuccess;
  }
  // "-h" and "help" stand for "--help"; "help COMMAND" for "COMMAND --help".
  const bool help = args[0] == "--help" || args[0] == "-h" || args[0] == "help";
  const std::string& commandName = help && args.size() > 1 ? args[1] : args[0];
  if (help && args.size() == 1) {
    printGlobalHelp(out);
    return ExitSuccess;
  }
  const auto command = std::find_if(Commands.begin(), Commands.end(),
                                    [&](const CommandSpec& c) { return c.name == commandName; });
  if (help && command != Commands.end()) {
    printCommandHelp(out, *command);
    return ExitSuccess;
  }
  Invocation inv{{}, {}, out, err};
  if (command == Commands.end()) {
    std::vector<const char*> names;
    for (const CommandSpec& c : Commands) names.push_back(c.name.data());
    return usageError(inv, "unknown command '" + commandName + "'; commands: " + joinNames(names));
  }

  bool optionsEnded = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!optionsEnded && arg == "-h") {
      printCommandHelp(out, *command);
      return ExitSuccess;
    }
    if (optionsEnded || arg.size() <= 2 || arg.compare(0, 2, "--") != 0) {
      if (!optionsEnded && arg == "--") {
        optionsEnded = true;
      } else {
        inv.operands.push_back(arg);
      }
      continue;
    }
    const std::size_t equals = arg.find('=');
    const std::string name =
        arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
    if (name == "help") {
      printCommandHelp(out, *command);
      return ExitSuccess;
    }
    const auto option = std::find_if(command->options.begin(), command->options.end(),
                                     [&](const OptionSpec& o) { return o.name == name; });
    if (option == command->options.end()) {
      return usageError(inv, "unknown option '--" + name + "' for " + std::string(command->name) +
                                 "; options: " + optionList(*command));
    }
    std::string value;
    if (option->valueName.empty()) {
      if (equals != std::string::npos) {
        return usageError(inv, "option --" + name + " takes no value");
      }
    } else if (equals != std::string::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      return usageError(inv,
                        "option --" + name + " needs a value " + std::string(option->valueName));
    }
    inv.options[name] = value;
  }
  if (inv.operands.size() < command->minOperands || inv.operands.size() > command->maxOperands) {
    return usageError(
        inv, std::string(inv.operands.size() < command->minOperands ? "too few" : "too many") +
                 " arguments for " + std::string(command->name) + "; usage: vxprog " +
                 std::string(command->synopsis));
  }
  return command->run(inv);
}

}  // namespace vx
