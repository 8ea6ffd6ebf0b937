#include "app/LoadsDialog.h"

namespace velta {

TChargementFiche::TChargementFiche(Session& session, std::function<void()> redraw2D, QWidget* parent)
    : QDialog(parent), s_(session), redraw2D_(std::move(redraw2D))
{
    setWindowTitle("Loads");
}

}  // namespace velta
