// Turns the command line's texts for one line into the twelve panel positions that the editor's
// field panel would hand to the encoder.
#pragma once

#include <array>
#include <span>
#include <string>

#include "catalogue/catalogue.h"
#include "catalogue/line_fields.h"

namespace vx {

struct LineEntry {
  std::array<PositionEntry, PositionCount> positions;
  // For each position, the 0-based index of the value that filled it; -1 for the kind
  // selector, captions and positions past the row.
  std::array<int, PositionCount> valueIndex{};
};

// Fills `entry` for the instruction and kind (kind 0 for instructions without kinds) from the
// values in layout order, captions skipped. Position 0 of SEND, WAIT, IF and SET holds the kind
// selection; a list position holds the selection of its entry; an editable list the text, with
// the selection of its word when the text is one; any other position its text. Missing values
// count as empty fields (list positions: their first entry). Returns an empty string, or a
// usage error when a list entry does not exist or there are too many values.
std::string buildLineEntry(int instruction, int kind, std::span<const std::string> values,
                           LineEntry& entry);

// What one field type expects on the command line, e.g. "byte(00-FF)" or "CLR|NOCLR".
std::string fieldShape(FieldType type);
// The values an instruction and kind take, e.g. "entry(0-99) +REG index(0-F|*)"; captions are
// shown as their fixed text in parentheses.
std::string rowShape(int instruction, int kind);
// "SEND CHR", "GOTO": the help-text names of an instruction and its kind.
std::string rowName(int instruction, int kind);

}  // namespace vx
