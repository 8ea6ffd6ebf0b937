#pragma once
// LectureDonnees: reads an input deck into the editors' state as a user
// would type it, then runs the editors' validations and commits.
#include <stdexcept>
#include <string>
#include <string_view>

#include "deck/DeckWriter.h"
#include "forms/CaseEditors.h"

namespace velta {

// `accepted` is in/out: the caller sets it to true; it is false afterwards
// when the deck, or one of its face tables, was refused, and also when the
// call ends with an exception. Throws ConversionError or FileReadError on an
// unreadable file, a field that must be a number and is not, or a deck that
// the case model cannot hold. The unit system in use is kept in every case.
void LectureDonnees(CaseEditors& s, bool& accepted, const std::string& path);

// The same, on the bytes of a deck already in memory.
void LectureDonneesBytes(CaseEditors& s, bool& accepted, std::string_view bytes);

// EnregistrerDonnees on the case the editors hold: the live slot, with the
// centre count the geometry editor shows.
inline void EnregistrerDonnees(CaseEditors& s, const std::string& path)
{
    EnregistrerDonnees(s.model, s.currentSlot(), s.geo.NbCenterEdit, s.prompter, path);
}

class FileReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A deck that describes more than the case model can hold.
class DeckFormatError : public FileReadError {
public:
    using FileReadError::FileReadError;
};

} // namespace velta
