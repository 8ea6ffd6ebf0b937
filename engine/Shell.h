#pragma once
// A four-node flat shell element (three-node when its last two nodes are
// the same): a membrane with incompatible modes and Poisson coupling, and a
// Mindlin plate whose transverse shear is interpolated from the edges
// (MITC4), six degrees of freedom per node.
#include <Eigen/Dense>
#include <array>

namespace velta::engine {

using Vec3 = Eigen::Vector3d;
using Mat24 = Eigen::Matrix<double, 24, 24>;
using Vec24 = Eigen::Matrix<double, 24, 1>;

// Stress resultants at one point, in the element frame: x horizontal (the
// arch direction), y up the surface (the cantilever direction), z the
// normal toward upstream. Forces per foot, moments foot-pounds per foot.
struct Resultants {
    double N[3] = {0, 0, 0}; // Nxx, Nyy, Nxy
    double M[3] = {0, 0, 0}; // Mxx, Myy, Mxy (positive stretches the upstream side)
    double Q[2] = {0, 0};    // Qx, Qy
};

struct ShellElement {
    std::array<Vec3, 4> X;         // node positions
    std::array<double, 4> thick{}; // thickness normal to the surface
    bool triangle = false;
    double E = 0, nu = 0;
    double hoop = 1; // 1: isotropic; small: no horizontal action (ungrouted joints)
    // Free hoop strain and hoop curvature at the nodes (temperature).
    std::array<double, 4> eps0{}, kap0{};

    // Frame rows e1 (horizontal), e2, e3 (normal, toward upstream).
    Eigen::Matrix3d R;
    std::array<double, 4> x{}, y{};
    double area = 0;

    void setup();
    // Stiffness in global axes; adds the load of the free strains to `f0`.
    Mat24 stiffness(Vec24& f0) const;
    // Resultants at the nodes (extrapolated from the Gauss points), and the
    // nodal forces that the horizontal and the vertical actions exert,
    // in global axes, for global nodal displacements u.
    void recover(const Vec24& u, std::array<Resultants, 4>& atNodes, Vec24& fArch, Vec24& fCant) const;
    // Lumped share of the area of each node.
    std::array<double, 4> nodeAreas() const;

private:
    struct Point;
    void point(double r, double s, Point& p) const;
    Eigen::Matrix<double, 24, 24> T() const;
};

} // namespace velta::engine
