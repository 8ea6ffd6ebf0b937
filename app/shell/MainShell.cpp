#include "app/shell/MainShell.h"

#include "model/Units.h"

namespace velta {

MainLayout computeMainLayout(QSize screen)
{
    constexpr int kLeft = 20, kButtonWidth = 145, kButtonHeight = 50;
    constexpr int kSmallWidth = 50, kSmallHeight = 30, kLabelHeight = 18;
    MainLayout l;
    l.window = screen;
    // Top of each view button relative to the previous one.
    constexpr int kSteps[6] = {20, 60, 90, 60, 60, 60};
    int top = 0;
    for (int i = 0; i < 6; ++i) {
        top += kSteps[i];
        l.viewButtons[i] = QRect(kLeft, top, kButtonWidth, kButtonHeight);
    }
    top += 90;
    // The label may run past the buttons' width up to the tab bar.
    l.scaleLabel = QRect(kLeft, top, kButtonWidth + 15, kLabelHeight);
    top += 20;
    l.plus = QRect(kLeft, top, kSmallWidth, kSmallHeight);
    l.minus = QRect(kLeft + kButtonWidth - kSmallWidth, top, kSmallWidth, kSmallHeight);
    top += 60;
    l.values = QRect(kLeft, top, kButtonWidth, kButtonHeight);

    const int left = kLeft + 165;
    constexpr int kTabHeight = 20;
    l.tabBar = QRect(left, 0, screen.width() - left - 30, kTabHeight);
    l.image = QRect(left, kTabHeight, screen.width() - left - 30, screen.height() - kTabHeight - 70);
    return l;
}

void startSession(Session& s)
{
    s.Initialisation();
    s.view.DeflScale = 0;
    s.view.StressScale = 0;
    s.view.LoadScale = 0;
    for (auto& f : s.model.CaseFile) f = "VELTA";
}

void clickViewButton(MainWindowState& w, int viewKind)
{
    w.viewButtonDown = w.viewButtonDown == viewKind ? -1 : viewKind;
}

void UniteMenuClick(Session& s)
{
    s.model.UnitSystem = 1 - s.model.UnitSystem;
    s.main.UniteMenuCaption = unitMenuCaption(s.model.UnitSystem);
}

bool loadsEditorAllowed(Session& s)
{
    if (s.main.GeometrieMenu) return true;
    s.messages.error(kGeometryMissingText);
    return false;
}

}  // namespace velta
