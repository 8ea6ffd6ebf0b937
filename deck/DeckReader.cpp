// Placeholder body; the deck reader is being written.
#include "deck/DeckReader.h"

namespace velta {

void LectureDonnees(Session&, bool& accepted, const std::string&)
{
    accepted = false;
    throw FileReadError("the deck reader is not available yet");
}

}  // namespace velta
