#include "app/shell/ScratchArea.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace velta {

namespace {
constexpr int kMaxInstances = 100;
}

ScratchArea::ScratchArea() = default;
ScratchArea::~ScratchArea() = default;

bool isWritableFolder(const std::string& dir)
{
    if (!QDir(QString::fromStdString(dir)).exists()) return false;
    // A real file, not the permission bits: they say nothing of read-only
    // media, access-control lists or a privileged user.
    QTemporaryFile probe(QString::fromStdString(dir) + "velta_probe_XXXXXX");
    return probe.open();
}

std::string userWorkFolder()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (base.isEmpty()) base = QDir::homePath() + "/.velta";
    return QDir::cleanPath(base).toStdString() + "/";
}

std::string ScratchArea::acquire(const std::string& programDir, const std::string& userDir)
{
    lock_.reset();
    dir_.clear();
    // An installed copy (marked by the installation) writes nothing beside
    // itself, even when its folder happens to be writable.
    const bool installed = QFile::exists(QString::fromStdString(programDir) + "velta.installed");
    const std::string base = !installed && isWritableFolder(programDir) ? programDir : userDir;
    for (int i = 1; i <= kMaxInstances; ++i) {
        const std::string folder = i == 1 ? base : base + "VELTA_work" + std::to_string(i) + "/";
        if (!QDir().mkpath(QString::fromStdString(folder))) continue;
        auto lock = std::make_unique<QLockFile>(QString::fromStdString(folder) + "VELTA.lock");
        // A running program keeps its folder however long it runs; the lock
        // of a program that has ended is taken over.
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            lock_ = std::move(lock);
            dir_ = folder;
            return dir_;
        }
    }
    return dir_;
}

}  // namespace velta
