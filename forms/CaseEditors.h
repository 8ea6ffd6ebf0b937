#pragma once
// What the editors work on: the live case, the three editors' controls, the
// window's marks and controls that a commit sets, and the user to talk to.
// The dialogs bind their widgets to it, and the deck reader fills it as a
// user would type a deck in.
#include "forms/EditorState.h"
#include "model/CaseModel.h"
#include "model/Messages.h"
#include "model/Units.h"
#include "model/WindowState.h"

namespace velta {

class CaseEditors {
public:
    CaseEditors(MessageSink& sink, Prompter& prompter) : messages(sink), prompter(prompter) {}

    CaseModel model;
    GeometryEditorState geo;
    MaterialEditorState mat;
    LoadsEditorState loads;
    MainWindowState main;

    MessageSink& messages;
    Prompter& prompter;

    // The tab slot whose case is live: the selected tab, or 0 without tabs.
    int currentSlot() const { return main.tabIndex < 0 ? 0 : main.tabIndex; }
};

}  // namespace velta
