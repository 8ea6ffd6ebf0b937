// velta-cli draw: opens a case as File > Open does, reads its results when
// given, and writes the chosen view as a PNG (and its drawing operations).
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <memory>

#include "cli/CliCommands.h"
#include "cli/CliSupport.h"
#include "graphics/DrawCommand.h"
#include "graphics/PaintingCanvas.h"
#include "graphics/PngFile.h"
#include "model/FileWriter.h"
#include "solver/ResultsReader.h"

namespace velta::cli {

namespace {

void say(const std::string& text)
{
    std::fprintf(stderr, "%s\n", text.c_str());
}

bool readResults(Session& s, const DrawOptions& o)
{
    const std::string folder = QFileInfo(QString::fromStdString(o.pltPath)).absolutePath().toStdString();
    const ResultsReadOutcome got = LectureResultats(s, o.pltPath, o.outPath, folder);
    return got.pltOpened || got.outOpened;
}

} // namespace

int draw(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    DrawOptions o;
    const std::string usage = parseDrawOptions(args, o);
    if (!usage.empty()) {
        say("velta-cli draw: " + usage);
        return 2;
    }

    std::unique_ptr<QGuiApplication> app;
    if (!ensureGuiApplication(argv, "velta-cli draw", app)) return 1;

    BatchSession batch;
    Session& s = batch.session;
    if (!openCase(s, o.casePath)) return 1;
    if (!o.pltPath.empty()) {
        if (!readResults(s, o)) return 1;
        if (!viewAvailable(s, o.view)) {
            say("velta-cli draw: the results hold no data for the " + o.view + " view");
            return 1;
        }
    }
    if (o.si) switchToSI(s);
    s.view.ValuesMode = o.valuesMode;

    QImage image(o.width, o.height, QImage::Format_RGB32);
    if (image.isNull()) {
        say("velta-cli draw: cannot make an image of " + std::to_string(o.width) + " x " +
            std::to_string(o.height) + " pixels");
        return 1;
    }
    image.fill(Qt::white);
    PaintingCanvas canvas(image);
    std::vector<std::string> ops;
    if (!o.logPath.empty()) canvas.setLog(&ops);
    const bool drawn = drawNamedView(s, canvas, o.view);

    try {
        if (!o.logPath.empty()) {
            std::string log;
            for (const auto& op : ops) log += op + '\n';
            writeFileAtomically(o.logPath, log);
        }
        writePng(o.pngPath, image);
    } catch (const FileWriteError& e) {
        say(std::string("velta-cli draw: ") + e.what());
        return 1;
    }
    return drawn ? 0 : 1;
}

} // namespace velta::cli
