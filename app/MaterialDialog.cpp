#include "app/MaterialDialog.h"

namespace velta {

TMateriauFiche::TMateriauFiche(Session& session, std::function<void()> redraw2D, QWidget* parent)
    : QDialog(parent), s_(session), redraw2D_(std::move(redraw2D))
{
    setWindowTitle("Material properties");
}

}  // namespace velta
