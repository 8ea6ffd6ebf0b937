#pragma once
// The analysis run: the case of the current tab is written as a deck, the
// engine VELTA_DOS.exe is started on it in the scratch folder, and the
// caller's event loop keeps running while the run is waited for.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/shell/Session.h"

namespace velta {

// Starts a program and waits for it without blocking the event loop.
class ProcessRunner {
public:
    virtual ~ProcessRunner() = default;
    // Returns false when the program cannot be started.
    virtual bool start(const std::string& program, const std::vector<std::string>& args,
                       const std::string& workDir) = 0;
    // Returns once the program has ended or stop() was called; events are
    // dispatched meanwhile.
    virtual void wait() = 0;
    // Ends the program (used by the user's "Stop").
    virtual void stop() = 0;
    virtual bool running() const = 0;
};

// The runner used by the program: QProcess with a local event loop.
std::unique_ptr<ProcessRunner> makeQProcessRunner();

// Path of the engine beside the program.
std::string enginePath(const Session& s);

struct RunHooks {
    std::function<void()> readResults;  // LectureResultats on the current tab
    std::function<void()> show3D;       // the 3D view, as its button draws it
    std::function<void()> runningChanged;  // called when a run starts and ends
    std::function<bool()> stopped;      // true when the user stopped the run
    std::function<void()> noResults;    // the case shown without results (2D)
};

inline constexpr const char* kNotDoneMark = "ANALYSIS NOT DONE";

// Why the run of slot n gave no results, in one message, or an empty text
// when its plot output is there to be read: the first line of VELTA<n>.OUT
// when the engine wrote its refusal there, otherwise the outputs that are
// missing.
std::string engineFailure(const Session& s, int slot);

// The run sequence: tab "calc_0" when there is none, the deck written to
// VELTA<n>.DAT, old outputs deleted, the engine started with "VELTA" + n in
// the scratch folder and waited for, then the results read and the 3D view
// shown, and ValuesMode reset. A run that could not start, that the user
// stopped or that the engine refused reads nothing: the results are
// dropped, the case is shown without them, and one message says why (the
// caller tells of a stop). Returns false when the case lacks a value the
// analysis needs (a rock modulus of an arch, the grout arch) or the deck
// could not be written (the error has then been shown and nothing else
// happened). `engineArgs` follow the deck's name on the engine's command
// line (the batch tool's refinement level); the desktop program gives none,
// so the engine's defaults hold.
bool LancerCalcul(Session& s, ProcessRunner& runner, const RunHooks& hooks,
                  const std::vector<std::string>& engineArgs = {});

}  // namespace velta
