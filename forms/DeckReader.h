#pragma once
// LectureDonnees: reads an input deck into the editors' state as a user
// would type it, then runs the editors' validations and commits.
#include <stdexcept>
#include <string>
#include <string_view>

#include "app/shell/Session.h"

namespace velta {

// `accepted` is in/out: the caller sets it to true; it is false afterwards
// when the deck, or one of its face tables, was refused, and also when the
// call ends with an exception. Throws ConversionError or FileReadError on an
// unreadable file, a field that must be a number and is not, or a deck that
// the case model cannot hold. The unit system in use is kept in every case.
void LectureDonnees(Session& s, bool& accepted, const std::string& path);

// The same, on the bytes of a deck already in memory.
void LectureDonneesBytes(Session& s, bool& accepted, std::string_view bytes);

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
