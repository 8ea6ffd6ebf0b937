#include <gtest/gtest.h>

#include <QStringList>
#include <filesystem>

#include "support/TestSupport.h"

using namespace velta;

namespace {

using CliRun = test::ProgramRun;

CliRun resave(std::vector<std::string> args)
{
    args.insert(args.begin(), "resave");
    return test::runProgram(std::string(VELTA_BIN_DIR) + "/velta-cli", args);
}

std::string lines(std::initializer_list<const char*> ls)
{
    std::string out;
    for (const char* l : ls) out += std::string(l) + "\n";
    return out;
}

} // namespace

TEST(Resave, AcceptedDecksAreWrittenBackUnchanged)
{
    test::TempDir dir;
    for (const char* name : {"T1.dat", "two_centres.dat"}) {
        SCOPED_TRACE(name);
        const std::string in = test::testData(std::string("decks/") + name);
        const CliRun r = resave({in, dir.file(name)});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(test::readFile(dir.file(name)), test::readFile(in));
    }
}

TEST(Resave, RefusedDecksReportEveryMessageAndWriteNothing)
{
    test::TempDir dir;
    test::writeFile(dir.file("hello.dat"), "hello\r\n");
    std::string noBase = test::readFile(test::testData("decks/T1.dat"));
    noBase.replace(noBase.find("3   1"), 28, "3   1        0.000          ");
    test::writeFile(dir.file("nobase.dat"), noBase);

    const std::string missing = "Abscisse at the base should be defined\n'' is not a valid number\n";
    const CliRun notADeck = resave({dir.file("hello.dat"), dir.file("out.dat")});
    EXPECT_EQ(notADeck.status, 1);
    EXPECT_EQ(notADeck.err,
              "Sorry, I don't think this is an VELTA file \n" + missing + missing + missing + missing +
                  lines({"error with the general structure data", "Erreur d'entrée de la structure",
                         "Erreur d'entrée des materiaux", "Erreur d'entrée des chargements"}));

    const CliRun base = resave({dir.file("nobase.dat"), dir.file("out.dat")});
    EXPECT_EQ(base.status, 1);
    EXPECT_EQ(base.err, missing);
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.dat")));
}

TEST(Resave, FilesThatCannotBeReadOrWrittenAndUsage)
{
    test::TempDir dir;
    const std::string t1 = test::testData("decks/T1.dat");
    const CliRun in = resave({dir.file("none.dat"), dir.file("out.dat")});
    EXPECT_EQ(in.status, 1);
    EXPECT_EQ(in.err, "Cannot open file \"" + dir.file("none.dat") + "\": No such file or directory\n");

    const CliRun out = resave({t1, dir.file("no/such/folder/out.dat")});
    EXPECT_EQ(out.status, 1);
    EXPECT_NE(out.err, "");

    EXPECT_EQ(resave({t1}).status, 2);
    EXPECT_EQ(resave({t1, dir.file("a"), dir.file("b")}).status, 2);
}
