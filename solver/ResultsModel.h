#pragma once
// The analysis results of one tab: layer 0 as read from the engine's files
// (US customary units), layer 1 in SI. Indexed by cantilever slot (0..40,
// 20 the crown) and by point along the cantilever.
#include <array>

#include "model/CaseModel.h"

namespace velta {

inline constexpr int kResultPoints = 11;
inline constexpr int kGeomRows = 21;

using TabResult = std::array<std::array<std::array<double, kResultPoints>, kConsSlots>, kUnitCopies>;

struct ResultsModel {
    TabResult ResDeflElev{};  // kNoElevation where a slot has no point
    TabResult ResDeflection{};
    TabResult ResConsLoad{};
    std::array<int, kConsSlots> ResDeflCount{};

    TabResult ResStressElev{};
    TabResult ResPrin1Up{}, ResPrin2Up{}, ResAngleUp{};
    TabResult ResPrin1Down{}, ResPrin2Down{}, ResAngleDown{};
    std::array<int, kConsSlots> ResStressCount{};

    TabResult ResAbutForce{};  // points 0..3: force 1, its angle, force 2, its angle

    // [column 0..3][slot][row]: elevation, upstream offset, thickness, angle.
    std::array<std::array<std::array<double, kGeomRows>, kConsSlots>, 4> ResConsGeom{};
    std::array<int, kConsSlots> ResConsGeomCount{};

    // [column 0..4][arch 0..40]: elevation, intrados centre distance,
    // extrados centre distance, extrados radius, intrados radius.
    std::array<std::array<double, kConsSlots>, 5> ResCentresLeft{};
    std::array<std::array<double, kConsSlots>, 5> ResCentresRight{};

    // Init_resultat: every array back to its reset value; ResCentresRight is
    // left as it is.
    void reset();

    bool operator==(const ResultsModel&) const = default;
};

}  // namespace velta
