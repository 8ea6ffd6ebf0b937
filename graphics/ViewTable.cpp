#include "graphics/ViewTable.h"

#include "graphics/Contours.h"
#include "graphics/DrawState.h"
#include "graphics/Graphique.h"
#include "graphics/ResultViews.h"

namespace velta {

const std::vector<ViewSpec>& viewTable()
{
    using W = MainWindowState;
    static const std::vector<ViewSpec> table = {
        {kView2D, "geometry", "GeometrieButton", "2D Geometry", &W::GeometrieButton, false, &GeometrieButtonClick},
        {kView3D, "3d", "GeometrieButton3d", "3D Geometry", &W::GeometrieButton3d, true, &GeometrieButton3dClick},
        {kViewDeflection, "deflection", "DeformeeButton", "Radial deflection", &W::DeformeeButton, true,
         &DeformeeButtonClick},
        {kViewStresses, "stresses", "SiButton", "Principal stresses", &W::SiButton, true, &SiButtonClick},
        {kViewForces, "forces", "FappuiButton", "Forces on abutment", &W::FappuiButton, true, &FappuiButtonClick},
        {kViewLoads, "loads", "LoadButton", "Arch/Cantilever loads", &W::LoadButton, true, &LoadButtonClick},
        {kViewContourDeflection, "contour-deflection", "", "", &W::DeformeeButton, true, &ContourDeflectionClick},
        {kViewContourStressUp, "contour-stress-up", "", "", &W::SiButton, true, &ContourStressUpClick},
        {kViewContourStressDown, "contour-stress-down", "", "", &W::SiButton, true, &ContourStressDownClick},
    };
    return table;
}

const ViewSpec* viewByName(std::string_view name)
{
    for (const ViewSpec& v : viewTable())
        if (name == v.name) return &v;
    return nullptr;
}

const ViewSpec* viewByKind(int kind)
{
    for (const ViewSpec& v : viewTable())
        if (v.kind == kind) return &v;
    return nullptr;
}

std::vector<const ViewSpec*> buttonViews()
{
    std::vector<const ViewSpec*> out;
    for (const ViewSpec& v : viewTable())
        if (*v.button) out.push_back(&v);
    return out;
}

bool viewAvailable(const MainWindowState& w, const ViewSpec& v)
{
    return !v.needsResults || w.*v.control;
}

bool drawViewOfKind(const ViewContext& s, Canvas& c, int kind)
{
    const ViewSpec* v = viewByKind(kind);
    return v && v->draw(s, c);
}

std::string viewNameList()
{
    std::string out;
    const auto& t = viewTable();
    for (size_t i = 0; i < t.size(); ++i)
        out += (i == 0 ? "" : i + 1 == t.size() ? " or " : ", ") + std::string(t[i].name);
    return out;
}

}  // namespace velta
