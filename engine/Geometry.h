#pragma once
// The dam's shape as the analysis sees it: crown-section curves, the two
// circles of every horizontal section, abutment angles and the foundation
// line of the developed view, all in feet and degrees (imperial copy).
#include <Eigen/Dense>
#include <array>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "forms/GeometryMath.h"
#include "model/CaseModel.h"

namespace velta::engine {

using Vec3 = Eigen::Vector3d;

// A case the engine refuses to analyse; the text says why, for the user.
class EngineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum Side : int { kLeft = 0, kRight = 1 };

// One row of the arch table.
struct ArchLevel {
    double z = 0;
    int code = 0;
    bool has[2] = {false, false}; // an abutment angle given on that side
    double phi[2] = {0, 0};       // degrees at the arch's own centre (magnitudes)
    double A[2] = {0, 0};         // the same abutments at the general axis centre (magnitudes)
    double tempUniform = 0;       // deg F, 0 when not given or not active
    double tempLinear = 0;        // upstream face minus downstream face, deg F
    double rockE[2] = {0, 0};     // E6 psi when the moduli vary by arch; 0 = not given
};

// A point of a horizontal section on the ray from the extrados centre.
struct SectionPoint {
    Vec3 extrados, intrados, mid;
    Vec3 ray;         // unit horizontal vector along the ray, pointing upstream
    double thickness; // along the ray
};

// Coordinates: x across the valley (positive toward the right abutment),
// y the crown-section abscissa (growing downstream), z the elevation.
class DamGeometry {
public:
    // Reads and checks the imperial copy of the case. Throws EngineError.
    explicit DamGeometry(const CaseModel& m);

    double top = 0, base = 0;
    int nbCenter = 1;
    double radius[2] = {0, 0};     // axis radius of each side
    std::vector<ArchLevel> arches; // lowest first

    // Crown-section abscissas at elevation z.
    double upFace(double z) const;
    double downFace(double z) const;
    double upCentre(Side s, double z) const;
    double downCentre(Side s, double z) const;

    // Angle at the extrados centre (degrees, magnitude) of the point that
    // the general-axis angle A (magnitude) designates at elevation z.
    double phiOfA(Side s, double A, double z) const;
    // Point of the section at elevation z on the ray at signed angle beta
    // (degrees, negative on the left) about the extrados centre of its side.
    SectionPoint section(double beta, double z) const;
    // The same for the developed-view abscissa a (signed general-axis angle).
    SectionPoint sectionAtA(double a, double z) const;
    double betaOfA(double a, double z) const;

    // Signed general-axis angle of the foundation line at elevation z.
    double foundationA(Side s, double z) const;

    // Radius of the side that a signed angle belongs to.
    double sideRadius(double a) const { return a < 0 ? radius[kLeft] : radius[kRight]; }

private:
    std::array<Tab3dim, kFaceTabs> face_;
    std::vector<std::pair<double, double>> foundation_[2]; // (z, A magnitude), increasing z
    double curve(int t, double z) const;
    // Curves are evaluated from the case's text cells; the analysis asks for
    // the same few elevations many times.
    mutable std::unordered_map<double, std::array<double, kFaceTabs>> cache_;
};

} // namespace velta::engine
