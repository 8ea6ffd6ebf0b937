#include "engine/Shell.h"

#include <cmath>

namespace velta::engine {

namespace {
constexpr double kShearFactor = 5.0 / 6.0;
constexpr double kRN[4] = {-1, 1, 1, -1};
constexpr double kSN[4] = {-1, -1, 1, 1};
const double kG = 1.0 / std::sqrt(3.0);

using Mat3x24 = Eigen::Matrix<double, 3, 24>;
using Mat2x24 = Eigen::Matrix<double, 2, 24>;

void shape(double r, double s, double N[4], double dr[4], double ds[4])
{
    for (int i = 0; i < 4; ++i) {
        N[i] = 0.25 * (1 + r * kRN[i]) * (1 + s * kSN[i]);
        dr[i] = 0.25 * kRN[i] * (1 + s * kSN[i]);
        ds[i] = 0.25 * kSN[i] * (1 + r * kRN[i]);
    }
}
} // namespace

// Everything the element needs at one integration point.
struct ShellElement::Point {
    double N[4];
    double detJ = 0, t = 0, e0 = 0, k0 = 0;
    Mat3x24 Bm = Mat3x24::Zero();
    Eigen::Matrix<double, 3, 4> G = Eigen::Matrix<double, 3, 4>::Zero();
    Mat3x24 Bb = Mat3x24::Zero();
    Mat2x24 Bs = Mat2x24::Zero();
};

void ShellElement::setup()
{
    Vec3 n = (X[2] - X[0]).cross(X[3] - X[1]);
    area = 0.5 * n.norm();
    n.normalize();
    Vec3 e1 = Vec3::UnitZ().cross(n);
    if (e1.norm() < 1e-8) e1 = Vec3::UnitX();
    e1.normalize();
    const Vec3 e2 = n.cross(e1);
    R.row(0) = e1;
    R.row(1) = e2;
    R.row(2) = n;
    Vec3 c = Vec3::Zero();
    for (const Vec3& p : X) c += 0.25 * p;
    for (int i = 0; i < 4; ++i) {
        x[i] = e1.dot(X[i] - c);
        y[i] = e2.dot(X[i] - c);
    }
}

Eigen::Matrix<double, 24, 24> ShellElement::T() const
{
    Eigen::Matrix<double, 24, 24> t = Eigen::Matrix<double, 24, 24>::Zero();
    for (int b = 0; b < 8; ++b) t.block<3, 3>(3 * b, 3 * b) = R;
    return t;
}

void ShellElement::point(double r, double s, Point& p) const
{
    double dr[4], ds[4];
    shape(r, s, p.N, dr, ds);
    Eigen::Matrix2d J = Eigen::Matrix2d::Zero();
    for (int i = 0; i < 4; ++i) {
        J(0, 0) += dr[i] * x[i];
        J(0, 1) += dr[i] * y[i];
        J(1, 0) += ds[i] * x[i];
        J(1, 1) += ds[i] * y[i];
    }
    p.detJ = J.determinant();
    const Eigen::Matrix2d Ji = J.inverse();
    double dx[4], dy[4];
    p.t = p.e0 = p.k0 = 0;
    for (int i = 0; i < 4; ++i) {
        dx[i] = Ji(0, 0) * dr[i] + Ji(0, 1) * ds[i];
        dy[i] = Ji(1, 0) * dr[i] + Ji(1, 1) * ds[i];
        p.t += p.N[i] * thick[i];
        p.e0 += p.N[i] * eps0[i];
        p.k0 += p.N[i] * kap0[i];
    }
    // Local dofs per node: u, v, w, rx, ry, rz. Plate slopes bx = ry, by = -rx.
    for (int i = 0; i < 4; ++i) {
        const int o = 6 * i;
        p.Bm(0, o) = dx[i];
        p.Bm(1, o + 1) = dy[i];
        p.Bm(2, o) = dy[i];
        p.Bm(2, o + 1) = dx[i];
        p.Bb(0, o + 4) = dx[i];
        p.Bb(1, o + 3) = -dy[i];
        p.Bb(2, o + 4) = dy[i];
        p.Bb(2, o + 3) = -dx[i];
    }
    if (!triangle) {
        // Incompatible modes 1 - r^2 and 1 - s^2, with the centre Jacobian.
        Eigen::Matrix2d J0 = Eigen::Matrix2d::Zero();
        double N0[4], dr0[4], ds0[4];
        shape(0, 0, N0, dr0, ds0);
        for (int i = 0; i < 4; ++i) {
            J0(0, 0) += dr0[i] * x[i];
            J0(0, 1) += dr0[i] * y[i];
            J0(1, 0) += ds0[i] * x[i];
            J0(1, 1) += ds0[i] * y[i];
        }
        const Eigen::Matrix2d J0i = J0.inverse();
        const double scale = J0.determinant() / p.detJ;
        const Eigen::Vector2d d1 = scale * J0i * Eigen::Vector2d(-2 * r, 0);
        const Eigen::Vector2d d2 = scale * J0i * Eigen::Vector2d(0, -2 * s);
        // alpha = (u1, u2, v1, v2)
        p.G(0, 0) = d1(0);
        p.G(0, 1) = d2(0);
        p.G(1, 2) = d1(1);
        p.G(1, 3) = d2(1);
        p.G(2, 0) = d1(1);
        p.G(2, 1) = d2(1);
        p.G(2, 2) = d1(0);
        p.G(2, 3) = d2(0);
    }
    // Covariant transverse shear at the edge midpoints.
    auto covariant = [&](double rt, double st, bool alongR) {
        double N[4], a[4], b[4];
        shape(rt, st, N, a, b);
        const double* d = alongR ? a : b;
        double xd = 0, yd = 0;
        for (int i = 0; i < 4; ++i) {
            xd += d[i] * x[i];
            yd += d[i] * y[i];
        }
        Eigen::Matrix<double, 1, 24> row = Eigen::Matrix<double, 1, 24>::Zero();
        for (int i = 0; i < 4; ++i) {
            row(6 * i + 2) = d[i];
            row(6 * i + 4) = N[i] * xd;  // bx = ry
            row(6 * i + 3) = -N[i] * yd; // by = -rx
        }
        return row;
    };
    const Eigen::Matrix<double, 1, 24> gr =
        0.5 * (1 - s) * covariant(0, -1, true) + 0.5 * (1 + s) * covariant(0, 1, true);
    const Eigen::Matrix<double, 1, 24> gs =
        0.5 * (1 - r) * covariant(-1, 0, false) + 0.5 * (1 + r) * covariant(1, 0, false);
    p.Bs.row(0) = Ji(0, 0) * gr + Ji(0, 1) * gs;
    p.Bs.row(1) = Ji(1, 0) * gr + Ji(1, 1) * gs;
}

namespace {
Eigen::Matrix3d planeStress(double E, double nu, double hoop)
{
    Eigen::Matrix3d C = Eigen::Matrix3d::Zero();
    if (hoop >= 1) {
        const double c = E / (1 - nu * nu);
        C << c, c * nu, 0, c * nu, c, 0, 0, 0, c * (1 - nu) / 2;
    } else {
        C << hoop * E, 0, 0, 0, E, 0, 0, 0, hoop * E / (2 * (1 + nu));
    }
    return C;
}
} // namespace

Mat24 ShellElement::stiffness(Vec24& f0) const
{
    const Eigen::Matrix3d C = planeStress(E, nu, hoop);
    const double Gs = kShearFactor * E / (2 * (1 + nu));
    Eigen::Matrix2d Cs = Eigen::Matrix2d::Zero();
    Cs(0, 0) = (hoop >= 1 ? 1 : hoop) * Gs;
    Cs(1, 1) = Gs;
    Mat24 K = Mat24::Zero();
    Eigen::Matrix<double, 24, 4> Kua = Eigen::Matrix<double, 24, 4>::Zero();
    Eigen::Matrix4d Kaa = Eigen::Matrix4d::Zero();
    Vec24 fu = Vec24::Zero();
    Eigen::Vector4d fa = Eigen::Vector4d::Zero();
    Point p;
    for (double r : {-kG, kG})
        for (double s : {-kG, kG}) {
            point(r, s, p);
            const double w = p.detJ;
            const double t = p.t, t3 = t * t * t / 12;
            K += w * (t * p.Bm.transpose() * C * p.Bm + t3 * p.Bb.transpose() * C * p.Bb +
                      t * p.Bs.transpose() * Cs * p.Bs);
            const Eigen::Vector3d sm = t * C * Eigen::Vector3d(p.e0, 0, 0);
            const Eigen::Vector3d sb = t3 * C * Eigen::Vector3d(p.k0, 0, 0);
            fu += w * (p.Bm.transpose() * sm + p.Bb.transpose() * sb);
            if (!triangle) {
                Kua += w * t * p.Bm.transpose() * C * p.G;
                Kaa += w * t * p.G.transpose() * C * p.G;
                fa += w * p.G.transpose() * sm;
            }
        }
    if (!triangle) {
        const Eigen::Matrix4d Kai = Kaa.inverse();
        K -= Kua * Kai * Kua.transpose();
        fu -= Kua * Kai * fa;
    }
    // A light spring on the rotation about the normal.
    double tm = 0;
    for (double t : thick) tm += 0.25 * t;
    const double kd = 1e-5 * E * tm * area;
    for (int i = 0; i < 4; ++i) K(6 * i + 5, 6 * i + 5) += kd;
    // To global axes, 3 x 3 block by block.
    for (int b = 0; b < 8; ++b) f0.segment<3>(3 * b) += R.transpose() * fu.segment<3>(3 * b);
    Mat24 Kg;
    for (int a = 0; a < 8; ++a)
        for (int b = 0; b < 8; ++b)
            Kg.block<3, 3>(3 * a, 3 * b) = R.transpose() * K.block<3, 3>(3 * a, 3 * b) * R;
    return Kg;
}

void ShellElement::recover(const Vec24& uGlobal, std::array<Resultants, 4>& atNodes, Vec24& fArch,
                           Vec24& fCant) const
{
    const auto Tm = T();
    const Vec24 u = Tm * uGlobal;
    const Eigen::Matrix3d C = planeStress(E, nu, hoop);
    const double Gs = kShearFactor * E / (2 * (1 + nu));
    const double csx = (hoop >= 1 ? 1 : hoop) * Gs;
    Eigen::Vector4d alpha = Eigen::Vector4d::Zero();
    Point p;
    if (!triangle) {
        Eigen::Matrix<double, 4, 24> Kau = Eigen::Matrix<double, 4, 24>::Zero();
        Eigen::Matrix4d Kaa = Eigen::Matrix4d::Zero();
        Eigen::Vector4d fa = Eigen::Vector4d::Zero();
        for (double r : {-kG, kG})
            for (double s : {-kG, kG}) {
                point(r, s, p);
                Kau += p.detJ * p.t * p.G.transpose() * C * p.Bm;
                Kaa += p.detJ * p.t * p.G.transpose() * C * p.G;
                fa += p.detJ * p.t * p.G.transpose() * C * Eigen::Vector3d(p.e0, 0, 0);
            }
        alpha = Kaa.inverse() * (fa - Kau * u);
    }
    Resultants gp[4];
    Vec24 fa = Vec24::Zero(), fc = Vec24::Zero();
    const double rs[4][2] = {{-kG, -kG}, {kG, -kG}, {kG, kG}, {-kG, kG}};
    for (int g = 0; g < 4; ++g) {
        point(rs[g][0], rs[g][1], p);
        const double t = p.t, t3 = t * t * t / 12;
        const Eigen::Vector3d em = p.Bm * u + p.G * alpha - Eigen::Vector3d(p.e0, 0, 0);
        const Eigen::Vector3d kb = p.Bb * u - Eigen::Vector3d(p.k0, 0, 0);
        const Eigen::Vector2d gs = p.Bs * u;
        const Eigen::Vector3d N = t * C * em, M = t3 * C * kb;
        Resultants& q = gp[g];
        for (int k = 0; k < 3; ++k) {
            q.N[k] = N(k);
            q.M[k] = M(k);
        }
        q.Q[0] = t * csx * gs(0);
        q.Q[1] = t * Gs * gs(1);
        const double w = p.detJ;
        fa += w * (p.Bm.row(0).transpose() * q.N[0] + 0.5 * p.Bm.row(2).transpose() * q.N[2] +
                   p.Bb.row(0).transpose() * q.M[0] + 0.5 * p.Bb.row(2).transpose() * q.M[2] +
                   p.Bs.row(0).transpose() * q.Q[0]);
        fc += w * (p.Bm.row(1).transpose() * q.N[1] + 0.5 * p.Bm.row(2).transpose() * q.N[2] +
                   p.Bb.row(1).transpose() * q.M[1] + 0.5 * p.Bb.row(2).transpose() * q.M[2] +
                   p.Bs.row(1).transpose() * q.Q[1]);
    }
    fArch = Tm.transpose() * fa;
    fCant = Tm.transpose() * fc;
    // Extrapolate the Gauss values bilinearly to the corners; a triangle
    // takes its mean everywhere.
    const double e = std::sqrt(3.0);
    for (int i = 0; i < 4; ++i) {
        double N[4], a[4], b[4];
        if (triangle)
            shape(0, 0, N, a, b);
        else
            shape(kRN[i] * e, kSN[i] * e, N, a, b);
        Resultants& q = atNodes[i];
        q = Resultants{};
        for (int g = 0; g < 4; ++g) {
            for (int k = 0; k < 3; ++k) {
                q.N[k] += N[g] * gp[g].N[k];
                q.M[k] += N[g] * gp[g].M[k];
            }
            for (int k = 0; k < 2; ++k) q.Q[k] += N[g] * gp[g].Q[k];
        }
    }
}

std::array<double, 4> ShellElement::nodeAreas() const
{
    std::array<double, 4> a{};
    Point p;
    for (double r : {-kG, kG})
        for (double s : {-kG, kG}) {
            point(r, s, p);
            for (int i = 0; i < 4; ++i) a[i] += p.N[i] * p.detJ;
        }
    return a;
}

} // namespace velta::engine
