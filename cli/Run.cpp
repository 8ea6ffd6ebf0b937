// velta-cli run CASE.dat OUTDIR [--si] [--level N] [--rock MODEL]: opens a
// case as File > Open does, runs the analysis in OUTDIR as Analysis > Run
// does (at the engine's refinement level N, 1 to 4, and with its rock model
// vogt, block or rigid, when given; the defaults otherwise), and leaves there
// the engine's files, the export of the results and a picture of every view.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLockFile>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "cli/CliCommands.h"
#include "cli/CliSupport.h"
#include "graphics/DrawCommand.h"
#include "graphics/PaintingCanvas.h"
#include "graphics/ViewTable.h"
#include "graphics/PngFile.h"
#include "model/FileWriter.h"
#include "solver/Export.h"
#include "solver/ResultsReader.h"
#include "app/shell/SolverRun.h"

namespace velta::cli {

namespace {

// The views of the window's buttons, in its order; each picture is <view>.png.
std::vector<std::string> viewNames()
{
    std::vector<std::string> out;
    for (const ViewSpec* v : buttonViews()) out.push_back(v->name);
    return out;
}
const char* const kExportName = "results.csv";
// Held by a run in its output folder, so that two runs never mix their files.
const char* const kLockName = "velta-run.lock";
// How long a run waits for another run in the same folder to end.
constexpr int kLockWaitMs = 15000;

void say(const std::string& text)
{
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}

// Draws one view on a white picture of the draw command's default size and
// saves it. Returns false, after saying why, when it could not be done.
bool drawPicture(Session& s, const std::string& view, const std::string& path)
{
    const DrawOptions size;
    QImage image(size.width, size.height, QImage::Format_RGB32);
    image.fill(Qt::white);
    PaintingCanvas canvas(image);
    if (!drawNamedView(s, canvas, view)) {
        say("velta-cli run: the " + view + " view could not be drawn");
        return false;
    }
    try {
        writePng(path, image);
    } catch (const FileWriteError& e) {
        say(std::string("velta-cli run: ") + e.what());
        return false;
    }
    return true;
}

} // namespace

int run(int argc, char** argv)
{
    bool si = false, usage = argc < 3 || !std::strncmp(argv[1], "--", 2) || !std::strncmp(argv[2], "--", 2);
    std::string level, rock;
    for (int i = 3; i < argc && !usage; ++i) {
        if (!std::strcmp(argv[i], "--si") && !si) {
            si = true;
        } else if (!std::strcmp(argv[i], "--level") && level.empty() && i + 1 < argc) {
            level = argv[++i];
            if (level.size() != 1 || level[0] < '1' || level[0] > '4') {
                say("velta-cli run: the level must be a whole number from 1 to 4");
                return 2;
            }
        } else if (!std::strcmp(argv[i], "--rock") && rock.empty() && i + 1 < argc) {
            rock = argv[++i];
            if (rock != "vogt" && rock != "block" && rock != "rigid") {
                say("velta-cli run: the rock model must be vogt, block or rigid");
                return 2;
            }
        } else {
            usage = true;
        }
    }
    if (usage) {
        say("usage: velta-cli run CASE.dat OUTDIR [--si] [--level N] [--rock vogt|block|rigid]");
        return 2;
    }
    // The engine takes the level after the deck's name and the rock model last.
    std::vector<std::string> engineArgs;
    if (!level.empty()) engineArgs.push_back(level);
    if (!rock.empty()) engineArgs.insert(engineArgs.end(), {"--rock", rock});

    std::unique_ptr<QGuiApplication> app;
    if (!ensureGuiApplication(argv, "velta-cli run", app)) return 1;

    BatchSession batch; // ProgramDir: the folder of velta-cli, where the engine lies
    Session& s = batch.session;
    if (!openCase(s, argv[1])) return 1;

    // The output folder is the scratch folder of the run: VELTA0.DAT, .OUT
    // and .PLT are written there, beside the export and the pictures.
    const QString outDir = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
    if (!QDir().mkpath(outDir) || !QFileInfo(outDir).isDir()) {
        say("velta-cli run: cannot make the folder " + outDir.toStdString());
        return 1;
    }
    const std::string dir = QDir(outDir).absolutePath().toStdString() + "/";
    QLockFile lock(QString::fromStdString(dir + kLockName));
    lock.setStaleLockTime(0); // a live run keeps its lock however long it takes
    if (!lock.tryLock(kLockWaitMs)) {
        if (lock.error() == QLockFile::LockFailedError)
            say("velta-cli run: the folder " + dir + " is in use by another run (lock file " + dir + kLockName +
                "); nothing was written");
        else
            say("velta-cli run: cannot write the lock file " + dir + kLockName + ": " +
                (lock.error() == QLockFile::PermissionError ? "Permission denied" : "unknown error"));
        return 1;
    }
    s.scratchDir = dir;
    // Outputs of an earlier run never pass for this run's.
    QFile::remove(QString::fromStdString(dir + kExportName));
    for (const std::string& view : viewNames()) QFile::remove(QString::fromStdString(dir + view + ".png"));

    // The run as Analysis > Run does it. The pictures are drawn afterwards,
    // the 3D view among them.
    ResultsReadOutcome read;
    RunHooks hooks;
    hooks.readResults = [&] {
        const int n = s.currentSlot();
        read = LectureResultats(s, s.scratchFile(n, ".PLT"), s.scratchFile(n, ".OUT"), dir);
    };
    const int messagesBefore = batch.sink.count;
    auto runner = makeQProcessRunner();
    if (!LancerCalcul(s, *runner, hooks, engineArgs)) return 1;
    // Every message of the run (the engine not started, a section the reader
    // could not find) means the results are not whole.
    bool ok = batch.sink.count == messagesBefore && read.pltOpened && read.outOpened;
    if (read.pltOpened && !tablesWhole(s, read, s.scratchFile(s.currentSlot(), ".PLT"), "velta-cli run")) ok = false;

    if (si && s.model.UnitSystem != kSI) switchToSI(s);

    const bool results = read.pltOpened && read.outOpened;
    if (results) {
        const std::string csv = dir + kExportName;
        try {
            ExporterResults(s.model, s.results, csv);
        } catch (const std::exception& e) {
            s.messages.error(e.what());
            ok = false;
        }
    } else {
        // The reader's messages above say which file is missing.
        say("velta-cli run: no results to export or draw: " + std::string(kExportName) +
            " and the result views are not written");
        ok = false;
    }

    for (const std::string& view : viewNames()) {
        if (viewNeedsResults(view) && !results) continue;
        if (!viewAvailable(s, view)) {
            say("velta-cli run: the results hold no data for the " + std::string(view) + " view");
            ok = false;
            continue;
        }
        if (!drawPicture(s, view, dir + view + ".png")) ok = false;
    }
    return ok ? 0 : 1;
}

} // namespace velta::cli
