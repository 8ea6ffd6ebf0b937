// VELTA_DOS.exe BASE [LEVEL]: reads BASE.DAT from the working folder, or from
// the program's own folder when it is not there, analyses the case and writes
// BASE.OUT and BASE.PLT beside it. Exit status 0 when the analysis is done.
// LEVEL (or the environment variable VELTA_LEVEL) chooses the refinement of
// the mesh, 1 to 4; the default is 1.
#include <QCoreApplication>
#include <QFile>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <string>

#include "deck/DeckWriter.h"
#include "engine/DamMesh.h"
#include "engine/Engine.h"
#include "engine/Output.h"
#include "forms/CaseEditors.h"
#include "forms/DeckReader.h"
#include "model/FileWriter.h"
#include "model/Messages.h"

namespace fs = std::filesystem;
using namespace velta;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2 || argc > 3 || std::string(argv[1]).empty()) {
        std::fprintf(stderr,
                     "usage: VELTA_DOS.exe BASE [LEVEL] (reads BASE.DAT, writes BASE.OUT and BASE.PLT)\n");
        return 2;
    }
    engine::EngineOptions options;
    {
        const char* env = std::getenv("VELTA_LEVEL");
        const std::string level = argc == 3 ? argv[2] : env ? env : "";
        if (!level.empty()) {
            char* end = nullptr;
            const long n = std::strtol(level.c_str(), &end, 10);
            if (*end || n < 1 || n > engine::kMaxLevel) {
                std::fprintf(stderr, "VELTA_DOS.exe: the level must be a whole number from 1 to %d\n",
                             engine::kMaxLevel);
                return 2;
            }
            options.level = int(n);
        }
    }
    const std::string base = argv[1];
    fs::path dir = fs::current_path();
    std::error_code ec;
    if (!fs::exists(dir / (base + ".DAT"), ec)) {
        const fs::path own = QCoreApplication::applicationDirPath().toStdString();
        if (fs::exists(own / (base + ".DAT"), ec)) dir = own;
    }
    const std::string dat = (dir / (base + ".DAT")).string();
    const std::string out = (dir / (base + ".OUT")).string();
    const std::string plt = (dir / (base + ".PLT")).string();
    // Results of an earlier run must not pass for this one's: they go before
    // anything is analysed, and a folder that will not let them go is
    // refused. A file that cannot be removed is emptied where it can be.
    for (const std::string& old : {out, plt}) {
        std::error_code rm;
        fs::remove(old, rm);
        if (!fs::exists(old, ec)) continue;
        QFile stale(QString::fromStdString(old));
        if (stale.open(QIODevice::WriteOnly | QIODevice::Truncate)) stale.close();
        std::fprintf(stderr, "VELTA_DOS.exe: the previous results %s cannot be removed: %s; nothing analysed\n",
                     old.c_str(), rm ? rm.message().c_str() : "it is still there");
        return 1;
    }

    auto fail = [&](const std::string& reason) {
        std::fprintf(stderr, "VELTA_DOS.exe: %s\n", reason.c_str());
        try {
            writeFileAtomically(out, engine::composeFailure(dat, reason));
        } catch (const std::exception& e) {
            std::fprintf(stderr, "VELTA_DOS.exe: %s\n", e.what());
        }
        return 1;
    };

    if (!fs::exists(dat, ec)) return fail("the input deck " + dat + " does not exist");
    ListSink sink;
    FixedPrompter prompter{std::string()};
    CaseEditors session(sink, prompter);
    try {
        bool accepted = true;
        LectureDonnees(session, accepted, dat);
        std::string why;
        for (const auto& e : sink.entries)
            if (e.kind == MessageKind::Error) why += (why.empty() ? "" : "; ") + e.text;
        if (!accepted || !session.main.caseValidated())
            return fail("the input deck was refused" + (why.empty() ? std::string() : ": " + why));
    } catch (const std::exception& e) {
        return fail(std::string("the input deck cannot be read: ") + e.what());
    }
    try {
        CaseModel& m = session.model;
        const engine::AnalysisResult r = engine::analyse(m, options);
        const std::string report = engine::composeOut(m, r);
        const std::string tables = engine::composePlt(m, r);
        writeFileAtomically(out, report);
        writeFileAtomically(plt, tables);
    } catch (const FileWriteError& e) {
        // Tables that could not be written whole are never left behind.
        fs::remove(plt, ec);
        return fail(e.what());
    } catch (const engine::EngineError& e) {
        return fail(e.what());
    } catch (const std::exception& e) {
        fs::remove(plt, ec);
        return fail(std::string("the analysis failed: ") + e.what());
    }
    return 0;
}
