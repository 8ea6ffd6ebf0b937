#pragma once
// The engine's two result files, described once: the titles of their
// sections and where they stand, the columns of each table (heading, unit,
// where the value ends, its width and decimals), the order of the sections
// and the lines between a title and its rows. The engine writes the files
// by this table, the results reader cuts them by it, and the tests make
// result files with it.
//
// Columns are 1-based and inclusive. A value is right-aligned so that it
// ends at `end`; it fills `width` characters, so the reader finds it in
// columns first() to end. Every line ends with CR LF; trailing blanks are
// not written.
#include <array>
#include <string_view>

namespace velta::resultfile {

// A section's title: the engine writes `text` from `column`; the reader
// takes a line for the title when the text of columns `first` to `last`,
// blanks around it ignored, is `text`. The window is wider than the text
// where files of earlier engines place the title elsewhere on the line.
struct Title {
    std::string_view text;
    int column;
    int first, last;
};

struct Column {
    std::string_view heading;  // on the heading line, ending at `end`
    std::string_view unit;     // on the unit line below it; may be empty
    int end;
    int width;
    int decimals;  // for numbers; 0 for whole numbers and texts
    constexpr int first() const { return end - width + 1; }
};

// A table in the .OUT: its title, then `noteLines` lines (the engine's notes
// padded with blank lines), the headings (with a unit line when
// `unitLine`), `blankAfterHeadings` blank lines, then one row a line.
struct Table {
    Title title;
    int noteLines;
    bool unitLine;
    int blankAfterHeadings;
    // The lines between the title and the first row.
    constexpr int linesBeforeRows() const { return noteLines + (unitLine ? 2 : 1) + blankAfterHeadings; }
};

// A line that holds only this text starts a new page.
inline constexpr std::string_view kPageBreak = "1";

// ---------------------------------------------------------------- .PLT

inline constexpr std::string_view kPltBanner =
    " VELTA TRIAL-LOAD ANALYSIS WITH FULL ADJUSTMENT (RADIAL, TANGENTIAL, TWIST AND VERTICAL)";
inline constexpr std::string_view kDamPrefix = " DAM: ";  // followed by the dam's name
inline constexpr std::string_view kPltUnits = " UNITS: FEET, KIPS PER SQUARE FOOT, PSI (COMPRESSION POSITIVE)";

// The sections of the .PLT, in the order of the file. Each of the first
// three ends where the next one's title stands.
inline constexpr Title kDeflections{"RADIAL ADJUSTMENT CANTILEVER DEFLECTIONS", 5, 5, 44};
inline constexpr Title kArchDeflections{"RADIAL ADJUSTMENT, ARCH DEFLECTIONS", 5, 5, 39};
inline constexpr Title kStresses{"CANTILEVER PRINCIPAL STRESSES", 4, 4, 32};
inline constexpr Title kLeftArchStresses{"PRINCIPAL ARCH STRESSES LEFT ABUTMENT", 5, 5, 41};
inline constexpr Title kCrownArchStresses{"ARCH STRESSES AT THE CROWN", 5, 5, 30};
inline constexpr Title kRightArchStresses{"ARCH STRESSES AT THE RIGHT ABUTMENT", 5, 5, 39};
inline constexpr std::array<const Title*, 6> kPltSections{&kDeflections,      &kArchDeflections,
                                                          &kStresses,         &kLeftArchStresses,
                                                          &kCrownArchStresses, &kRightArchStresses};
// The title that ends a section of the .PLT: the next one's.
constexpr const Title& pltSectionEnd(const Title& t)
{
    for (size_t i = 0; i + 1 < kPltSections.size(); ++i)
        if (kPltSections[i] == &t) return *kPltSections[i + 1];
    return t;
}

// A cantilever's block in the deflections and in the stresses opens with a
// line: the label, the slot, the side from kPltSideColumn, then (in the
// deflections) the angle from kPltAngleColumn, and the column headings.
// Rows have the slot's columns blank.
inline constexpr std::string_view kCantileverLabel = "CANT. NO.";  // from column 1
inline constexpr Column kPltSlot{"", "", 13, 4, 0};
inline constexpr int kPltSideColumn = 15;
inline constexpr std::string_view kAnglePrefix = "A=";
inline constexpr int kPltAngleColumn = 21;
inline constexpr Column kPltAngle{"", "", 0, 7, 2};  // follows the prefix

enum DeflectionColumn { kDeflElev, kDeflArchLoad, kDeflRadial, kDeflTangential, kDeflVertical };
inline constexpr std::array<Column, 5> kDeflectionColumns{{
    {"ELEV FT", "", 39, 10, 2},
    {"-ARCH KSF", "", 49, 10, 4},
    {"RADIAL FT", "", 66, 12, 6},
    {"TANG. FT", "", 79, 12, 6},
    {"VERT. FT", "", 92, 12, 6},
}};

// The arch deflections: a line per arch from the top, then a row per
// cantilever that has a node on it.
inline constexpr std::string_view kArchLinePrefix = "ARCH AT ELEVATION ";  // from column 2
inline constexpr Column kArchLineElevation{"", "", 0, 9, 2};
inline constexpr std::string_view kArchLineSuffix = " FT: RADIAL DEFLECTIONS (FT) BY CANTILEVER";
inline constexpr std::string_view kArchRowLabel = "CANT.";  // from column 3
enum ArchDeflectionColumn { kArchDeflSlot, kArchDeflAngle, kArchDeflRadial };
inline constexpr std::array<Column, 3> kArchDeflectionColumns{{
    {"", "", 11, 0, 0},
    {"", "", 22, 9, 2},
    {"", "", 36, 12, 6},
}};

// Principal stresses, compression positive. An angle is degrees and minutes
// of three characters each.
enum StressColumn { kStressElev, kStressUp1, kStressUp2, kStressUpAngle, kStressDown1, kStressDown2, kStressDownAngle };
inline constexpr std::array<Column, 7> kStressColumns{{
    {"ELEV", "", 22, 8, 2},
    {"UP S1", "", 32, 8, 1},
    {"UP S2", "", 42, 8, 1},
    {"DEG MIN", "", 52, 6, 0},
    {"DOWN S1", "", 78, 8, 1},
    {"DOWN S2", "", 88, 8, 1},
    {"DEG MIN", "", 98, 6, 0},
}};
inline constexpr int kDegreesWidth = 3;  // then the minutes, also 3

// The three arch stress tables: headings under the title, a row per arch.
enum ArchStressColumn { kArchStressElev, kArchStressSlot, kArchStressUpHoop, kArchStressUpVert, kArchStressDownHoop, kArchStressDownVert };
inline constexpr std::array<Column, 6> kArchStressColumns{{
    {"ELEV", "", 12, 9, 2},
    {"SLOT", "", 18, 0, 0},
    {"UP HOOP", "", 29, 9, 1},
    {"UP VERT", "", 39, 9, 1},
    {"DN HOOP", "", 49, 9, 1},
    {"DN VERT", "", 59, 9, 1},
}};

// ---------------------------------------------------------------- .OUT

// The arches as the engine understood them, on the first page.
enum ArchColumn { kArchElev, kArchCode, kArchPhiL, kArchPhiR, kArchAL, kArchAR, kArchUniform, kArchLinear, kArchRockL, kArchRockR };
inline constexpr std::array<Column, 10> kArchColumns{{
    {"ARCH ELEV", "", 12, 10, 2},
    {"CODE", "", 18, 0, 0},
    {"PHI L", "", 28, 9, 3},
    {"PHI R", "", 38, 9, 3},
    {"A L", "", 48, 9, 3},
    {"A R", "", 58, 9, 3},
    {"UNIF. T F", "", 70, 10, 2},
    {"LIN. T F", "", 82, 10, 2},
    {"ROCK E L", "", 94, 10, 3},
    {"ROCK E R", "", 106, 10, 3},
}};

// The planes of centres: a page of its own, a row per arch from the base.
inline constexpr Table kCentres{{"PLANE OF CENTERS DATA", 50, 50, 79}, 0, true, 1};
enum CentreColumn { kCentreElev, kCentreUpFace, kCentreDownFace, kCentreUpCentre, kCentreDownCentre, kCentreIntradosDist, kCentreExtradosDist, kCentreExtradosRadius, kCentreIntradosRadius };
inline constexpr std::array<Column, 9> kCentreColumns{{
    {"ELEVATION", "FT", 14, 10, 2},
    {"UP FACE", "ABSCISSA", 24, 10, 2},
    {"DOWN FACE", "ABSCISSA", 34, 10, 2},
    {"UP CENTRE", "ABSCISSA", 44, 10, 2},
    {"DN CENTRE", "ABSCISSA", 54, 10, 2},
    {"INTRADOS", "CTR DIST", 70, 10, 3},
    {"EXTRADOS", "CTR DIST", 84, 10, 3},
    {"EXTRADOS", "RADIUS", 98, 10, 3},
    {"INTRADOS", "RADIUS", 112, 10, 3},
}};
// The columns the results model keeps, in its order.
inline constexpr std::array<int, 5> kCentresKept{kCentreElev, kCentreIntradosDist, kCentreExtradosDist,
                                                 kCentreExtradosRadius, kCentreIntradosRadius};

// The right side's plane of centres, for two-centred dams only.
inline constexpr Table kRightCentres{
    {"PLANE OF CENTERS DATA (FOR THE RIGHT SIDE PLANE, OR OUTER PLANE, IF 3 CENTERED GEOMETRY IS USED)", 10, 10,
     119},
    0, true, 1};
inline constexpr std::array<Column, 5> kRightCentreColumns{{
    {"ELEVATION", "FT", 35, 10, 2},
    {"INTRADOS", "CTR DIST", 49, 10, 3},
    {"EXTRADOS", "CTR DIST", 64, 10, 3},
    {"EXTRADOS", "RADIUS", 79, 10, 3},
    {"INTRADOS", "RADIUS", 94, 10, 3},
}};

// The sections of one cantilever, a table per cantilever; the slot ends at
// kGeometrySlot on the title line. The rows end with a blank line.
inline constexpr Table kCantileverGeometry{{"GEOMETRIC PROPERTIES FOR CANTILEVER NUMBER", 2, 1, 81}, 8, true, 1};
inline constexpr Column kGeometrySlot{"", "", 83, 2, 0};
enum GeometryColumn { kGeomElev, kGeomOffset, kGeomThickness, kGeomRadius, kGeomPhi };
inline constexpr std::array<Column, 5> kGeometryColumns{{
    {"ELEV", "FT", 8, 7, 2},
    {"UP OFFSET", "FT", 21, 10, 3},
    {"THICKNESS", "FT", 32, 10, 3},
    {"MID RADIUS", "FT", 44, 11, 2},
    {"PHI", "DEG", 52, 7, 3},
}};
// A line is a row while these columns of the elevation are not blank.
inline constexpr Column kGeometryRowMark{"", "", 8, 6, 0};

// The cantilevers' feet on each abutment; the left one ends the cantilever
// tables.
inline constexpr Table kLeftAbutmentGeometry{{"GEOMETRIC PROPERTIES AT THE ABUTMENT ON THE LEFT SIDE", 2, 1, 90}, 0, false, 0};
inline constexpr Table kRightAbutmentGeometry{{"GEOMETRIC PROPERTIES AT THE ABUTMENT ON THE RIGHT SIDE", 2, 1, 90}, 0, false, 0};
enum AbutmentGeometryColumn { kFootElev, kFootSlot, kFootPhi, kFootA, kFootThickness };
inline constexpr std::array<Column, 5> kAbutmentGeometryColumns{{
    {"ELEV FT", "", 12, 10, 2},
    {"SLOT", "", 20, 0, 0},
    {"PHI DEG", "", 32, 10, 3},
    {"A DEG", "", 44, 10, 2},
    {"THICKNESS FT", "", 58, 12, 3},
}};

// Loads, deflections and stresses at the nodes: a pair of tables per
// cantilever.
enum NodeColumn { kNodeElev, kNodeWater, kNodeArch, kNodeCant, kNodeRadial, kNodeTangential, kNodeVertical, kNodeThickness };
inline constexpr std::array<Column, 8> kNodeColumns{{
    {"ELEV", "", 10, 9, 2},
    {"WATER", "", 20, 9, 4},
    {"ARCH", "", 30, 9, 4},
    {"CANT.", "", 40, 9, 4},
    {"RADIAL", "", 52, 11, 6},
    {"TANG.", "", 64, 11, 6},
    {"VERT.", "", 76, 11, 6},
    {"THICK.", "", 86, 9, 2},
}};
enum NodeStressColumn { kFaceElev, kFaceName, kFaceHoop, kFaceVertical, kFaceShear, kFaceS1, kFaceS2, kFaceAngle };
inline constexpr std::array<Column, 8> kNodeStressColumns{{
    {"ELEV", "", 10, 9, 2},
    {"FACE", "", 14, 0, 0},
    {"HOOP", "", 24, 9, 1},
    {"VERTICAL", "", 34, 9, 1},
    {"SHEAR", "", 44, 9, 1},
    {"S1", "", 54, 9, 1},
    {"S2", "", 64, 9, 1},
    {"ANGLE", "", 74, 9, 2},
}};

// The forces on the abutments: a page of its own, notes, then a row per
// foundation node from the left abutment; the page break after the rows
// ends them.
inline constexpr Table kForces{{"RESOLUTION OF FORCES AND MOMENTS ON ABUTMENTS", 2, 1, 90}, 15, true, 0};
inline constexpr std::array<std::string_view, 6> kForceNotes{
    " Forces and moments that the dam puts on the rock under the foundation node of each cantilever, per",
    " foot of foundation line. FORCE 1 is the resultant in the vertical plane tangent to the arch, its",
    " angle measured from the tangent (pointing toward the abutment) downward; FORCE 2 is the resultant in",
    " the radial vertical plane, its angle measured from the downstream horizontal downward.",
    " Components: T tangential toward the abutment, V downward, R downstream (lb/ft); moments about the",
    " tangent, about the radial line and about the vertical (ft-lb/ft).",
};
enum ForceColumn { kForceElev, kForceSlot, kForceSide, kForce1, kForceAngle1, kForce2, kForceAngle2, kForceT, kForceV, kForceR, kForceMomentTangent, kForceMomentRadial, kForceMomentVertical };
inline constexpr std::array<Column, 13> kForceColumns{{
    {"ELEV", "FT", 9, 8, 2},
    {"SLOT", "", 15, 0, 0},
    {"SIDE", "", 22, 6, 0},  // the side's name, from first()
    {"FORCE 1", "LB/FT", 41, 10, 0},
    {"ANG1", "DEG", 49, 5, 1},
    {"FORCE 2", "LB/FT", 61, 10, 0},
    {"ANG2", "DEG", 69, 5, 1},
    {"T", "LB/FT", 82, 12, 0},
    {"V", "LB/FT", 94, 12, 0},
    {"R", "LB/FT", 106, 12, 0},
    {"M TANG", "FT-LB/FT", 119, 13, 0},
    {"M RAD", "FT-LB/FT", 132, 13, 0},
    {"M VERT", "FT-LB/FT", 145, 13, 0},
}};

// True when `line` is the title `t` (see Title).
bool isTitle(std::string_view line, const Title& t);

// Columns a to b of a line, cut short where the line is shorter.
std::string_view columns(std::string_view line, int a, int b);
inline std::string_view columns(std::string_view line, const Column& c) { return columns(line, c.first(), c.end); }

}  // namespace velta::resultfile
