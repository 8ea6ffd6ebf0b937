#pragma once
// The main window's decisions that need no widgets: its layout from the
// screen size, the start-up of the session, the view buttons' group, the
// unit switch and the gate of the loads editor.
#include <QRect>
#include <QSize>
#include <array>

#include "app/shell/Session.h"

namespace velta {

inline constexpr const char* kApplicationTitle = "VELTA 2020";
inline constexpr const char* kGeometryMissingText = "Geometry is not yet correctly described";

struct MainLayout {
    QSize window;
    // GeometrieButton, GeometrieButton3d, DeformeeButton, SiButton,
    // FappuiButton, LoadButton.
    std::array<QRect, 6> viewButtons;
    QRect scaleLabel, plus, minus, values, tabBar, image;
};

// The main window laid out for a screen of the given size.
MainLayout computeMainLayout(QSize screen);

// The session part of the main window's first activation: the case reset,
// the result scales that take their defaults at their first drawing
// (ForceScale keeps its value) and no case file for any slot.
void startSession(Session& s);

// A click on a view button of the group: the button goes down, or up when
// it was down; at most one is down.
void clickViewButton(MainWindowState& w, int viewKind);

// The Data menu's unit entry.
void UniteMenuClick(Session& s);

// "Loads" opens only once the geometry carries its mark; otherwise the
// message is shown and false returned.
bool loadsEditorAllowed(Session& s);

}  // namespace velta
