// VELTA: the desktop program.
#include <QApplication>
#include <QScreen>

#include "app/EditorMessages.h"
#include "app/MainWindow.h"
#include "app/Splash.h"
#include "app/shell/ScratchArea.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VELTA"));
    QApplication::setApplicationDisplayName(QString::fromUtf8(velta::kApplicationTitle));

    velta::MessageBoxSink messages;
    velta::InputBoxPrompter prompter;
    velta::WidgetShellDialogs dialogs;
    velta::Session session(messages, prompter);

    // The scratch decks and engine outputs stay beside the program when its
    // folder is writable, elsewhere in a per-user folder, and never in the
    // folder of another running VELTA.
    const std::string programDir = QCoreApplication::applicationDirPath().toStdString() + "/";
    velta::ScratchArea scratch;
    session.scratchDir = scratch.acquire(programDir, velta::userWorkFolder());

    // The main window creates the editors and the about box after itself.
    velta::TPrincipaleFiche window(session, dialogs);
    velta::TMotdePasseFiche splash;
    splash.exec();

    window.show();
    window.activateWindow();
    return app.exec();
}
