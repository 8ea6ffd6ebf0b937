#pragma once
// Helpers shared by the tests: temporary folders and file access.
#include <string>
#include <vector>

namespace velta::test {

// A fresh folder under the system's temporary folder, removed at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // The folder's path, ending with "/".
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

// A small tmpfs mounted on a fresh folder, unmounted at the end. Mounting
// needs the right to do it: when it is refused, mounted() is false and the
// test that needs it skips.
class SmallFileSystem {
public:
    explicit SmallFileSystem(int kilobytes = 64);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;
    bool mounted() const { return mounted_; }
    const std::string& path() const { return dir_.path(); }
    std::string file(const std::string& name) const { return dir_.file(name); }
    // Takes every free page with filler files; release() gives back at
    // least `bytes` of it, in whole pages.
    void fill();
    void release(long bytes);
    // Makes the file system read-only.
    bool makeReadOnly();

private:
    TempDir dir_;
    bool mounted_ = false;
    int fillers_ = 0;
};

// A locale with a decimal comma that the system has, or empty when none is
// installed (the locale tests then skip).
std::string commaLocale();

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
std::string testData(const std::string& name);

// What a program run by a test did: its exit code (-1 when it crashed or
// did not end) and what it wrote.
struct ProgramRun {
    int status = -1;
    std::string out, err;
};

// Runs a program with a bounded time (the tests run under sanitizers too),
// killing it when it does not end, which is then a test failure. `workDir`
// and `locale` (the child's language setting), when given, are the child's.
ProgramRun runProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::string& workDir = {}, const std::string& locale = {});

// Widget tests run without a display unless a platform is chosen; call this
// before creating the application object.
void useOffscreenPlatform();

}  // namespace velta::test
