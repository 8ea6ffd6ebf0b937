#pragma once
// The drawing state shared by every view (world-to-screen mapping, 3D
// orientation, drag positions) and the view state of the result views.

namespace velta {

struct DrawState {
    int ViewOriginX = 0, ViewOriginY = 0;
    double ViewScale = 0;
    int ViewMidElevation = 0;
    int DragStartX = 0, DragStartY = 0, DragLastX = 0, DragLastY = 0;
    int RotationX = 0, RotationZ = 0, RotationY = 0;
    int PanX = 0, PanY = 0;
};

enum ViewKindValue : int {
    kView2D = 0,
    kViewDeflection = 1,
    kViewStresses = 2,
    kViewForces = 3,
    kView3D = 4,
    kViewLoads = 5,
    // The contour views, beside the views above.
    kViewContourDeflection = 6,
    kViewContourStressUp = 7,
    kViewContourStressDown = 8,
};

struct ViewState {
    int ViewKind = 0;
    int ValuesMode = 0;
    int DeflScale = 0;
    double StressScale = 0;
    double ForceScale = 0;
    double LoadScale = 0;
};

}  // namespace velta
