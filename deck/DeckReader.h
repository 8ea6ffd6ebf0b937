#pragma once
// LectureDonnees: reads an input deck into the editors' state as a user
// would type it, then runs the editors' validations and commits.
#include <stdexcept>
#include <string>

#include "model/Session.h"

namespace velta {

// `accepted` is in/out: the caller sets it to true; it is false afterwards
// when the deck, or one of its face tables, was refused. Throws
// ConversionError or FileReadError on an unreadable file or a field that
// must be a number and is not.
void LectureDonnees(Session& s, bool& accepted, const std::string& path);

class FileReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace velta
