#include "cli/text_commands.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "cli/vxprog_cli.h"
#include "store/program_area.h"

namespace vx {
namespace {

std::vector<int> chosenPrograms(int program) {
  if (program >= 0) return {program};
  return {0, 1, 2, 3};
}

}  // namespace

int exportPrograms(const SetupFileAccess& files, const std::string& file, int program,
                   std::ostream& out) {
  SetupDocument document;
  initialise(document);
  if (!files.load(document, file)) return ExitError;
  // The file's name without its folder: git hands a textconv command a copy of the committed file
  // under the same name in a folder of its own, so both sides of a diff begin alike.
  const std::u8string name = files.path(file).filename().u8string();
  out << writeProgramText(document.programArea,
                          "vxprog export of " + std::string(name.begin(), name.end()),
                          chosenPrograms(program));
  return ExitSuccess;
}

int importPrograms(const SetupFileAccess& files, const std::string& file,
                   const std::string& textArgument, const TextImportOptions& options,
                   std::istream& in, std::ostream& err) {
  const bool fromInput = textArgument == "-";
  const std::string textName = fromInput ? "<stdin>" : textArgument;
  std::string text;
  if (fromInput) {
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } else {
    std::ifstream stream(files.path(textArgument), std::ios::binary);
    if (!stream) {
      err << "vxprog: cannot read " << textName << '\n';
      return ExitError;
    }
    text.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    if (stream.bad()) {
      err << "vxprog: cannot read " << textName << '\n';
      return ExitError;
    }
  }

  SetupDocument document;
  initialise(document);
  if (!files.load(document, file)) return ExitError;
  const std::vector<TextProblem> problems =
      importProgramText(document.programArea, readProgramText(text), options);
  if (!problems.empty()) {
    for (const TextProblem& problem : problems) {
      err << textName << ':';
      if (problem.line > 0) err << problem.line << ':';
      err << ' ' << problem.message << '\n';
    }
    err << "vxprog: " << file << " left as it was\n";
    return ExitError;
  }
  return files.save(document, file);
}

int checkFiles(const SetupFileAccess& files, std::span<const std::string> fileArguments,
               int program, bool all, std::ostream& out) {
  bool unloadable = false;
  bool inconsistent = false;
  for (const std::string& file : fileArguments) {
    SetupDocument document;
    initialise(document);
    if (!files.load(document, file)) {
      unloadable = true;
      continue;
    }
    const std::string prefix = fileArguments.size() > 1 ? file + ": " : std::string();
    const ProgramArea& area = document.programArea;
    for (const int p : chosenPrograms(program)) {
      const std::string head = prefix + programName(p) + ": ";
      std::vector<LabelInconsistency> found = labelInconsistencies(area, p);
      if (found.empty()) {
        out << head << "ok\n";
        continue;
      }
      inconsistent = true;
      if (!all) found.resize(1);
      for (const LabelInconsistency& inconsistency : found) {
        out << head << "line " << inconsistency.index << ": "
            << describeLabelInconsistency(area, p, inconsistency) << '\n';
      }
    }
  }
  if (unloadable) return ExitError;
  return inconsistent ? ExitFailed : ExitSuccess;
}

}  // namespace vx
