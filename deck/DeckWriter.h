#pragma once
// EnregistrerDonnees: the live case written as an input deck.
#include <stdexcept>
#include <string>

#include "model/FileWriter.h"
#include "model/Numbers.h"
#include "model/CaseModel.h"
#include "model/Messages.h"

namespace velta {

// A value that the deck's columns cannot carry: written, it would be read
// back as another value. The message names the value and where it stands.
class DeckValueError : public ConversionError {
public:
    using ConversionError::ConversionError;
};

// The deck text of the case (imperial copy), lines ended by CR LF. `slot` is
// the tab slot whose dam name goes on the title card; `nbCenter` the centre
// count shown by the geometry editor. Throws ConversionError for a cell that
// must be a number and is not, and DeckValueError for a value too wide for
// its columns: every deck it returns reads back to the same values.
std::string composeDeck(const CaseModel& m, int slot, int nbCenter);

// Writes the case `m` of tab slot `slot` to `path`. Asks for the dam name
// through `prompter` first when the slot has none. The file is replaced only once the whole deck is
// written: on any failure the previous file stays as it was. Throws
// ConversionError or FileWriteError.
void EnregistrerDonnees(CaseModel& m, int slot, int nbCenter, Prompter& prompter, const std::string& path);

}  // namespace velta
