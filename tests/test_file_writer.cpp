// The checked writer: a write that fails part way, a flush that meets a full
// device, and a full file system, never replace the previous file.
#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <filesystem>
#include <functional>

#include "graphics/PngFile.h"
#include "model/FileWriter.h"
#include "support/TestSupport.h"

using namespace velta;
using namespace velta::test;
namespace fs = std::filesystem;

namespace {

// A device that takes `room` bytes and then refuses every write.
class FullAfter : public QIODevice {
public:
    explicit FullAfter(qint64 room) : room_(room) { open(QIODevice::WriteOnly); }
    QByteArray taken;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        const qint64 n = std::min<qint64>(size, std::min<qint64>(room_ - taken.size(), 1000));
        if (n <= 0) {
            setErrorString("device full");
            return -1;
        }
        taken.append(data, n);
        return n;
    }

private:
    qint64 room_;
};

std::vector<std::string> listing(const std::string& dir)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(FileWriter, EveryWriteIsCheckedUpToTheLastByte)
{
    const QByteArray bytes(5000, 'x');
    for (const qint64 room : {0, 1, 999, 4999}) {
        SCOPED_TRACE(room);
        FullAfter device(room);
        EXPECT_EQ(writeAllChecked(device, bytes), "device full");
        EXPECT_EQ(device.taken, bytes.left(room));
    }
    FullAfter roomy(5000);
    EXPECT_EQ(writeAllChecked(roomy, bytes), "");
    EXPECT_EQ(roomy.taken, bytes);

    // A buffered file meets a full device only when its buffer goes out.
    QFile full("/dev/full");
    ASSERT_TRUE(full.open(QIODevice::WriteOnly));
    EXPECT_EQ(writeAllChecked(full, QByteArray(100, 'x')), "No space left on device");
}

TEST(FileWriter, FullFileSystemKeepsThePreviousFileOfEachKind)
{
    SmallFileSystem disk;
    if (!disk.mounted()) GTEST_SKIP() << "mounting a small file system is not allowed here";
    static int argc = 1;
    static char name[] = "test_file_writer";
    static char* argv[] = {name, nullptr};
    useOffscreenPlatform();
    static QGuiApplication app(argc, argv);

    const std::string text = disk.file("case.dat"), png = disk.file("view.png");
    writeFile(text, "good deck\r\n");
    QImage small(4, 4, QImage::Format_RGB32);
    small.fill(Qt::red);
    writePng(png, small);
    const std::string goodPng = readFile(png);
    disk.fill();
    const auto before = listing(disk.path());

    QImage big(400, 400, QImage::Format_RGB32);
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x) big.setPixel(x, y, qRgb(x * 7, y * 13, x ^ y)); // compresses poorly
    struct Case {
        std::string path;
        std::function<void()> write;
        std::string previous;
    } cases[] = {
        {text, [&] { writeFileAtomically(text, std::string(20000, 'd')); }, "good deck\r\n"},
        {png, [&] { writePng(png, big); }, goodPng},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.path);
        try {
            k.write();
            ADD_FAILURE() << "no error";
        } catch (const FileWriteError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot write " + k.path + ": No space left on device");
        }
        EXPECT_EQ(readFile(k.path), k.previous);
        EXPECT_EQ(listing(disk.path()), before) << "no temporary file is left";
    }

    disk.release(64 * 1024);
    writeFileAtomically(text, std::string(20000, 'd'));
    EXPECT_EQ(readFile(text), std::string(20000, 'd'));
}
