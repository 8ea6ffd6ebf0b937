#pragma once
// Deformation of the rock under a dam's abutment by Vogt's coefficients:
// for a strip of foundation one foot long and a (the dam's thickness)
// wide, with b/a the ratio of the length of the whole foundation contact to
// its mean width,
//   rotation under moment M         K1 M / (Er a^2)
//   displacement under normal N     K2 N / Er
//   displacement under shear V      K3 V / Er
//   rotation under twisting Mt      K4 Mt / (Er a^2)
//   rotation under shear, and
//   displacement under moment       K5 V / (Er a), K5 M / (Er a)
#include <Eigen/Dense>

namespace velta::engine {

struct VogtCoefficients {
    double k1, k2, k3, k4, k5;
};

// The published table (Poisson's ratio 0.2) interpolated at b/a, clamped to
// its range 1 to 20, and scaled by (1 - nu^2) / 0.96 for the rock's own
// Poisson's ratio.
VogtCoefficients vogtCoefficients(double bOverA, double nu);

// Stiffness of the rock under `length` feet of foundation, in a frame whose
// axes are: 0 across the thickness, 1 along the foundation line, 2 normal to
// the rock surface pointing into the dam; rows and columns 0-2 translations,
// 3-5 rotations about the same axes. E in lb/ft2, thickness and length in ft.
Eigen::Matrix<double, 6, 6> vogtSpring(const VogtCoefficients& k, double E, double thickness, double length);

} // namespace velta::engine
