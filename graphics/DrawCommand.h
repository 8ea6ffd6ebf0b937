#pragma once
// The batch tool's "draw" command without its files: its options and the
// view names, each drawn exactly as its button draws it.
#include <string>
#include <vector>

#include "graphics/Canvas.h"
#include "graphics/ViewContext.h"

namespace velta {

struct DrawOptions {
    std::string casePath, view, pngPath;
    std::string pltPath, outPath; // both empty without --results
    std::string logPath;
    bool si = false;
    int width = 1024, height = 768;
    int valuesMode = 0;
};

inline constexpr int kMaxImageSide = 16384;

// Parses CASE.dat VIEW OUT.png [--results PLT OUT] [--si] [--size WxH]
// [--values N] [--log OPS.txt]. Returns an empty text when the arguments
// are sound, otherwise the usage error to report.
std::string parseDrawOptions(const std::vector<std::string>& args, DrawOptions& options);

// The names of the view table (graphics/ViewTable.h).
bool isViewName(const std::string& view);
// Every view but the 2D geometry needs the results.
bool viewNeedsResults(const std::string& view);
// Whether the controls enabled by the results reader allow the view.
bool viewAvailable(const ViewContext& s, const std::string& view);
// Draws the view as its button's handler does; false when the drawing
// stopped (the reason went to the session's messages).
bool drawNamedView(const ViewContext& s, Canvas& c, const std::string& view);

} // namespace velta
