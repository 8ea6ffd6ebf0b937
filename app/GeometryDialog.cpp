#include "app/GeometryDialog.h"

namespace velta {

TGeometrieFiche::TGeometrieFiche(Session& session, std::function<void()> redraw2D, QWidget* parent)
    : QDialog(parent), s_(session), redraw2D_(std::move(redraw2D))
{
    setWindowTitle("Geometry");
}

}  // namespace velta
