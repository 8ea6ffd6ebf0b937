// Drawing time of every view at 1920 x 1080 on the painting canvas, with a
// dam of 11 arches, 21 cantilevers and full results built in code.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <cmath>
#include <memory>
#include <string>

#include "app/shell/Session.h"
#include "graphics/Graphique.h"
#include "graphics/PaintingCanvas.h"
#include "graphics/ResultViews.h"

using namespace velta;

namespace {

void ensureApp()
{
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "velta_bench";
    static char* argv[] = {name, nullptr};
    // Kept for the whole run: destroying it among the static destructors,
    // after Qt's own, crashes at exit.
    new QGuiApplication(argc, argv);
}

std::string num(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

double thickness(double z)
{
    return 80 - 0.1 * z;
}

// A 600 ft dam of radius 800 ft; arch k at 60 k ft with abutment angles
// 10 + 4 k degrees, one cantilever at each abutment of each arch.
struct BigDam {
    ListSink sink;
    FixedPrompter prompter;
    Session s{sink, prompter};

    BigDam()
    {
        CaseModel& m = s.model;
        m.NbCenter = 1;
        s.geo.NbCenterEdit = 1;
        m.TopElev = {600, 182.88};
        m.BaseElev = {0, 0};
        m.Radius = m.RadiusR = {800, 243.84};
        auto face = [&](int t, double x0, double x1) {
            for (int u = 0; u < 2; ++u) {
                const double f = u == 0 ? 1 : 0.3048;
                m.FaceTab[t](u, kColElevation, 0) = "0";
                m.FaceTab[t](u, kColAbscissa, 0) = num(x0 * f);
                m.FaceTab[t](u, kColElevation, 1) = num(600 * f);
                m.FaceTab[t](u, kColAbscissa, 1) = num(x1 * f);
                m.FaceTab[t](u, kColSlope, 1) = num((x1 - x0) / 600);
            }
            m.FaceRows[t] = 1;
        };
        face(kUpstreamFace, 0, 0);
        face(kDownstreamFace, 80, 20);
        for (int t : {kUpstreamLoC, kDownstreamLoC, kRightUpstreamLoC, kRightDownstreamLoC})
            face(t, 800, 800);
        m.NbArcs = 11;
        m.ConsAngle.fill(0);
        m.ConsBaseElev.fill(kNoElevation);
        m.ConsBaseElev[20] = 0;
        for (int k = 0; k < 11; ++k) {
            const double phi = 10 + 4 * k;
            for (int u = 0; u < 2; ++u) {
                m.ArcTab(u, kArcElevation, k) = num(60 * k * (u == 0 ? 1 : 0.3048));
                m.ArcTab(u, kArcCode, k) = k == 0 ? "1" : "0";
                m.ArcTab(u, kArcPhiL, k) = num(phi);
                m.ArcTab(u, kArcPhiR, k) = num(phi);
            }
            if (k > 0) {
                m.ConsAngle[20 - k] = phi;
                m.ConsAngle[20 + k] = -phi;
                m.ConsBaseElev[20 - k] = m.ConsBaseElev[20 + k] = 60 * k;
            }
        }
        m.FirstCons = 10;
        m.LastCons = 30;
        m.Rwe = {580, 176.784};
        m.Twe = {50, 15.24};
        s.main.ChargementMenu = true;

        ResultsModel& r = s.results;
        r.reset();
        for (int i = 10; i <= 30; ++i) {
            int n = 0;
            for (int k = 10; k >= 0; --k) {
                const double z = 60 * k;
                if (z < m.ConsBaseElev[i]) continue;
                const double d = -0.02 * std::sin(z / 600 * 3.14) * std::cos((i - 20) / 20.0);
                r.ResDeflElev[0][i][n] = r.ResStressElev[0][i][n] = z;
                r.ResDeflElev[1][i][n] = r.ResStressElev[1][i][n] = z * 0.3048;
                r.ResDeflection[0][i][n] = d;
                r.ResDeflection[1][i][n] = d * 0.3048;
                r.ResConsLoad[0][i][n] = -0.5 * (600 - z) / 600;
                r.ResConsLoad[1][i][n] = r.ResConsLoad[0][i][n] * 47880.26;
                r.ResPrin1Down[0][i][n] = -300 + z / 3;
                r.ResPrin2Down[0][i][n] = 50 - z / 10;
                r.ResPrin1Up[0][i][n] = -200 + z / 4;
                r.ResPrin2Up[0][i][n] = 80 - z / 8;
                r.ResAngleDown[0][i][n] = 10 + k;
                r.ResAngleUp[0][i][n] = 20 - k;
                for (auto* a : {&r.ResPrin1Down, &r.ResPrin2Down, &r.ResPrin1Up, &r.ResPrin2Up})
                    (*a)[1][i][n] = (*a)[0][i][n] / 145.038;
                r.ResConsGeom[0][i][n] = z;
                r.ResConsGeom[1][i][n] = 0;
                r.ResConsGeom[2][i][n] = thickness(z);
                r.ResConsGeom[3][i][n] = std::abs(m.ConsAngle[i]);
                ++n;
            }
            r.ResDeflCount[i] = r.ResStressCount[i] = r.ResConsGeomCount[i] = n;
            for (int p : {0, 2}) {
                r.ResAbutForce[0][i][p] = 2.0e6;
                r.ResAbutForce[1][i][p] = 2.0e6 * 0.4535924 * 9.81;
                r.ResAbutForce[0][i][p + 1] = r.ResAbutForce[1][i][p + 1] = 25;
            }
        }
        for (int k = 0; k < 11; ++k) {
            const double z = 60 * k;
            for (auto* c : {&r.ResCentresLeft, &r.ResCentresRight}) {
                (*c)[0][k] = z;
                (*c)[1][k] = (*c)[2][k] = 0;
                (*c)[3][k] = 800;
                (*c)[4][k] = 800 - thickness(z);
            }
        }
    }
};

template <bool (*Show)(const ViewContext&, Canvas&)> void BM_View(benchmark::State& state)
{
    ensureApp();
    BigDam dam;
    dam.s.view.ValuesMode = static_cast<int>(state.range(0));
    QImage image(1920, 1080, QImage::Format_RGB32);
    PaintingCanvas canvas(image);
    for (auto _ : state) {
        if (!Show(dam.s, canvas)) state.SkipWithError("the view was not drawn");
        benchmark::DoNotOptimize(image.constBits());
    }
}

// One mouse-move step of a rotation: clear and redraw the wire frame.
void BM_3DRotateStep(benchmark::State& state)
{
    ensureApp();
    BigDam dam;
    QImage image(1920, 1080, QImage::Format_RGB32);
    PaintingCanvas canvas(image);
    GeometrieButton3dClick(dam.s, canvas);
    MainImageMouseDown(dam.s, canvas, MouseButton::Left, ssCtrl | ssLeft, 0, 0);
    int x = 0;
    for (auto _ : state) {
        ++x;
        MainImageMouseMove(dam.s, canvas, ssCtrl | ssLeft, x, x / 2);
        benchmark::DoNotOptimize(image.constBits());
    }
}

} // namespace

BENCHMARK(BM_View<&GeometrieButtonClick>)->Name("Geometry2D")->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_View<&GeometrieButton3dClick>)->Name("View3D")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_3DRotateStep)->Name("View3DRotateStep")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_View<&DeformeeButtonClick>)->Name("Deflection")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_View<&SiButtonClick>)->Name("Stresses")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_View<&FappuiButtonClick>)->Name("Forces")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_View<&LoadButtonClick>)->Name("Loads")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
