#pragma once
// Helpers shared by the tests: temporary folders and file access.
#include <string>

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

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
std::string testData(const std::string& name);

// Widget tests run without a display unless a platform is chosen; call this
// before creating the application object.
void useOffscreenPlatform();

}  // namespace velta::test
