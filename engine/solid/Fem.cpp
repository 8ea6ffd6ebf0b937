#include "engine/solid/Fem.h"

#include <Eigen/CholmodSupport>
#include <QLibrary>
#include <algorithm>
#include <cmath>
#include <future>
#include <map>
#include <stdexcept>
#include <string>
#include <thread>

#include "engine/solid/Shape.h"

namespace velta::engine::solid {

namespace {

using Matrix6 = Eigen::Matrix<double, 6, 6>;
using Matrix3 = Eigen::Matrix3d;

// Position of the engineering-strain component of the tensor pair (a, b).
constexpr int kVoigt[3][3] = {{0, 3, 5}, {3, 1, 4}, {5, 4, 2}};

Matrix6 isotropic(double E, double nu)
{
    const double lambda = E * nu / ((1 + nu) * (1 - 2 * nu));
    const double mu = E / (2 * (1 + nu));
    Matrix6 d = Matrix6::Zero();
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) d(i, j) = lambda;
        d(i, i) = lambda + 2 * mu;
        d(3 + i, 3 + i) = mu;
    }
    return d;
}

// The joint frame's axes as the rows of a rotation: the hoop direction, the
// vertical made normal to it, and the third axis completing a right-handed
// frame.
Matrix3 jointFrame(const Vec3& hoop)
{
    Vec3 a = hoop.normalized();
    Vec3 c = Vec3::UnitZ() - a.z() * a;
    if (c.norm() < 1e-9) throw std::invalid_argument("hoop direction is vertical");
    c.normalize();
    const Vec3 b = c.cross(a);
    Matrix3 q;
    q.row(0) = a;
    q.row(1) = b;
    q.row(2) = c;
    return q;
}

// Engineering-strain transformation: e_local = T e_global for the frame whose
// axes are the rows of q.
Matrix6 strainRotation(const Matrix3& q)
{
    Matrix6 t;
    for (int k = 0; k < 6; ++k) {
        Matrix3 eg = Matrix3::Zero();
        if (k < 3)
            eg(k, k) = 1;
        else {
            const int a = k == 3 ? 0 : (k == 4 ? 1 : 2), b = k == 3 ? 1 : (k == 4 ? 2 : 0);
            eg(a, b) = eg(b, a) = 0.5;
        }
        const Matrix3 el = q * eg * q.transpose();
        t(0, k) = el(0, 0);
        t(1, k) = el(1, 1);
        t(2, k) = el(2, 2);
        t(3, k) = 2 * el(0, 1);
        t(4, k) = 2 * el(1, 2);
        t(5, k) = 2 * el(2, 0);
    }
    return t;
}

} // namespace

// The elasticity matrix of a material at an element (global axes). The open
// joints scale the isotropic matrix in the joint frame by S D S with
// S = diag(sqrt f) on the components involving the hoop axis: the normal
// stiffness along hoop and the shears on hoop planes become f times the
// isotropic ones, their couplings sqrt(f) times, and the matrix stays
// positive definite for every f > 0.
Matrix6 elasticity(const Material& mat, const Vec3& hoop)
{
    Matrix6 d = isotropic(mat.E, mat.nu);
    if (mat.hoopFactor == 1) return d;
    if (!(mat.hoopFactor > 0)) throw std::invalid_argument("hoop stiffness factor must be positive");
    Eigen::Matrix<double, 6, 1> s = Eigen::Matrix<double, 6, 1>::Ones();
    const double r = std::sqrt(mat.hoopFactor);
    s(0) = r; // normal along hoop
    s(3) = r; // hoop - second axis shear
    s(5) = r; // vertical - hoop shear
    const Matrix6 local = s.asDiagonal() * d * s.asDiagonal();
    const Matrix6 t = strainRotation(jointFrame(hoop));
    return t.transpose() * local * t;
}

namespace {

const char* typeName(ElementType t) { return t == ElementType::Hex20 ? "Hex20" : "Wedge15"; }

[[noreturn]] void badJacobian(int e)
{
    throw std::runtime_error("element " + std::to_string(e + 1) +
                             ": Jacobian not positive at an integration point (nodes out of order or element "
                             "folded)");
}

const Element& elementAt(const Model& m, int e)
{
    if (e < 0 || e >= int(m.elements.size())) throw std::out_of_range("no element " + std::to_string(e + 1));
    return m.elements[e];
}

template <int N>
using Coords = Eigen::Matrix<double, 3, N>;

template <int N>
Coords<N> coordsOf(const Model& m, const Element& el)
{
    Coords<N> x;
    for (int i = 0; i < N; ++i) {
        const int n = el.nodes[i];
        if (n < 0 || n >= int(m.nodes.size())) throw std::out_of_range("element node out of range");
        x.col(i) = m.nodes[n];
    }
    return x;
}

// Global derivatives (3 x N) at a point; returns det J.
template <int N>
double globalDerivatives(const Coords<N>& x, const shape::Values& v, Eigen::Matrix<double, 3, N>& g)
{
    const Eigen::Map<const Eigen::Matrix<double, 3, N>> dn(v.dn);
    const Matrix3 j = dn * x.transpose(); // j(k, l) = d x_l / d natural_k
    const double det = j.determinant();
    g.noalias() = j.inverse() * dn;
    return det;
}

// Elasticity as the fourth-order tensor c[a][c][b][d] (the order the
// element stiffness needs).
struct Tensor {
    double c[3][3][3][3];
    explicit Tensor(const Matrix6& d)
    {
        for (int a = 0; a < 3; ++a)
            for (int b = 0; b < 3; ++b)
                for (int c2 = 0; c2 < 3; ++c2)
                    for (int d2 = 0; d2 < 3; ++d2) c[a][c2][b][d2] = d(kVoigt[a][c2], kVoigt[b][d2]);
    }
};

// Element stiffness: with P the rows sqrt(w det J) dN/dx of every point,
// H = P^T P holds every product of derivatives integrated, and each 3 x 3
// block is K_ij(a,b) = sum c_acbd H(3i+c, 3j+d).
template <int N>
void elementStiffness(const Model& m, int e, Eigen::Matrix<double, 3 * N, 3 * N>& k)
{
    const Element& el = m.elements[e];
    const Coords<N> x = coordsOf<N>(m, el);
    const auto& rule = shape::volumeRule(el.type, m.wedgeRule);
    const auto& values = shape::volumeValues(el.type, m.wedgeRule);
    const int np = int(rule.size());
    Eigen::Matrix<double, Eigen::Dynamic, 3 * N, Eigen::RowMajor, 27, 3 * N> p(np, 3 * N);
    Eigen::Matrix<double, 3, N> g;
    for (int q = 0; q < np; ++q) {
        const double det = globalDerivatives<N>(x, values[q], g);
        if (!(det > 0)) badJacobian(e);
        p.row(q) = Eigen::Map<const Eigen::Matrix<double, 1, 3 * N>>(g.data()) * std::sqrt(rule[q].weight * det);
    }
    Eigen::Matrix<double, 3 * N, 3 * N> h;
    h.noalias() = p.transpose() * p;
    const Material& mat = m.materials.at(el.material);
    if (mat.hoopFactor == 1) {
        const double lambda = mat.E * mat.nu / ((1 + mat.nu) * (1 - 2 * mat.nu));
        const double mu = mat.E / (2 * (1 + mat.nu));
        for (int j = 0; j < N; ++j)
            for (int i = 0; i < N; ++i) {
                const Matrix3 hb = h.template block<3, 3>(3 * i, 3 * j);
                k.template block<3, 3>(3 * i, 3 * j) =
                    lambda * hb + mu * hb.transpose() + (mu * hb.trace()) * Matrix3::Identity();
            }
        return;
    }
    const Tensor c(elasticity(mat, el.hoop));
    for (int j = 0; j < N; ++j)
        for (int i = 0; i < N; ++i)
            for (int b = 0; b < 3; ++b)
                for (int a = 0; a < 3; ++a) {
                    double s = 0;
                    for (int d = 0; d < 3; ++d)
                        for (int cc = 0; cc < 3; ++cc) s += c.c[a][cc][b][d] * h(3 * i + cc, 3 * j + d);
                    k(3 * i + a, 3 * j + b) = s;
                }
}

Strain freeStrainAt(const Element& el, const shape::Values& v, int n)
{
    Strain s = Strain::Zero();
    if (el.freeStrain.empty()) return s;
    if (int(el.freeStrain.size()) != n) throw std::invalid_argument("free strains must be given at every node");
    for (int i = 0; i < n; ++i) s += v.n[i] * el.freeStrain[i];
    return s;
}

// Nodal forces of the element's free strains: sum w det J B^T D e0.
template <int N>
void freeStrainForces(const Model& m, int e, Eigen::VectorXd& f)
{
    const Element& el = m.elements[e];
    if (el.freeStrain.empty()) return;
    const Coords<N> x = coordsOf<N>(m, el);
    const Matrix6 d = elasticity(m.materials.at(el.material), el.hoop);
    const auto& rule = shape::volumeRule(el.type, m.wedgeRule);
    const auto& values = shape::volumeValues(el.type, m.wedgeRule);
    Eigen::Matrix<double, 3, N> g;
    for (size_t q = 0; q < rule.size(); ++q) {
        const double det = globalDerivatives<N>(x, values[q], g);
        if (!(det > 0)) badJacobian(e);
        const Stress s = d * freeStrainAt(el, values[q], N) * (rule[q].weight * det);
        Matrix3 sig;
        sig << s(0), s(3), s(5), s(3), s(1), s(4), s(5), s(4), s(2);
        const Eigen::Matrix<double, 3, N> fe = sig * g;
        for (int i = 0; i < N; ++i) f.segment<3>(3 * el.nodes[i]) += fe.col(i);
    }
}

template <int N>
Stress stressAtPoint(const Model& m, int e, const Vec3& natural, const Eigen::VectorXd& u)
{
    const Element& el = m.elements[e];
    const Coords<N> x = coordsOf<N>(m, el);
    shape::Values v;
    shape::evaluate(el.type, natural, v);
    Eigen::Matrix<double, 3, N> g;
    if (!(globalDerivatives<N>(x, v, g) > 0)) badJacobian(e);
    Coords<N> ue;
    for (int i = 0; i < N; ++i) ue.col(i) = u.segment<3>(3 * el.nodes[i]);
    const Matrix3 grad = ue * g.transpose(); // grad(a, c) = d u_a / d x_c
    Strain eps;
    eps << grad(0, 0), grad(1, 1), grad(2, 2), grad(0, 1) + grad(1, 0), grad(1, 2) + grad(2, 1),
        grad(2, 0) + grad(0, 2);
    eps -= freeStrainAt(el, v, N);
    return elasticity(m.materials.at(el.material), el.hoop) * eps;
}

// The sparsity of the global matrix in 3 x 3 node blocks: for every node,
// the sorted nodes it shares an element or a spring with.
struct Pattern {
    std::vector<std::vector<int>> neighbours;
    std::vector<long> start; // first entry of the node's first column
};

Pattern buildPattern(const Model& m)
{
    const int nn = int(m.nodes.size());
    Pattern p;
    p.neighbours.assign(nn, {});
    auto link = [&](const int* nodes, int count) {
        for (int i = 0; i < count; ++i) {
            const int a = nodes[i];
            if (a < 0 || a >= nn) throw std::out_of_range("element node out of range");
            auto& list = p.neighbours[a];
            list.insert(list.end(), nodes, nodes + count);
        }
    };
    for (const Element& el : m.elements) link(el.nodes.data(), nodeCount(el.type));
    std::vector<int> sn;
    for (const StiffnessBlock& b : m.springs) {
        sn.clear();
        for (int d : b.dofs) {
            if (d < 0 || d >= 3 * nn) throw std::out_of_range("spring dof out of range");
            sn.push_back(d / 3);
        }
        link(sn.data(), int(sn.size()));
    }
    p.start.assign(nn + 1, 0);
    for (int n = 0; n < nn; ++n) {
        auto& list = p.neighbours[n];
        if (list.empty()) list.push_back(n); // a node on nothing keeps its diagonal
        std::sort(list.begin(), list.end());
        list.erase(std::unique(list.begin(), list.end()), list.end());
        p.start[n + 1] = p.start[n] + 9 * long(list.size());
    }
    return p;
}

// Index of the entry (row dof, column dof) in the compressed storage.
struct Locator {
    const Pattern& p;
    long blockOf(int rowNode, int colNode) const
    {
        const auto& list = p.neighbours[colNode];
        const long k = std::lower_bound(list.begin(), list.end(), rowNode) - list.begin();
        return k;
    }
    long at(int rowDof, int colDof) const
    {
        const int cn = colDof / 3, d = colDof % 3;
        const long width = 3 * long(p.neighbours[cn].size());
        return p.start[cn] + d * width + 3 * blockOf(rowDof / 3, cn) + rowDof % 3;
    }
};

template <int N>
void scatter(const Model& m, int e, const Pattern& p, double* values)
{
    Eigen::Matrix<double, 3 * N, 3 * N> k;
    elementStiffness<N>(m, e, k);
    const Element& el = m.elements[e];
    for (int j = 0; j < N; ++j) {
        const int cn = el.nodes[j];
        const auto& list = p.neighbours[cn];
        const long width = 3 * long(list.size());
        for (int i = 0; i < N; ++i) {
            const long blk = std::lower_bound(list.begin(), list.end(), el.nodes[i]) - list.begin();
            double* base = values + p.start[cn] + 3 * blk;
            for (int b = 0; b < 3; ++b)
                for (int a = 0; a < 3; ++a) base[b * width + a] += k(3 * i + a, 3 * j + b);
        }
    }
}

} // namespace

std::vector<Face> facesOf(const Element& el)
{
    static constexpr int hex[6][8] = {{0, 3, 2, 1, 11, 10, 9, 8},   {4, 5, 6, 7, 12, 13, 14, 15},
                                      {0, 1, 5, 4, 8, 17, 12, 16},  {1, 2, 6, 5, 9, 18, 13, 17},
                                      {2, 3, 7, 6, 10, 19, 14, 18}, {3, 0, 4, 7, 11, 16, 15, 19}};
    static constexpr int wedgeTri[2][6] = {{0, 2, 1, 8, 7, 6}, {3, 4, 5, 9, 10, 11}};
    static constexpr int wedgeQuad[3][8] = {
        {0, 1, 4, 3, 6, 13, 9, 12}, {1, 2, 5, 4, 7, 14, 10, 13}, {2, 0, 3, 5, 8, 12, 11, 14}};
    std::vector<Face> out;
    auto add = [&](const int* local, int n) {
        Face f;
        for (int i = 0; i < n; ++i) f.nodes.push_back(el.nodes[local[i]]);
        out.push_back(std::move(f));
    };
    if (el.type == ElementType::Hex20) {
        for (const auto& f : hex) add(f, 8);
    } else {
        add(wedgeTri[0], 6);
        add(wedgeTri[1], 6);
        for (const auto& f : wedgeQuad) add(f, 8);
    }
    return out;
}

std::vector<BoundaryFace> boundaryFaces(const Model& m)
{
    std::map<std::vector<int>, int> count;
    std::vector<BoundaryFace> all;
    for (int e = 0; e < int(m.elements.size()); ++e) {
        const std::vector<Face> faces = facesOf(m.elements[e]);
        for (int s = 0; s < int(faces.size()); ++s) {
            std::vector<int> key(faces[s].nodes.begin(), faces[s].nodes.begin() + faces[s].nodes.size() / 2);
            std::sort(key.begin(), key.end());
            ++count[key];
            all.push_back({faces[s], e, s});
        }
    }
    std::vector<BoundaryFace> out;
    for (BoundaryFace& b : all) {
        std::vector<int> key(b.face.nodes.begin(), b.face.nodes.begin() + b.face.nodes.size() / 2);
        std::sort(key.begin(), key.end());
        if (count[key] == 1) out.push_back(std::move(b));
    }
    return out;
}

void checkJacobians(const Model& m)
{
    for (int e = 0; e < int(m.elements.size()); ++e) {
        const Element& el = m.elements[e];
        const auto& values = shape::volumeValues(el.type, m.wedgeRule);
        for (const shape::Values& v : values) {
            double det;
            if (el.type == ElementType::Hex20) {
                Eigen::Matrix<double, 3, 20> g;
                det = globalDerivatives<20>(coordsOf<20>(m, el), v, g);
            } else {
                Eigen::Matrix<double, 3, 15> g;
                det = globalDerivatives<15>(coordsOf<15>(m, el), v, g);
            }
            if (!(det > 0))
                throw std::runtime_error(std::string(typeName(el.type)) + " element " + std::to_string(e + 1) +
                                         ": Jacobian not positive at an integration point");
        }
    }
}

void addFacePressure(const Model& m, const Face& face, const std::vector<double>& pressureAtNodes,
                     Eigen::VectorXd& f)
{
    const int nf = int(face.nodes.size());
    if (nf != 6 && nf != 8) throw std::invalid_argument("a face has 6 or 8 nodes");
    if (int(pressureAtNodes.size()) != nf) throw std::invalid_argument("one pressure per face node");
    if (f.size() != m.dofCount()) throw std::invalid_argument("load vector size");
    Eigen::Matrix<double, 3, 8> x = Eigen::Matrix<double, 3, 8>::Zero();
    for (int i = 0; i < nf; ++i) x.col(i) = m.nodes.at(face.nodes[i]);
    for (const shape::FaceValues& v : shape::faceRule(nf)) {
        Vec3 t1 = Vec3::Zero(), t2 = Vec3::Zero();
        double p = 0;
        for (int i = 0; i < nf; ++i) {
            t1 += v.dn[2 * i] * x.col(i);
            t2 += v.dn[2 * i + 1] * x.col(i);
            p += v.n[i] * pressureAtNodes[i];
        }
        const Vec3 load = -(v.weight * p) * t1.cross(t2);
        for (int i = 0; i < nf; ++i) f.segment<3>(3 * face.nodes[i]) += v.n[i] * load;
    }
}

void addBodyForce(const Model& m, const Vec3& force, Eigen::VectorXd& f)
{
    if (f.size() != m.dofCount()) throw std::invalid_argument("load vector size");
    for (int e = 0; e < int(m.elements.size()); ++e) {
        const Element& el = m.elements[e];
        const auto& rule = shape::volumeRule(el.type, m.wedgeRule);
        const auto& values = shape::volumeValues(el.type, m.wedgeRule);
        const int n = nodeCount(el.type);
        for (size_t q = 0; q < rule.size(); ++q) {
            double det;
            if (n == 20) {
                Eigen::Matrix<double, 3, 20> g;
                det = globalDerivatives<20>(coordsOf<20>(m, el), values[q], g);
            } else {
                Eigen::Matrix<double, 3, 15> g;
                det = globalDerivatives<15>(coordsOf<15>(m, el), values[q], g);
            }
            if (!(det > 0)) badJacobian(e);
            for (int i = 0; i < n; ++i) f.segment<3>(3 * el.nodes[i]) += (values[q].n[i] * rule[q].weight * det) * force;
        }
    }
}

Eigen::VectorXd freeStrainLoads(const Model& m)
{
    Eigen::VectorXd f = Eigen::VectorXd::Zero(m.dofCount());
    for (int e = 0; e < int(m.elements.size()); ++e) {
        if (m.elements[e].type == ElementType::Hex20)
            freeStrainForces<20>(m, e, f);
        else
            freeStrainForces<15>(m, e, f);
    }
    return f;
}

Eigen::SparseMatrix<double> assemble(const Model& m, Eigen::VectorXd* freeStrainForcesOut)
{
    const Pattern p = buildPattern(m);
    const int nd = m.dofCount();
    Eigen::SparseMatrix<double> k(nd, nd);
    const long nnz = p.start.back();
    k.resizeNonZeros(nnz);
    int* outer = k.outerIndexPtr();
    int* inner = k.innerIndexPtr();
    double* values = k.valuePtr();
    for (int n = 0; n < int(m.nodes.size()); ++n) {
        const auto& list = p.neighbours[n];
        const long width = 3 * long(list.size());
        for (int d = 0; d < 3; ++d) {
            const long s = p.start[n] + d * width;
            outer[3 * n + d] = int(s);
            for (size_t b = 0; b < list.size(); ++b)
                for (int a = 0; a < 3; ++a) inner[s + 3 * b + a] = 3 * list[b] + a;
        }
    }
    outer[nd] = int(nnz);
    std::fill(values, values + nnz, 0.0);
    for (int e = 0; e < int(m.elements.size()); ++e) {
        if (m.elements[e].type == ElementType::Hex20)
            scatter<20>(m, e, p, values);
        else
            scatter<15>(m, e, p, values);
    }
    const Locator loc{p};
    for (const StiffnessBlock& b : m.springs) {
        const int n = int(b.dofs.size());
        if (b.k.rows() != n || b.k.cols() != n) throw std::invalid_argument("spring block size");
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i) values[loc.at(b.dofs[i], b.dofs[j])] += b.k(i, j);
    }
    if (freeStrainForcesOut) *freeStrainForcesOut = freeStrainLoads(m);
    return k;
}

// CHOLMOD used through its C interface. The fill-reducing ordering is METIS
// nested dissection of the graph of the nodes (a third of the size of the
// equations' graph, and it keeps a node's three equations together, which
// gives fewer operations than ordering the equations themselves); the
// supernodes are amalgamated more than by default, which the BLAS
// rewards. One analysis can serve several matrices of the same pattern.
namespace {

// An optimised BLAS with threads of its own (OpenBLAS) spends more time
// waking and waiting for them than it saves on factors of this size, and
// the two factorisations of factoriseTogether already use two threads: it
// is asked for one thread. Any other BLAS is left as it is.
void singleThreadedBlas()
{
    static const bool done = [] {
        using SetThreads = void (*)(int);
        if (const auto set = reinterpret_cast<SetThreads>(QLibrary::resolve("openblas", 0, "openblas_set_num_threads")))
            set(1);
        return true;
    }();
    (void)done;
}

// CHOLMOD's supernodal factorisation, when built with OpenMP (GNU libgomp),
// opens teams of four threads for its scatter and gather steps; two
// factorisations side by side then keep eight threads spinning on two
// cores, a fifth of the whole analysis's CPU time for nothing. Its parallel
// regions are made to run on the calling thread (the setting belongs to
// each thread, so it is made on the thread that factorises). Any other
// runtime is left as it is.
void serialParallelRegions()
{
    using SetLevels = void (*)(int);
    static const auto set = reinterpret_cast<SetLevels>(QLibrary::resolve("gomp", 1, "omp_set_max_active_levels"));
    if (set) set(0);
}

} // namespace

struct Solver::Impl {
    Eigen::SparseMatrix<double> k;     // whole stiffness with the springs
    Eigen::SparseMatrix<double> lower; // lower triangle of the free equations
    std::vector<int> freeIndex;        // per dof: equation number, or -1 when fixed
    std::vector<int> dofOf;            // per equation
    cholmod_common cc;
    cholmod_factor* symbolic = nullptr; // the analysis, kept for solvers of the same pattern
    cholmod_factor* factor = nullptr;

    Impl()
    {
        singleThreadedBlas();
        cholmod_start(&cc);
        cc.print = 0; // failures are reported by the caller, not on the console
        cc.nmethods = 1;
        cc.method[0].ordering = CHOLMOD_GIVEN;
        cc.postorder = 1;
        cc.supernodal = CHOLMOD_SUPERNODAL;
        cc.nrelax[0] = 16;
        cc.nrelax[1] = 48;
        cc.nrelax[2] = 128;
    }
    ~Impl()
    {
        if (factor) cholmod_free_factor(&factor, &cc);
        if (symbolic) cholmod_free_factor(&symbolic, &cc);
        cholmod_finish(&cc);
    }
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    cholmod_sparse view()
    {
        cholmod_sparse a = Eigen::viewAsCholmod(lower);
        a.stype = -1; // lower triangle of a symmetric matrix
        return a;
    }

    void build(const Model& m)
    {
        k = assemble(m);
        const int nd = m.dofCount();
        freeIndex.assign(nd, 0);
        for (int d : m.fixedDofs) {
            if (d < 0 || d >= nd) throw std::out_of_range("fixed dof out of range");
            freeIndex[d] = -1;
        }
        for (int d = 0; d < nd; ++d)
            if (freeIndex[d] == 0) {
                freeIndex[d] = int(dofOf.size());
                dofOf.push_back(d);
            }
        // The lower triangle of the free rows and columns; equations keep
        // the dofs' order, so the row order within a column is kept.
        const int ne = int(dofOf.size());
        lower.resize(ne, ne);
        std::vector<int> count(ne + 1, 0);
        for (int c = 0; c < ne; ++c) {
            const int dc = dofOf[c];
            for (Eigen::SparseMatrix<double>::InnerIterator it(k, dc); it; ++it)
                if (it.row() >= dc && freeIndex[it.row()] >= 0) ++count[c + 1];
        }
        for (int c = 0; c < ne; ++c) count[c + 1] += count[c];
        lower.resizeNonZeros(count[ne]);
        std::copy(count.begin(), count.end(), lower.outerIndexPtr());
        int* inner = lower.innerIndexPtr();
        double* val = lower.valuePtr();
        for (int c = 0; c < ne; ++c) {
            int pos = count[c];
            const int dc = dofOf[c];
            for (Eigen::SparseMatrix<double>::InnerIterator it(k, dc); it; ++it)
                if (it.row() >= dc && freeIndex[it.row()] >= 0) {
                    inner[pos] = freeIndex[it.row()];
                    val[pos++] = it.value();
                }
        }
    }

    // Orders the nodes by METIS on their graph (the pattern of the
    // stiffness in 3 x 3 blocks), then the free equations node by node.
    void analyse()
    {
        const int nn = int(k.cols() / 3);
        std::vector<int> p(nn + 1, 0), idx;
        idx.reserve(k.nonZeros() / 9 + nn);
        for (int n = 0; n < nn; ++n) {
            for (Eigen::SparseMatrix<double>::InnerIterator it(k, 3 * n); it; ++it)
                if (it.row() % 3 == 0) idx.push_back(int(it.row() / 3));
            p[n + 1] = int(idx.size());
        }
        cholmod_sparse g{};
        g.nrow = g.ncol = size_t(nn);
        g.nzmax = idx.size();
        g.p = p.data();
        g.i = idx.data();
        g.stype = -1;
        g.itype = CHOLMOD_INT;
        g.xtype = CHOLMOD_PATTERN;
        g.dtype = CHOLMOD_DOUBLE;
        g.sorted = 1;
        g.packed = 1;
        std::vector<int> nodeOrder(nn);
        if (!cholmod_metis(&g, nullptr, 0, 1, nodeOrder.data(), &cc))
            throw std::runtime_error("the stiffness matrix cannot be ordered for its factorisation");
        std::vector<int> perm;
        perm.reserve(dofOf.size());
        for (int n : nodeOrder)
            for (int d = 0; d < 3; ++d)
                if (freeIndex[3 * n + d] >= 0) perm.push_back(freeIndex[3 * n + d]);
        cholmod_sparse a = view();
        symbolic = cholmod_analyze_p(&a, perm.data(), nullptr, 0, &cc);
        if (!symbolic) throw std::runtime_error("the stiffness matrix cannot be ordered for its factorisation");
    }

    void factorise()
    {
        serialParallelRegions();
        cholmod_sparse a = view();
        const int ok = cholmod_factorize(&a, factor, &cc);
        if (!ok || cc.status != CHOLMOD_OK || factor->minor < factor->n)
            throw std::runtime_error(cc.status == CHOLMOD_OUT_OF_MEMORY
                                         ? "not enough memory for the factorisation of the stiffness matrix"
                                         : "the stiffness matrix is not positive definite: the model is not held "
                                           "against every rigid movement, or an element or material is invalid");
    }
};

Solver::Solver(const Model& m) : impl_(std::make_unique<Impl>())
{
    Impl& s = *impl_;
    s.build(m);
    s.analyse();
    s.factor = cholmod_copy_factor(s.symbolic, &s.cc);
    if (!s.factor) throw std::runtime_error("not enough memory for the factorisation of the stiffness matrix");
    s.factorise();
}

Solver::Solver(const Model& m, const Solver& samePattern) : impl_(std::make_unique<Impl>())
{
    Impl& s = *impl_;
    const Impl& p = *samePattern.impl_;
    s.build(m);
    const bool same = s.dofOf == p.dofOf && s.lower.nonZeros() == p.lower.nonZeros() &&
                      std::equal(s.lower.outerIndexPtr(), s.lower.outerIndexPtr() + s.lower.cols() + 1,
                                 p.lower.outerIndexPtr()) &&
                      std::equal(s.lower.innerIndexPtr(), s.lower.innerIndexPtr() + s.lower.nonZeros(),
                                 p.lower.innerIndexPtr());
    if (!same) throw std::invalid_argument("the models' stiffness matrices differ in pattern");
    s.factor = cholmod_copy_factor(p.symbolic, &s.cc);
    if (!s.factor) throw std::runtime_error("not enough memory for the factorisation of the stiffness matrix");
    s.factorise();
}

Solver::Solver(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

std::pair<std::unique_ptr<Solver>, std::unique_ptr<Solver>> factoriseTogether(const Model& a, const Model& b)
{
    // The second matrix is assembled on its own thread while this one
    // assembles and orders the first; it is then factorised there with the
    // first's analysis while this one factorises the first.
    auto first = std::make_unique<Solver::Impl>();
    auto second = std::make_unique<Solver::Impl>();
    std::promise<bool> analysed; // true when the first's analysis is there to share
    std::future<bool> firstReady = analysed.get_future();
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            second->build(b);
            if (!firstReady.get()) return;
            const bool same = second->dofOf == first->dofOf && second->lower.nonZeros() == first->lower.nonZeros() &&
                              std::equal(second->lower.outerIndexPtr(),
                                         second->lower.outerIndexPtr() + second->lower.cols() + 1,
                                         first->lower.outerIndexPtr()) &&
                              std::equal(second->lower.innerIndexPtr(),
                                         second->lower.innerIndexPtr() + second->lower.nonZeros(),
                                         first->lower.innerIndexPtr());
            if (!same) throw std::invalid_argument("the models' stiffness matrices differ in pattern");
            second->factor = cholmod_copy_factor(first->symbolic, &second->cc);
            if (!second->factor)
                throw std::runtime_error("not enough memory for the factorisation of the stiffness matrix");
            second->factorise();
        } catch (...) {
            failure = std::current_exception();
        }
    });
    try {
        first->build(a);
        first->analyse();
        analysed.set_value(true);
    } catch (...) {
        analysed.set_value(false);
        worker.join();
        throw;
    }
    try {
        first->factor = cholmod_copy_factor(first->symbolic, &first->cc);
        if (!first->factor) throw std::runtime_error("not enough memory for the factorisation of the stiffness matrix");
        first->factorise();
    } catch (...) {
        worker.join();
        throw;
    }
    worker.join();
    if (failure) std::rethrow_exception(failure);
    return {std::unique_ptr<Solver>(new Solver(std::move(first))), std::unique_ptr<Solver>(new Solver(std::move(second)))};
}

Solver::~Solver() = default;

Eigen::VectorXd Solver::solve(const Eigen::VectorXd& f) const
{
    Impl& s = *impl_;
    if (f.size() != s.k.rows()) throw std::invalid_argument("load vector size");
    Eigen::VectorXd fr(s.dofOf.size());
    for (size_t i = 0; i < s.dofOf.size(); ++i) fr[i] = f[s.dofOf[i]];
    cholmod_dense b = Eigen::viewAsCholmod(fr);
    cholmod_dense* x = cholmod_solve(CHOLMOD_A, s.factor, &b, &s.cc);
    if (!x) throw std::runtime_error("the factorised stiffness matrix cannot be solved");
    Eigen::VectorXd u = Eigen::VectorXd::Zero(f.size());
    const double* xv = static_cast<const double*>(x->x);
    for (size_t i = 0; i < s.dofOf.size(); ++i) u[s.dofOf[i]] = xv[i];
    cholmod_free_dense(&x, &s.cc);
    return u;
}

const Eigen::SparseMatrix<double>& Solver::stiffness() const { return impl_->k; }

int Solver::equations() const { return int(impl_->dofOf.size()); }

Eigen::VectorXd reactions(const Solver& s, const Eigen::VectorXd& u, const Eigen::VectorXd& f)
{
    return s.stiffness() * u - f;
}

Stress stressAt(const Model& m, int element, const Vec3& natural, const Eigen::VectorXd& u)
{
    const Element& el = elementAt(m, element);
    if (u.size() != m.dofCount()) throw std::invalid_argument("displacement vector size");
    return el.type == ElementType::Hex20 ? stressAtPoint<20>(m, element, natural, u)
                                         : stressAtPoint<15>(m, element, natural, u);
}

// Hex20: the stresses at the 2 x 2 x 2 Gauss points are extended trilinearly
// to the corners (the points sit at +-1/sqrt3, so a corner is at +-sqrt3 in
// the points' own coordinates); a mid-edge node takes the mean of its two
// corners. Wedge15 likewise from the 3 x 2 points (3-point triangle rule,
// 2-point Gauss across), linear over the triangle and across.
std::vector<Stress> nodalStresses(const Model& m, int element, const Eigen::VectorXd& u)
{
    const Element& el = elementAt(m, element);
    const auto& pts = shape::samplingPoints(el.type);
    std::vector<Stress> at;
    for (const shape::Point& p : pts) at.push_back(stressAt(m, element, p.natural, u));
    const int n = nodeCount(el.type);
    std::vector<Stress> out(n, Stress::Zero());
    const double r3 = std::sqrt(3.0);
    if (el.type == ElementType::Hex20) {
        for (int c = 0; c < 8; ++c) {
            const Vec3 nat = shape::naturalOfNode(el.type, c) * r3;
            for (int q = 0; q < 8; ++q) {
                const Vec3 pq = pts[q].natural * r3; // +-1
                const double w = 0.125 * (1 + pq.x() * nat.x()) * (1 + pq.y() * nat.y()) * (1 + pq.z() * nat.z());
                out[c] += w * at[q];
            }
        }
        constexpr int edges[12][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6},
                                      {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
        for (int k = 0; k < 12; ++k) out[8 + k] = 0.5 * (out[edges[k][0]] + out[edges[k][1]]);
    } else {
        // Triangle points (1/6,1/6) (2/3,1/6) (1/6,2/3): the linear
        // interpolant through them, evaluated at the corners, has weights
        // 5/3 on the nearest point and -1/3 on the others.
        for (int c = 0; c < 6; ++c) {
            const int t = c % 3;
            const double zc = c < 3 ? -r3 : r3;
            for (int lvl = 0; lvl < 2; ++lvl) {
                const double zq = lvl == 0 ? -1 : 1;
                const double wz = 0.5 * (1 + zq * zc);
                for (int k = 0; k < 3; ++k) out[c] += (wz * (k == t ? 5.0 / 3 : -1.0 / 3)) * at[3 * lvl + k];
            }
        }
        constexpr int edges[9][2] = {{0, 1}, {1, 2}, {2, 0}, {3, 4}, {4, 5}, {5, 3}, {0, 3}, {1, 4}, {2, 5}};
        for (int k = 0; k < 9; ++k) out[6 + k] = 0.5 * (out[edges[k][0]] + out[edges[k][1]]);
    }
    return out;
}

Vec3 naturalOfNode(ElementType t, int localNode)
{
    if (localNode < 0 || localNode >= nodeCount(t)) throw std::out_of_range("local node");
    return shape::naturalOfNode(t, localNode);
}

} // namespace velta::engine::solid
