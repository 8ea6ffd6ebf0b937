#pragma once
// The folder that holds the scratch decks and engine outputs of the tab
// slots. It is the program folder when that folder is writable and is not an
// installed copy, otherwise a per-user work folder. A lock file keeps the
// folder to one running program:
// a second program started meanwhile gets a folder of its own, so that it
// neither deletes nor overwrites the files of the first.
#include <memory>
#include <string>

class QLockFile;

namespace velta {

class ScratchArea {
public:
    ScratchArea();
    ~ScratchArea();
    ScratchArea(const ScratchArea&) = delete;
    ScratchArea& operator=(const ScratchArea&) = delete;

    // Chooses and locks the folder. Both arguments end with a separator.
    // Returns the folder, ending with a separator, or an empty string when
    // no folder could be created and locked.
    std::string acquire(const std::string& programDir, const std::string& userDir);
    const std::string& dir() const { return dir_; }

private:
    std::unique_ptr<QLockFile> lock_;
    std::string dir_;
};

// True when files can be created in `dir`.
bool isWritableFolder(const std::string& dir);

// The per-user work folder of the program, ending with a separator.
std::string userWorkFolder();

}  // namespace velta
