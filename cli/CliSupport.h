#pragma once
// What the batch tool's subcommands share: messages to stderr, a prompter
// that cancels every question, and opening a case as File > Open does.
#include <QGuiApplication>
#include <cstdio>
#include <memory>
#include <string>

#include "app/shell/Session.h"
#include "solver/ResultsReader.h"

namespace velta::cli {

// Every text the window would show in a message box, one line each.
class StderrSink : public MessageSink {
public:
    void show(MessageKind, const std::string& text) override;
    int count = 0;
};

// A session for the batch tool: ProgramDir and the scratch folder are set,
// CaseFile entries hold "VELTA", and Initialisation has run.
struct BatchSession {
    StderrSink sink;
    FixedPrompter prompter;  // cancels: an empty dam name stays empty
    Session session{sink, prompter};
    BatchSession();
};

// Opens a deck into tab slot 0 exactly as File > Open does. Returns true
// when the case was accepted: the reader's flag stayed true and the three
// Data marks are set. Read errors are reported on stderr.
bool openCase(Session& s, const std::string& path);

// After a results read: says, naming the .PLT, when it gave no deflections
// or no stresses, or ended before the end of its tables (the reader passes
// over a section that runs to the end of the file). True when whole.
bool tablesWhole(Session& s, const ResultsReadOutcome& read, const std::string& plt, const std::string& command);

// Texts and pictures need the font system of a GUI application; no window
// is shown. Makes one in `app` when the program has none yet (offscreen
// unless a platform is chosen), keeping the toolkit's own notes (runtime
// folders, fonts) off stderr but for its critical errors. Returns false,
// after saying so for `command`, when a non-graphical application runs.
bool ensureGuiApplication(char** argv, const std::string& command, std::unique_ptr<QGuiApplication>& app);

// Switches the session to SI units as the Data menu's unit entry does.
void switchToSI(Session& s);

}  // namespace velta::cli
