#pragma once
// EnregistrerDonnees: the live case written as an input deck.
#include <stdexcept>
#include <string>

#include "model/FileWriter.h"
#include "model/Session.h"

namespace velta {

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

}  // namespace velta
