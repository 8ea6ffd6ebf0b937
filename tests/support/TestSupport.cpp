#include "support/TestSupport.h"

#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace velta::test {

TempDir::TempDir()
{
    std::random_device rd;
    auto base = std::filesystem::temp_directory_path();
    for (int i = 0; i < 100; ++i) {
        auto p = base / ("velta-test-" + std::to_string(rd()));
        if (std::filesystem::create_directory(p)) {
            path_ = p.string() + "/";
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

namespace {

std::string quoted(const std::string& s) { return "'" + s + "'"; }

}  // namespace

SmallFileSystem::SmallFileSystem(int kilobytes)
{
    const std::string cmd = "mount -t tmpfs -o size=" + std::to_string(kilobytes) + "k velta-test " +
                            quoted(dir_.path()) + " >/dev/null 2>&1";
    mounted_ = std::system(cmd.c_str()) == 0;
}

SmallFileSystem::~SmallFileSystem()
{
    if (mounted_) std::system(("umount " + quoted(dir_.path()) + " >/dev/null 2>&1").c_str());
}

void SmallFileSystem::fill()
{
    const std::string page(4096, 'f');
    for (;;) {
        const std::string name = dir_.file("filler" + std::to_string(fillers_));
        std::ofstream out(name, std::ios::binary);
        out << page;
        out.close();
        if (!out) {
            std::filesystem::remove(name);
            break;
        }
        ++fillers_;
    }
}

void SmallFileSystem::release(long bytes)
{
    for (; bytes > 0 && fillers_ > 0; bytes -= 4096)
        std::filesystem::remove(dir_.file("filler" + std::to_string(--fillers_)));
}

bool SmallFileSystem::makeReadOnly()
{
    return mounted_ &&
           std::system(("mount -o remount,ro " + quoted(dir_.path()) + " >/dev/null 2>&1").c_str()) == 0;
}

std::string commaLocale()
{
    for (const char* name : {"fr_FR.UTF-8", "de_DE.UTF-8"}) {
        const char* old = std::setlocale(LC_NUMERIC, nullptr);
        const std::string saved = old ? old : "C";
        if (std::setlocale(LC_NUMERIC, name)) {
            const bool comma = std::string(std::localeconv()->decimal_point) == ",";
            std::setlocale(LC_NUMERIC, saved.c_str());
            if (comma) return name;
        }
    }
    return {};
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    if (!out) throw std::runtime_error("cannot write " + path);
}

void useOffscreenPlatform()
{
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

std::string testData(const std::string& name) { return std::string(VELTA_TEST_DATA) + "/" + name; }

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& args, const std::string& workDir,
                      const std::string& locale)
{
    QProcess p;
    QStringList list;
    for (const auto& a : args) list << QString::fromStdString(a);
    if (!workDir.empty()) p.setWorkingDirectory(QString::fromStdString(workDir));
    if (!locale.empty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"LANG", "LC_ALL", "LC_NUMERIC"}) env.insert(name, QString::fromStdString(locale));
        p.setProcessEnvironment(env);
    }
    p.start(QString::fromStdString(program), list);
    if (!p.waitForFinished(300000)) {
        p.kill();
        p.waitForFinished();
        ADD_FAILURE() << program << " did not end";
        return {};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput().toStdString(),
            p.readAllStandardError().toStdString()};
}

}  // namespace velta::test
