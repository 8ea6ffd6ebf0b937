#include "model/FileWriter.h"

#include <QFileDevice>
#include <QSaveFile>

namespace velta {

FileWriteError::FileWriteError(const std::string& path, const std::string& reason)
    : std::runtime_error("Cannot write " + path + ": " + reason), path_(path), reason_(reason)
{
}

QString writeAllChecked(QIODevice& device, const QByteArray& bytes)
{
    auto reason = [&device] {
        const QString why = device.errorString();
        return why.isEmpty() || why == QLatin1String("Unknown error") ? QStringLiteral("write failed") : why;
    };
    const char* p = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const qint64 n = device.write(p, left);
        if (n <= 0) return reason();
        p += n;
        left -= n;
    }
    // A buffered file only meets a full disk when its buffer goes out.
    if (auto* file = qobject_cast<QFileDevice*>(&device)) {
        if (file->flush() && file->error() == QFileDevice::NoError) return {};
        QString why = reason();
        // A buffer written in part carries no system reason: the next
        // attempt gives it (or ends the writing after all).
        if (file->bytesToWrite() > 0) {
            file->unsetError();
            if (file->flush() && file->error() == QFileDevice::NoError) return {};
            if (reason() != QLatin1String("write failed")) why = reason();
        }
        return why;
    }
    return {};
}

void writeFileAtomically(const std::string& path, const QByteArray& bytes)
{
    QSaveFile file(QString::fromStdString(path));
    // Unbuffered: each write reaches the system at once and a short write is
    // followed by one that gives the system's reason.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) throw FileWriteError(path, file.errorString().toStdString());
    const QString why = writeAllChecked(file, bytes);
    if (!why.isEmpty()) {
        // Dropped here, the temporary file is never renamed over the target.
        file.cancelWriting();
        throw FileWriteError(path, why.toStdString());
    }
    if (!file.commit()) throw FileWriteError(path, file.errorString().toStdString());
}

void writeFileAtomically(const std::string& path, const std::string& bytes)
{
    writeFileAtomically(path, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

}  // namespace velta
