#include "app/shell/CaseTabs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>

#include "deck/DeckFormat.h"
#include "forms/DeckReader.h"
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

// The path by which two names of one file compare equal: the canonical path
// of an existing file, the cleaned absolute path of another.
QString samePathKey(const std::string& path)
{
    const QFileInfo info(qs(path));
    QString key = info.canonicalFilePath();
    if (key.isEmpty()) key = QDir::cleanPath(info.absoluteFilePath());
#ifdef Q_OS_WIN
    key = key.toLower();
#endif
    return key;
}

std::string fileNameOf(const std::string& path) { return QFileInfo(qs(path)).fileName().toStdString(); }

// A file that is there and readable, and whose first line is not the master
// card: the reader would refuse it with its warning.
bool readableButNotADeck(const std::string& path)
{
    QFile f(qs(path));
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray head = f.read(static_cast<qint64>(deck::kMasterCard.size()));
    return head != QByteArray(deck::kMasterCard.data(), static_cast<qsizetype>(deck::kMasterCard.size()));
}

template <class A>
void shiftDown(A& flags, int from, int count)
{
    for (int n = from + 1; n < count; ++n) flags[n - 1] = flags[n];
    flags[count - 1] = {};
}

}  // namespace

CaseTabs::CaseTabs(Session& s, ShellDialogs& dialogs) : readDeck(LectureDonnees), s_(s), dialogs_(dialogs) {}

void CaseTabs::startUp()
{
    for (int n = 0; n < kTabSlots; ++n) {
        removeScratch(n);
        s_.model.CaseFile[n] = kNoFileCaption;
        s_.main.caseModified[n] = s_.main.resultsStale[n] = false;
    }
}

void CaseTabs::status(const std::string& text)
{
    if (showStatus) showStatus(text);
}

std::string CaseTabs::caseSnapshot() const
{
    try {
        return composeDeck(s_.model, s_.currentSlot(), s_.geo.NbCenterEdit);
    } catch (const std::exception& e) {
        // A case the deck cannot carry yet is known by what stops it.
        return std::string("!") + e.what();
    }
}

void CaseTabs::caseEdited(const std::string& before)
{
    if (caseSnapshot() == before) return;
    const int k = s_.currentSlot();
    s_.main.caseModified[k] = true;
    s_.main.resultsStale[k] = true;
}

bool CaseTabs::isModified(int slot) const { return slot >= 0 && slot < kTabSlots && s_.main.caseModified[slot]; }

std::vector<int> CaseTabs::modifiedSlots() const
{
    std::vector<int> list;
    const int count = std::max(tabCount(), 1);
    for (int n = 0; n < count; ++n)
        if (isModified(n)) list.push_back(n);
    return list;
}

std::string CaseTabs::caseLabel(int slot) const
{
    const std::string& file = s_.model.CaseFile[slot];
    const std::string where = file == kNoFileCaption ? "no file yet" : fileNameOf(file);
    if (slot >= tabCount()) return "the case being edited (" + where + ")";
    return s_.main.tabs[slot] + " (" + where + ")";
}

bool CaseTabs::isScratchFile(const std::string& path) const
{
    static const QRegularExpression name(QStringLiteral("^VELTA[0-9]+\\.(DAT|OUT|PLT)$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QFileInfo info(qs(path));
    if (!name.match(info.fileName()).hasMatch()) return false;
    const std::string folder = s_.scratchDir.empty() ? s_.model.ProgramDir : s_.scratchDir;
    return samePathKey(info.absolutePath().toStdString()) == samePathKey(folder);
}

int CaseTabs::tabOfFile(const std::string& path) const
{
    const QString key = samePathKey(path);
    for (int n = 0; n < tabCount(); ++n)
        if (s_.model.CaseFile[n] != kNoFileCaption && samePathKey(s_.model.CaseFile[n]) == key) return n;
    return -1;
}

std::string CaseTabs::startFolder() const
{
    const std::string& file = s_.model.CaseFile[s_.currentSlot()];
    const std::string scratch = s_.scratchDir.empty() ? s_.model.ProgramDir : s_.scratchDir;
    if (file != kNoFileCaption && !file.empty()) {
        const QString dir = QFileInfo(qs(file)).absolutePath();
        if (QDir(dir).exists() && samePathKey(dir.toStdString()) != samePathKey(scratch)) return dir.toStdString();
    }
    QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (docs.isEmpty() || !QDir(docs).exists()) docs = QDir::homePath();
    return docs.toStdString();
}

bool CaseTabs::refuseTarget(const std::string& path, int slot)
{
    if (isScratchFile(path)) {
        s_.messages.error(path + " is a scratch file of the program, deleted at every start: "
                                 "save the case under another name or in another folder.");
        return true;
    }
    const int other = tabOfFile(path);
    if (other >= 0 && other != slot) {
        s_.messages.error(path + " is the file of the case in tab " + s_.main.tabs[other] +
                          ": save the case under another name, or close that tab first.");
        return true;
    }
    return false;
}

std::optional<std::string> CaseTabs::askSaveTarget(int slot, const std::string& label)
{
    dialogs_.setStartFolder(startFolder());
    auto path = dialogs_.saveFile(label);
    if (path && refuseTarget(*path, slot)) return std::nullopt;
    return path;
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

void CaseTabs::open(const std::optional<std::string>& chosen)
{
    if (refuseWhenFull()) return;
    // A case edited before any tab exists gets a tab of its own rather than
    // being replaced by the opened one.
    if (tabCount() == 0 && isModified(0)) {
        addTab();
        s_.main.tabIndex = 0;
    }
    // A case that cannot be parked would be lost by the tab change: stay.
    if (tabCount() > 0 && !park()) return;
    std::optional<std::string> path = chosen;
    if (!path) {
        dialogs_.setStartFolder(startFolder());
        path = dialogs_.openFile();
    }
    if (!path) return;

    // One file, one tab: a second copy would overwrite the first's edits.
    const int open = tabOfFile(*path);
    if (open >= 0) {
        if (open != s_.main.tabIndex) bringBack(open);
        status(*path + " is already open in tab " + s_.main.tabs[open] + ": that tab is selected.");
        return;
    }
    // A file that is not a deck is refused with the reader's warning alone,
    // before any editor is filled from it.
    if (readableButNotADeck(*path)) {
        s_.messages.warning(kNotADeckText);
        return;
    }

    const int previous = s_.main.tabIndex;
    const int m = addTab();
    s_.main.tabIndex = m;
    removeScratch(m);
    s_.Initialisation();
    s_.model.CaseFile[m] = *path;
    s_.main.caption = *path;
    s_.main.caseModified[m] = s_.main.resultsStale[m] = false;

    bool accepted = true;
    try {
        if (readDeck) readDeck(s_, accepted, *path);
    } catch (const std::exception& e) {
        s_.messages.error(e.what());
        accepted = false;
    }
    if (accepted) {
        if (fileUsed) fileUsed(*path);
        if (show2D) show2D();
        return;
    }
    // Refused: the tab goes, and its slot must not keep the refused file as
    // its case file (a later Save there would overwrite it). The tab that
    // was selected before comes back.
    s_.main.tabs.pop_back();
    s_.model.CaseFile[m] = kNoFileCaption;
    if (s_.main.tabs.empty()) {
        s_.main.tabIndex = -1;
        s_.Initialisation();
    } else {
        bringBack(previous >= 0 && previous < tabCount() ? previous : tabCount() - 1);
    }
}

CaseTabs::Saved CaseTabs::saveSelected()
{
    const int k = s_.currentSlot();
    if (s_.main.caption == kNoFileCaption) {
        const auto path = askSaveTarget(k, "");
        if (!path) return Saved::Cancelled;
        s_.main.caption = *path;
        s_.model.CaseFile[k] = *path;
    }
    const std::string target = s_.model.CaseFile[k];
    if (refuseTarget(target, k)) return Saved::Failed;
    try {
        EnregistrerDonnees(s_, target);
    } catch (const std::exception& e) {
        s_.messages.error(e.what());
        return Saved::Failed;
    }
    s_.main.caseModified[k] = false;
    if (fileUsed) fileUsed(target);
    return Saved::Yes;
}

CaseTabs::Saved CaseTabs::saveParked(int slot)
{
    std::string target = s_.model.CaseFile[slot];
    if (target == kNoFileCaption) {
        const auto path = askSaveTarget(slot, s_.main.tabs[slot]);
        if (!path) return Saved::Cancelled;
        target = *path;
        s_.model.CaseFile[slot] = target;
    } else if (refuseTarget(target, slot)) {
        return Saved::Failed;
    }
    QFile deck(qs(s_.scratchFile(slot, kDeckExt)));
    if (!deck.open(QIODevice::ReadOnly)) {
        s_.messages.error(kSaveFailedText);
        return Saved::Failed;
    }
    const QByteArray bytes = deck.readAll();
    deck.close();
    try {
        writeFileAtomically(target, bytes.toStdString());
    } catch (const std::exception& e) {
        s_.messages.error(e.what());
        return Saved::Failed;
    }
    s_.main.caseModified[slot] = false;
    if (fileUsed) fileUsed(target);
    return Saved::Yes;
}

CaseTabs::Saved CaseTabs::saveSlot(int slot)
{
    return tabCount() == 0 || slot == s_.main.tabIndex ? saveSelected() : saveParked(slot);
}

void CaseTabs::save() { saveSelected(); }

void CaseTabs::saveAs()
{
    const int k = s_.currentSlot();
    const auto path = askSaveTarget(k, "");
    if (!path) return;
    const std::string caption = s_.main.caption, file = s_.model.CaseFile[k];
    s_.main.caption = *path;
    s_.model.CaseFile[k] = *path;
    if (saveSelected() != Saved::Yes) {
        // The case keeps the file it had: the new name holds nothing of it.
        s_.main.caption = caption;
        s_.model.CaseFile[k] = file;
    }
}

bool CaseTabs::exit()
{
    const std::vector<int> modified = modifiedSlots();
    if (modified.empty()) return true;
    std::string text = std::string(kExitQuestionText) + "\n\n" +
                       (modified.size() == 1 ? kUnsavedCaseText : kUnsavedCasesText);
    for (int n : modified) text += "\n    " + caseLabel(n);
    switch (dialogs_.askSaveChanges(text)) {
        case Answer::Cancel:
            return false;
        case Answer::No:
            return true;
        case Answer::Yes:
            break;
    }
    // The program stays open when a case could not be written or its save
    // dialog was cancelled, so that nothing is lost without notice.
    bool ok = true;
    for (int n : modified) ok = saveSlot(n) == Saved::Yes && ok;
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
    // The copy has no file yet: it differs from any file until it is saved.
    s_.main.caseModified[m] = true;
    s_.main.resultsStale[m] = s_.main.resultsStale[k];
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
    if (isModified(k)) {
        const std::string text = "Do you want to save the changes of " + caseLabel(k) + " before closing it?";
        switch (dialogs_.askSaveChanges(text)) {
            case Answer::Cancel:
                return;
            case Answer::No:
                break;
            case Answer::Yes:
                if (saveSelected() != Saved::Yes) return;
                break;
        }
    }
    s_.main.tabs.erase(s_.main.tabs.begin() + k);
    removeScratch(k);
    shiftDown(s_.main.caseModified, k, c);
    shiftDown(s_.main.resultsStale, k, c);
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
