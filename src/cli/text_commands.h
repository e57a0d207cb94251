// The commands that treat programs as text, export and import, and the label check over several
// files. They reach setup files through the tool's own load and save, so that every command reads
// and writes files the same way.
#pragma once

#include <filesystem>
#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <span>
#include <string>

#include "catalogue/program_text.h"
#include "setupfile/setup_file.h"

namespace vx {

struct SetupFileAccess {
  // Loads the file into the document; on failure reports it and gives nullopt. Else the
  // character code byte of the file's settings.
  std::function<std::optional<int>(SetupDocument&, const std::string&)> load;
  // Saves the document to the file; ExitSuccess, or the exit status after reporting the failure.
  std::function<int(SetupDocument&, const std::string&)> save;
  // The path a file argument names.
  std::function<std::filesystem::path(const std::string&)> path;
};

// Writes the text of the programs of FILE (all four, or `program` 0..3) to `out`, after a comment
// line with the file's name.
int exportPrograms(const SetupFileAccess& files, const std::string& file, int program,
                   std::ostream& out);

// Reads the text (a path, or "-" for `in`) and imports it into FILE; every problem is reported as
// `TEXT:LINE: what is wrong` and nothing is written (ExitError).
int importPrograms(const SetupFileAccess& files, const std::string& file,
                   const std::string& textArgument, const TextImportOptions& options,
                   std::istream& in, std::ostream& err);

// Checks the labels of every file: one line per program ('A: ok', 'A: line 20: label 5 defined
// twice'), with `all` every inconsistency of a program; each line begins with 'FILE: ' when more
// than one file is given. ExitError when a file cannot be loaded, else ExitFailed when a label is
// inconsistent.
int checkFiles(const SetupFileAccess& files, std::span<const std::string> fileArguments,
               int program, bool all, std::ostream& out);

}  // namespace vx
