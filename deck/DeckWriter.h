#pragma once
// EnregistrerDonnees: the live case written as an input deck.
#include <stdexcept>
#include <string>

#include "model/Session.h"

namespace velta {

// Raised when the deck file cannot be written; carries the system's message.
class FileWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The deck text of the case (imperial copy), lines ended by CR LF. `slot` is
// the tab slot whose dam name goes on the title card; `nbCenter` the centre
// count shown by the geometry editor. Throws ConversionError for a cell that
// must be a number and is not.
std::string composeDeck(const CaseModel& m, int slot, int nbCenter);

// Writes the live case to `path`. Asks for the dam name first when the
// current slot has none. The file is replaced only once the whole deck is
// written: on any failure the previous file stays as it was. Throws
// ConversionError or FileWriteError.
void EnregistrerDonnees(Session& s, const std::string& path);

// Writes `bytes` to `path` through a temporary file renamed at the end.
// Throws FileWriteError with the system's message.
void writeFileAtomically(const std::string& path, const std::string& bytes);

}  // namespace velta
