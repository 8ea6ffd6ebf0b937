#pragma once
// The one way the programs write a file: decks, scratch decks, the engine's
// .OUT and .PLT, exports and pictures. The bytes go to a temporary file
// beside the target, every write and the final flush are checked, and the
// target is replaced only when all of it is on disk; on any failure the
// temporary file is dropped and the previous file stays as it was.
#include <QByteArray>
#include <QString>
#include <stdexcept>
#include <string>

class QIODevice;

namespace velta {

// Raised when a file cannot be written. The text names the file and gives
// the system's reason: "Cannot write <file>: <reason>".
class FileWriteError : public std::runtime_error {
public:
    FileWriteError(const std::string& path, const std::string& reason);
    const std::string& path() const { return path_; }
    const std::string& reason() const { return reason_; }

private:
    std::string path_, reason_;
};

// Writes all of `bytes` to an open device, checking each write, and flushes
// it when it is a file. Returns an empty text on success, else the device's
// reason for the failure.
QString writeAllChecked(QIODevice& device, const QByteArray& bytes);

// Replaces `path` with `bytes`. Throws FileWriteError.
void writeFileAtomically(const std::string& path, const std::string& bytes);
void writeFileAtomically(const std::string& path, const QByteArray& bytes);

}  // namespace velta
