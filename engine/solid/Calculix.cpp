#include "engine/solid/Calculix.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>
#include <stdexcept>

#include "deck/DeckWriter.h"
#include "engine/solid/Fem.h"

namespace velta::engine::solid {

namespace {

// CalculiX reads a real in at most 20 characters and wants its decimal
// point: 14 significant digits in E format fit.
std::string num(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.13E", v);
    return buf;
}

// One spring element: to the ground (node2 < 0) or between two dofs (of
// two nodes or of one).
struct Spring {
    int node1, dof1, node2, dof2;
    double k;
};

// Every block as springs: with s_i the row sums, a block is
// sum s_i e_i e_i^T + sum_{i<j} (-K_ij) (e_i - e_j)(e_i - e_j)^T. The
// blocks' terms are summed per dof and per pair of dofs first.
std::vector<Spring> springsOf(const Model& m)
{
    std::map<int, double> ground;
    std::map<std::pair<int, int>, double> pairs;
    for (size_t index = 0; index < m.springs.size(); ++index) {
        const StiffnessBlock& b = m.springs[index];
        const int n = int(b.dofs.size());
        const double scale = b.k.size() ? b.k.cwiseAbs().maxCoeff() : 0;
        if (scale == 0) continue;
        if ((b.k - b.k.transpose()).cwiseAbs().maxCoeff() > 1e-12 * scale)
            throw std::runtime_error("spring block " + std::to_string(index + 1) +
                                     " is not symmetric: CalculiX springs cannot express it");
        for (int i = 0; i < n; ++i) {
            ground[b.dofs[i]] += b.k.row(i).sum();
            for (int j = i + 1; j < n; ++j) {
                if (b.k(i, j) == 0) continue;
                if (b.dofs[i] == b.dofs[j]) continue; // a dof with itself: only its row sum counts
                const auto key = std::minmax(b.dofs[i], b.dofs[j]);
                pairs[{key.first, key.second}] -= b.k(i, j);
            }
        }
    }
    std::vector<Spring> out;
    for (const auto& [d, k] : ground)
        if (k != 0) out.push_back({d / 3, d % 3, -1, 0, k});
    for (const auto& [d, k] : pairs)
        if (k != 0) out.push_back({d.first / 3, d.first % 3, d.second / 3, d.second % 3, k});
    return out;
}

} // namespace

std::string calculixInput(const Model& m, const Eigen::VectorXd& f)
{
    if (f.size() != m.dofCount()) throw std::invalid_argument("load vector size");
    if (m.wedgeRule != WedgeRule::Points9)
        for (const Element& el : m.elements)
            if (el.type == ElementType::Wedge15)
                throw std::runtime_error("CalculiX integrates its wedges (C3D15) with 9 points: the model's wedges "
                                         "must use the same rule for the comparison");
    std::ostringstream o;
    o << "*HEADING\nVELTA solid model\n*NODE, NSET=NALL\n";
    for (size_t n = 0; n < m.nodes.size(); ++n)
        o << n + 1 << ", " << num(m.nodes[n].x()) << ", " << num(m.nodes[n].y()) << ", " << num(m.nodes[n].z())
          << "\n";

    // Elements grouped by type and material (isotropic) or one set each
    // (anisotropic), each set with its own section.
    std::map<std::pair<int, int>, std::vector<int>> groups; // (type, material or -1-element) -> elements
    for (int e = 0; e < int(m.elements.size()); ++e) {
        const Element& el = m.elements[e];
        const Material& mat = m.materials.at(el.material);
        const int key = mat.hoopFactor == 1 ? el.material : -1 - e;
        groups[{int(el.type), key}].push_back(e);
    }
    int setNo = 0;
    std::ostringstream sections;
    for (const auto& [key, elements] : groups) {
        const bool hex = key.first == int(ElementType::Hex20);
        const std::string set = "E" + std::to_string(++setNo);
        o << "*ELEMENT, TYPE=" << (hex ? "C3D20" : "C3D15") << ", ELSET=" << set << "\n";
        for (int e : elements) {
            const Element& el = m.elements[e];
            const int n = nodeCount(el.type);
            o << e + 1;
            // Continuation lines hold at most 15 entries.
            for (int i = 0; i < n; ++i) o << (i == 15 ? ",\n" : ", ") << el.nodes[i] + 1;
            o << "\n";
        }
        const std::string matName = "M" + std::to_string(setNo);
        if (key.second >= 0) {
            const Material& mat = m.materials.at(key.second);
            sections << "*MATERIAL, NAME=" << matName << "\n*ELASTIC\n" << num(mat.E) << ", " << num(mat.nu) << "\n";
        } else {
            const Element& el = m.elements[elements.front()];
            const Eigen::Matrix<double, 6, 6> d = elasticity(m.materials.at(el.material), el.hoop);
            // D1111 D1122 D2222 D1133 D2233 D3333 D1112 D2212 / D3312 D1212
            // D1113 D2213 D3313 D1213 D1313 D1123 / D2223 D3323 D1223 D1323
            // D2323 in the order of our engineering-strain matrix (xx yy zz
            // xy yz zx).
            const int ij[21][2] = {{0, 0}, {0, 1}, {1, 1}, {0, 2}, {1, 2}, {2, 2}, {0, 3}, {1, 3}, {2, 3}, {3, 3}, {0, 5},
                                   {1, 5}, {2, 5}, {3, 5}, {5, 5}, {0, 4}, {1, 4}, {2, 4}, {3, 4}, {5, 4}, {4, 4}};
            sections << "*MATERIAL, NAME=" << matName << "\n*ELASTIC, TYPE=ANISO\n";
            for (int k = 0; k < 21; ++k) sections << num(d(ij[k][0], ij[k][1])) << ((k % 8 == 7 || k == 20) ? "\n" : ", ");
        }
        sections << "*SOLID SECTION, ELSET=" << set << ", MATERIAL=" << matName << "\n";
    }

    const std::vector<Spring> springs = springsOf(m);
    int elementNo = int(m.elements.size());
    for (size_t s = 0; s < springs.size(); ++s) {
        const Spring& sp = springs[s];
        const std::string set = "S" + std::to_string(s + 1);
        ++elementNo;
        if (sp.node2 < 0) {
            o << "*ELEMENT, TYPE=SPRING1, ELSET=" << set << "\n" << elementNo << ", " << sp.node1 + 1 << "\n";
            sections << "*SPRING, ELSET=" << set << "\n" << sp.dof1 + 1 << "\n" << num(sp.k) << "\n";
        } else {
            o << "*ELEMENT, TYPE=SPRING2, ELSET=" << set << "\n"
              << elementNo << ", " << sp.node1 + 1 << ", " << sp.node2 + 1 << "\n";
            sections << "*SPRING, ELSET=" << set << "\n"
                     << sp.dof1 + 1 << ", " << sp.dof2 + 1 << "\n" << num(sp.k) << "\n";
        }
    }
    o << sections.str();
    if (!m.fixedDofs.empty()) {
        o << "*BOUNDARY\n";
        for (int d : m.fixedDofs) o << d / 3 + 1 << ", " << d % 3 + 1 << ", " << d % 3 + 1 << "\n";
    }
    o << "*STEP\n*STATIC\n";
    bool header = false;
    for (int d = 0; d < m.dofCount(); ++d) {
        if (f[d] == 0) continue;
        if (!header) o << "*CLOAD\n";
        header = true;
        o << d / 3 + 1 << ", " << d % 3 + 1 << ", " << num(f[d]) << "\n";
    }
    o << "*NODE PRINT, NSET=NALL\nU\n*END STEP\n";
    return o.str();
}

std::string findCalculix()
{
    const QString env = QProcessEnvironment::systemEnvironment().value("VELTA_CCX");
    if (!env.isEmpty()) return QFileInfo(env).isExecutable() ? env.toStdString() : std::string();
    return QStandardPaths::findExecutable("ccx").toStdString();
}

Eigen::VectorXd readCalculixDisplacements(const std::string& datText, int nodeCount)
{
    Eigen::VectorXd u = Eigen::VectorXd::Zero(3 * nodeCount);
    std::istringstream in(datText);
    std::string line;
    bool inBlock = false, found = false;
    std::vector<bool> seen(nodeCount, false);
    while (std::getline(in, line)) {
        if (line.find("displacements") != std::string::npos) {
            inBlock = true;
            found = true;
            continue;
        }
        if (!inBlock) continue;
        std::istringstream row(line);
        long node;
        double v[3];
        if (!(row >> node >> v[0] >> v[1] >> v[2])) {
            if (line.find_first_not_of(" \t\r") != std::string::npos) inBlock = false;
            continue;
        }
        if (node < 1 || node > nodeCount) throw std::runtime_error("CalculiX printed an unknown node " + std::to_string(node));
        for (int k = 0; k < 3; ++k) u[3 * (node - 1) + k] = v[k];
        seen[node - 1] = true;
    }
    if (!found) throw std::runtime_error("CalculiX printed no displacements");
    for (int n = 0; n < nodeCount; ++n)
        if (!seen[n]) throw std::runtime_error("CalculiX printed no displacement for node " + std::to_string(n + 1));
    return u;
}

CalculixResult runCalculix(const Model& m, const Eigen::VectorXd& f, const std::string& ccx)
{
    if (ccx.empty()) throw std::runtime_error("CalculiX (ccx) not found");
    const std::string input = calculixInput(m, f);
    QTemporaryDir dir;
    if (!dir.isValid()) throw std::runtime_error("no temporary folder: " + dir.errorString().toStdString());
    writeFileAtomically(dir.filePath("model.inp").toStdString(), input);
    QProcess p;
    p.setWorkingDirectory(dir.path());
    p.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer timer;
    timer.start();
    p.start(QString::fromStdString(ccx), {"-i", "model"});
    if (!p.waitForStarted(30000)) throw std::runtime_error("CalculiX did not start: " + p.errorString().toStdString());
    p.waitForFinished(-1);
    CalculixResult r;
    r.seconds = timer.nsecsElapsed() * 1e-9;
    r.log = p.readAll().toStdString();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0 || r.log.find("*ERROR") != std::string::npos) {
        const auto at = r.log.find("*ERROR");
        throw std::runtime_error("CalculiX failed" +
                                 (at == std::string::npos ? std::string() : ": " + r.log.substr(at, r.log.find('\n', at) - at)));
    }
    QFile dat(dir.filePath("model.dat"));
    if (!dat.open(QIODevice::ReadOnly)) throw std::runtime_error("CalculiX wrote no results");
    r.u = readCalculixDisplacements(dat.readAll().toStdString(), int(m.nodes.size()));
    return r;
}

DisplacementComparison compareDisplacements(const Eigen::VectorXd& ours, const Eigen::VectorXd& other)
{
    if (ours.size() != other.size() || ours.size() % 3) throw std::invalid_argument("displacement vector sizes");
    DisplacementComparison c;
    for (int n = 0; n < int(ours.size() / 3); ++n) {
        c.largest = std::max(c.largest, ours.segment<3>(3 * n).norm());
        const double d = (ours.segment<3>(3 * n) - other.segment<3>(3 * n)).norm();
        if (d > c.maxDifference || c.worstNode < 0) {
            c.maxDifference = d;
            c.worstNode = n;
        }
    }
    return c;
}

} // namespace velta::engine::solid
