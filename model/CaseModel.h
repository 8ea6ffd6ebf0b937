#pragma once
// The one in-memory description of the live case. Every dimensional scalar
// is a pair indexed by unit system (0 imperial, 1 SI); every table is a
// Tab3dim whose first index is the unit system.
#include <array>
#include <string>

#include "model/Tab3dim.h"

namespace velta {

inline constexpr int kImperial = 0;
inline constexpr int kSI = 1;
inline constexpr int kTabSlots = 21;   // cases open at once, one per tab
inline constexpr int kFaceTabs = 6;    // face-tab index t
inline constexpr int kConsSlots = 41;  // cantilever slots 0..40
inline constexpr int kCrownSlot = 20;  // the crown cantilever
inline constexpr int kMaxArcs = 11;
inline constexpr double kNoElevation = -1000.0;  // marks an unused slot or point

// Face-tab indices.
enum FaceIndex : int {
    kUpstreamFace = 0,
    kDownstreamFace = 1,
    kUpstreamLoC = 2,    // left upstream line of centres with two centres
    kDownstreamLoC = 3,  // left downstream line of centres with two centres
    kRightUpstreamLoC = 4,
    kRightDownstreamLoC = 5,
};

// Face-table columns.
enum FaceColumn : int {
    kColElevation = 0,
    kColAbscissa = 1,
    kColSlope = 2,
    kColCircleX = 3,
    kColCircleZ = 4,
    kColCircleRadius = 5,
};

// Arch-table columns.
enum ArcColumn : int { kArcElevation = 0, kArcCode = 1, kArcPhiL = 2, kArcPhiR = 3 };

using UnitPair = std::array<double, kUnitCopies>;

struct CaseModel {
    // Program level.
    std::string ProgramDir;  // ends with a path separator
    int UnitSystem = kImperial;
    std::array<std::string, kTabSlots> DamName{};
    std::array<std::string, kTabSlots> CaseFile{};

    // Geometry.
    int NbCenter = 0;
    UnitPair TopElev{}, BaseElev{}, Radius{}, RadiusR{};
    std::array<Tab3dim, kFaceTabs> FaceTab{};
    std::array<int, kFaceTabs> FaceRows{};
    std::array<Tab3dim, kFaceTabs> FaceTabWork{};
    std::array<int, kFaceTabs> FaceRowsWork{};
    Tab3dim ArcTab{};
    int NbArcs = 0;

    // Derived cantilever layout (rebuilt by every geometry commit).
    std::array<double, kConsSlots> ConsAngle{};
    std::array<double, kConsSlots> ConsBaseElev{};  // feet in both unit systems
    int FirstCons = 0;
    int LastCons = 0;

    // Materials.
    UnitPair Ec{}, Nuc{}, Wc{}, Thec{}, Er{}, Nur{};
    bool VariableModuli = false;
    Tab3dim DefTab{};  // col 0 arch elevation, 1 left modulus, 2 right modulus

    // Loads.
    UnitPair Rwe{}, Twe{};
    int GroutIndex = 0;  // counted from the highest arch
    Tab3dim TempTab{};   // col 0 arch elevation, 1 uniform, 2 linear change
    bool ThUni = false;
    bool ThLin = false;
    bool WeightDistribution = false;

    // Rows of the arch table (and of DefTab and TempTab that follow it),
    // never past the tables' capacity.
    int archRows() const { return NbArcs < 0 ? 0 : (NbArcs > kTabRows ? kTabRows : NbArcs); }

    // The model part of the reset for a new or re-read case: names, face
    // tables, arch table and row counts. Scalars, DefTab, TempTab, CaseFile,
    // UnitSystem and the results are left as they are.
    void resetCaseTables();
};

}  // namespace velta
