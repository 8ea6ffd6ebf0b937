#include "app/shell/CaseTabs.h"

#include <QFile>
#include <QString>

#include "deck/DeckReader.h"
#include "deck/DeckWriter.h"

namespace velta {

namespace {

constexpr const char* kSlotExts[] = {kReportExt, kPlotExt, kDeckExt};

QString qs(const std::string& s) { return QString::fromStdString(s); }

bool exists(const std::string& path) { return QFile::exists(qs(path)); }

void removeFile(const std::string& path) { QFile::remove(qs(path)); }

// Makes `to` a copy of `from`, or removes `to` when `from` does not exist, so
// that a slot never keeps a file that belongs to another case.
bool copyOrRemove(const std::string& from, const std::string& to)
{
    removeFile(to);
    if (!exists(from)) return true;
    return QFile::copy(qs(from), qs(to));
}

// Moves `from` onto `to`; `to` is removed when `from` does not exist.
bool moveOrRemove(const std::string& from, const std::string& to)
{
    removeFile(to);
    if (!exists(from)) return true;
    if (QFile::rename(qs(from), qs(to))) return true;
    const bool copied = QFile::copy(qs(from), qs(to));
    removeFile(from);
    return copied;
}

}  // namespace

CaseTabs::CaseTabs(Session& s, ShellDialogs& dialogs) : readDeck(LectureDonnees), s_(s), dialogs_(dialogs) {}

void CaseTabs::startUp()
{
    for (int n = 0; n < kTabSlots; ++n) {
        removeScratch(n);
        s_.model.CaseFile[n] = kNoFileCaption;
    }
}

void CaseTabs::removeScratch(int slot)
{
    for (const char* ext : kSlotExts) removeFile(s_.scratchFile(slot, ext));
}

int CaseTabs::addTab()
{
    s_.main.tabs.push_back("calc_" + std::to_string(s_.main.tabs.size()));
    return tabCount() - 1;
}

bool CaseTabs::refuseWhenFull()
{
    if (tabCount() < kTabSlots) return false;
    s_.messages.error(kTooManyTabsText);
    return true;
}

bool CaseTabs::park()
{
    const int k = s_.currentSlot();
    s_.model.CaseFile[k] = s_.main.caption;
    try {
        EnregistrerDonnees(s_, s_.scratchFile(k, kDeckExt));
        return true;
    } catch (const std::exception&) {
        s_.messages.error(kSaveFailedText);
        return false;
    }
}

void CaseTabs::bringBack(int n)
{
    s_.main.tabIndex = n;
    try {
        s_.main.caption = s_.model.CaseFile[n];
        s_.Initialisation();
        s_.main.caption = s_.model.CaseFile[n];
        bool accepted = true;
        if (readDeck) readDeck(s_, accepted, s_.scratchFile(n, kDeckExt));
        if (exists(s_.scratchFile(n, kPlotExt))) {
            if (readResults) readResults(s_);
            if (redrawView) redrawView();
        } else {
            // The results model still holds the previous tab's results: drop
            // them so that nothing (an export, a view) can show them here.
            s_.results.reset();
            s_.main.disableResultControls();
            if (show2D) show2D();
        }
    } catch (const std::exception&) {
        s_.messages.error(kReadFailedText);
    }
}

bool CaseTabs::changeTab(int n)
{
    if (n < 0 || n >= tabCount()) return false;
    if (n == s_.main.tabIndex) return true;
    if (!park()) return false;
    bringBack(n);
    return true;
}

void CaseTabs::open()
{
    if (refuseWhenFull()) return;
    // A case that cannot be parked would be lost by the tab change: stay.
    if (tabCount() > 0 && !park()) return;
    const auto path = dialogs_.openFile();
    if (!path) return;

    const int m = addTab();
    s_.main.tabIndex = m;
    removeScratch(m);
    s_.Initialisation();
    s_.model.CaseFile[m] = *path;
    s_.main.caption = *path;

    bool accepted = true;
    try {
        if (readDeck) readDeck(s_, accepted, *path);
    } catch (const std::exception& e) {
        s_.messages.error(e.what());
        accepted = false;
    }
    if (accepted) {
        if (show2D) show2D();
        return;
    }
    // Refused: the tab goes, and its slot must not keep the refused file as
    // its case file (a later Save there would overwrite it).
    s_.main.tabs.pop_back();
    s_.model.CaseFile[m] = kNoFileCaption;
    if (s_.main.tabs.empty()) {
        s_.main.tabIndex = -1;
        s_.Initialisation();
    } else {
        bringBack(tabCount() - 1);
    }
}

bool CaseTabs::saveSelected()
{
    if (s_.main.caption == kNoFileCaption) {
        const auto path = dialogs_.saveFile("");
        if (!path) return true;
        s_.main.caption = *path;
        s_.model.CaseFile[s_.currentSlot()] = *path;
    }
    try {
        EnregistrerDonnees(s_, s_.model.CaseFile[s_.currentSlot()]);
        return true;
    } catch (const std::exception& e) {
        s_.messages.error(e.what());
        return false;
    }
}

bool CaseTabs::saveParked(int slot)
{
    std::string target = s_.model.CaseFile[slot];
    if (target == kNoFileCaption) {
        const auto path = dialogs_.saveFile(s_.main.tabs[slot]);
        if (!path) return true;
        target = *path;
        s_.model.CaseFile[slot] = target;
    }
    QFile deck(qs(s_.scratchFile(slot, kDeckExt)));
    if (!deck.open(QIODevice::ReadOnly)) {
        s_.messages.error(kSaveFailedText);
        return false;
    }
    const QByteArray bytes = deck.readAll();
    deck.close();
    try {
        writeFileAtomically(target, bytes.toStdString());
        return true;
    } catch (const std::exception& e) {
        s_.messages.error(e.what());
        return false;
    }
}

void CaseTabs::save() { saveSelected(); }

void CaseTabs::saveAs()
{
    const auto path = dialogs_.saveFile("");
    if (!path) return;
    s_.main.caption = *path;
    s_.model.CaseFile[s_.currentSlot()] = *path;
    saveSelected();
}

bool CaseTabs::exit()
{
    switch (dialogs_.askYesNoCancel(kExitQuestionText)) {
        case Answer::Cancel:
            return false;
        case Answer::No:
            return true;
        case Answer::Yes:
            break;
    }
    // Every open case is saved, in tab order; the program stays open when a
    // case could not be written, so that nothing is lost without notice.
    bool ok = true;
    if (tabCount() == 0) return saveSelected();
    for (int n = 0; n < tabCount(); ++n) ok = (n == s_.main.tabIndex ? saveSelected() : saveParked(n)) && ok;
    return ok;
}

void CaseTabs::rename()
{
    if (tabCount() == 0) return;
    const int k = s_.currentSlot();
    if (auto name = s_.prompter.askText(kRenameTitleText, kRenamePromptText, s_.main.tabs[k]))
        s_.main.tabs[k] = *name;
}

void CaseTabs::duplicate()
{
    if (tabCount() == 0 || refuseWhenFull()) return;
    const int k = s_.currentSlot();
    if (!park()) return;
    const int m = addTab();
    s_.model.CaseFile[m] = kNoFileCaption;
    bool copied = true;
    for (const char* ext : kSlotExts) copied = copyOrRemove(s_.scratchFile(k, ext), s_.scratchFile(m, ext)) && copied;
    if (!copied) {
        removeScratch(m);
        s_.main.tabs.pop_back();
        s_.messages.error(kSaveFailedText);
    }
}

void CaseTabs::close()
{
    const int c = tabCount();
    if (c <= 1) return;
    const int k = s_.currentSlot();
    s_.main.tabs.erase(s_.main.tabs.begin() + k);
    removeScratch(k);
    for (int n = k + 1; n < c; ++n) {
        for (const char* ext : kSlotExts) moveOrRemove(s_.scratchFile(n, ext), s_.scratchFile(n - 1, ext));
        s_.model.CaseFile[n - 1] = s_.model.CaseFile[n];
        s_.model.DamName[n - 1] = s_.model.DamName[n];
    }
    s_.model.CaseFile[c - 1] = kNoFileCaption;
    s_.model.DamName[c - 1].clear();
    // The renumbering has moved every file of the last slot down: nothing of
    // another case is left behind there.
    removeScratch(c - 1);
    bringBack(k == 0 ? 0 : k - 1);
}

CaseTabs::PopupState CaseTabs::popupState() const
{
    PopupState p;
    p.duplicate = p.save = p.saveAs = s_.main.caseValidated();
    p.close = tabCount() != 1;
    return p;
}

}  // namespace velta
