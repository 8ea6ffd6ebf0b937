// The family of dams of the convergence study (tests/data/family): every
// member reads without a message and analyses at the default level with its
// loads in balance; and the forces on the rock per foot of foundation at the
// cantilevers' feet add up, along the foundation line, to the rock's whole
// reaction.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "forms/DeckReader.h"
#include "engine/Engine.h"
#include "engine/Geometry.h"
#include "model/Messages.h"
#include "app/shell/Session.h"
#include "test_engine_support.h"

using namespace velta;
using namespace velta::engine;

namespace {

constexpr double kDeg = 3.14159265358979323846 / 180;

std::string familyDir() { return std::string(VELTA_TEST_DATA) + "/family/"; }

// A family deck through the program's reader; every message it gives is a
// failure of the deck.
CaseModel readFamilyDeck(const std::string& name)
{
    ListSink sink;
    FixedPrompter prompter{std::string()};
    Session session(sink, prompter);
    bool accepted = true;
    LectureDonnees(session, accepted, familyDir() + name);
    EXPECT_TRUE(accepted) << name;
    EXPECT_TRUE(session.main.caseValidated()) << name;
    for (const auto& t : sink.texts()) ADD_FAILURE() << name << ": " << t;
    EXPECT_TRUE(prompter.asked.empty()) << name;
    EXPECT_TRUE(prompter.confirmations.empty()) << name;
    return session.model;
}

struct Member {
    const char* file;
    int centres;
    int arches;
    bool weight;      // a unit weight is given
    bool temperature; // temperature changes are active
};

const Member kFamily[] = {
    {"thick_double_curvature.dat", 1, 7, true, false},
    {"weight_switch_on.dat", 1, 7, true, false},
    {"asymmetric_valley.dat", 1, 5, true, false},
    {"two_centred_unequal.dat", 2, 6, true, false},
    {"thin.dat", 1, 6, true, false},
    {"soft_rock.dat", 1, 5, true, false},
    {"temperatures.dat", 1, 5, true, true},
};

// The dam's forces on the rock per foot at a cantilever's foot, in global
// axes, and the foot's point at mid-thickness.
struct Foot {
    Vec3 point, force;
};

Foot footOf(const DamGeometry& g, const AnalysisResult& r, const AbutmentResult& ab)
{
    const double angle = r.layout.angle[ab.slot];
    const double beta = g.betaOfA(angle, ab.z);
    Vec3 tOut(std::cos(beta * kDeg), std::sin(beta * kDeg), 0);
    if (angle < 0) tOut = -tOut; // toward the left abutment
    const SectionPoint p = g.section(beta, ab.z);
    Foot f;
    f.point = p.mid;
    f.force = ab.tangential * tOut + ab.vertical * Vec3(0, 0, -1) + ab.radial * (-p.ray);
    return f;
}

// The per-foot forces integrated along the foundation line through the
// slots' feet, s the length along the chords between them. The force varies
// smoothly along the line but the feet are few (one per arch and side), so
// each interval takes the mean of the integrals of the parabolas through it
// and either neighbouring foot, 3-point Gauss on the interval (exact for a
// parabola).
Vec3 integrateAlongFoundation(const DamGeometry& g, const AnalysisResult& r)
{
    std::vector<Foot> feet;
    for (const AbutmentResult& ab : r.abutments) feet.push_back(footOf(g, r, ab));
    const size_t n = feet.size();
    std::vector<double> s(n, 0.0);
    for (size_t i = 1; i < n; ++i) s[i] = s[i - 1] + (feet[i].point - feet[i - 1].point).norm();
    auto parabola = [&](size_t k, double x) { // through feet k, k+1, k+2
        Vec3 v = Vec3::Zero();
        for (size_t i = k; i < k + 3; ++i) {
            double w = 1;
            for (size_t j = k; j < k + 3; ++j)
                if (j != i) w *= (x - s[j]) / (s[i] - s[j]);
            v += w * feet[i].force;
        }
        return v;
    };
    const double gp[3] = {-std::sqrt(0.6), 0, std::sqrt(0.6)}, gw[3] = {5.0 / 9, 8.0 / 9, 5.0 / 9};
    Vec3 total = Vec3::Zero();
    for (size_t i = 0; i + 1 < n; ++i) {
        const double h = s[i + 1] - s[i], mid = 0.5 * (s[i] + s[i + 1]);
        std::vector<size_t> fits;
        if (i >= 1) fits.push_back(i - 1);
        if (i + 2 < n) fits.push_back(i);
        for (size_t k : fits)
            for (int q = 0; q < 3; ++q) total += gw[q] * 0.5 * h * parabola(k, mid + 0.5 * h * gp[q]) / fits.size();
    }
    return total;
}

} // namespace

// Every member at the default level: no message from the reader, a result on
// every arch of every slot, and the rock's reaction equal to the loads.
TEST(EngineFamily, EveryMemberAnalysesAtTheDefaultLevelInBalance)
{
    size_t decks = 0;
    for (const auto& e : std::filesystem::directory_iterator(familyDir()))
        decks += e.path().extension() == ".dat";
    EXPECT_EQ(decks, std::size(kFamily)) << "a family deck without its row here";
    for (const Member& f : kFamily) {
        SCOPED_TRACE(f.file);
        const CaseModel m = readFamilyDeck(f.file);
        EXPECT_EQ(m.NbCenter, f.centres);
        EXPECT_EQ(m.NbArcs, f.arches);
        EXPECT_EQ(m.LastCons - m.FirstCons, 2 * (f.arches - 1));
        EXPECT_EQ(m.ThUni || m.ThLin, f.temperature);
        AnalysisResult r;
        ASSERT_NO_THROW(r = analyse(m)) << f.file;
        EXPECT_EQ(r.level, 1);
        EXPECT_EQ(r.weightSeparate, f.weight && !m.WeightDistribution);
        ASSERT_EQ(int(r.cantilevers.size()), m.LastCons - m.FirstCons + 1);
        // Water and weight are balanced by the rock; temperatures add none.
        EXPECT_GT(r.applied.y(), 0);
        if (f.weight) {
            EXPECT_LT(r.applied.z(), 0);
        }
        EXPECT_LT((r.reaction - r.applied).norm(), 1e-6 * r.applied.norm());
        EXPECT_NEAR(r.reactionMoment, r.appliedMoment, 1e-6 * r.applied.norm() * 100);
        EXPECT_LT(r.residual, 1e-8);
        // The crown moves downstream at the crest and every result is a number.
        for (const auto& c : r.cantilevers)
            for (const auto& p : c.points) ASSERT_TRUE(std::isfinite(p.radial + p.up.hoop + p.down.s1 + p.Nv));
        const auto crown = std::find_if(r.cantilevers.begin(), r.cantilevers.end(),
                                        [](const CantileverResult& c) { return c.angle == 0; });
        ASSERT_NE(crown, r.cantilevers.end());
        EXPECT_LT(crown->points.front().radial, 0);
    }
}

// The forces on the rock per foot of foundation at the feet of the slots
// (three elements through the thickness at the default level: the contact
// strips' mid-thickness line is no line of nodes) integrate along the
// foundation line to the rock's whole reaction; mirrored slots of a
// symmetric dam carry mirrored forces; the crown's foot carries about the
// weight of the crown section above it.
TEST(EngineFamily, AbutmentForcesPerFootAddUpToTheReaction)
{
    struct Case {
        const char* name;
        CaseModel m;
        double tolerance; // of the reaction's size: the error of the quadrature on few feet
    };
    // Nine feet on T1's V valley leave 4.5 % to the quadrature (the force per
    // foot peaks between the lowest arch and the crown's foot); the eleven
    // arches' 21 feet leave 0.5 %.
    const Case cases[] = {
        {"T1", test::caseT1(), 0.06},
        {"thick", readFamilyDeck("thick_double_curvature.dat"), 0.03},
        {"two-centred", readFamilyDeck("two_centred_unequal.dat"), 0.035},
        {"eleven arches", test::caseTwoCentres(), 0.01},
    };
    AnalysisResult thickResult;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DamGeometry g(c.m);
        const AnalysisResult r = analyse(c.m);
        if (&c == &cases[1]) thickResult = r;
        ASSERT_EQ(r.thicknessDivisions % 2, 1) << "the case of an odd number of divisions is the one to check";
        const Vec3 integrated = integrateAlongFoundation(g, r);
        EXPECT_LT((integrated - r.reaction).norm(), c.tolerance * r.reaction.norm())
            << "integrated " << integrated.transpose() << " reaction " << r.reaction.transpose();
    }

    // Mirrored slots of the symmetric thick dam.
    const CaseModel& thick = cases[1].m;
    const AnalysisResult& r = thickResult;
    const size_t n = r.abutments.size();
    double largest = 0;
    for (const auto& a : r.abutments) largest = std::max(largest, a.force1 + a.force2);
    for (size_t i = 0; i < n / 2; ++i) {
        const AbutmentResult &a = r.abutments[i], &b = r.abutments[n - 1 - i];
        EXPECT_NEAR(a.z, b.z, 1e-9);
        EXPECT_NEAR(a.tangential, b.tangential, 0.005 * largest) << "slot " << a.slot;
        EXPECT_NEAR(a.vertical, b.vertical, 0.005 * largest) << "slot " << a.slot;
        EXPECT_NEAR(a.radial, b.radial, 0.005 * largest) << "slot " << a.slot;
    }

    // The crown's foot: the vertical force per foot there is of the order of
    // the weight of the crown section above it (unit weight times the
    // section's area; 0.70 of it measured: at the bottom of the V the foot's
    // strips slope up on both sides and the weight spreads toward the banks).
    const AbutmentResult& crown = r.abutments[n / 2];
    ASSERT_EQ(r.layout.angle[crown.slot], 0);
    const DamGeometry g(thick);
    double area = 0;
    const int steps = 600;
    const double h = (g.top - g.base) / steps;
    for (int i = 0; i < steps; ++i) {
        const double z = g.base + (i + 0.5) * h;
        area += (g.downFace(z) - g.upFace(z)) * h;
    }
    const double weight = thick.Wc[kImperial] * area;
    EXPECT_GT(crown.vertical, 0.5 * weight);
    EXPECT_LT(crown.vertical, 2.0 * weight);
}
