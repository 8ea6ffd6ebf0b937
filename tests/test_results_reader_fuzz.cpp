// Random damage to valid result files: every read ends without a crash, with
// its section messages, and with the model's invariants intact.
#include <gtest/gtest.h>

#include <random>

#include "solver/ResultsReader.h"
#include "support/TestSupport.h"
#include "test_results_reader_files.h"

using namespace velta;
using namespace velta::test;

namespace {

std::string mutate(std::string text, std::mt19937& rng)
{
    auto pick = [&](size_t n) { return n == 0 ? size_t{0} : std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
    const char alphabet[] = "0123456789 .-+eE\r\n\t\0\x1a\xff" "1 ";
    const int edits = 1 + static_cast<int>(pick(6));
    for (int e = 0; e < edits; ++e) {
        const size_t pos = pick(text.size() + 1);
        switch (pick(9)) {
        case 0:  // one byte changed to a likely troublesome one
            if (pos < text.size()) text[pos] = alphabet[pick(sizeof alphabet - 1)];
            break;
        case 1:  // any byte
            if (pos < text.size()) text[pos] = static_cast<char>(pick(256));
            break;
        case 2:  // bytes removed
            text.erase(pos, pick(200));
            break;
        case 3:  // a digit string inserted
            text.insert(pos, std::to_string(static_cast<int>(pick(100000)) - 50000));
            break;
        case 4: {  // a line repeated, up to beyond a block's room
            size_t b = text.rfind('\n', pos == 0 ? 0 : pos - 1);
            b = b == std::string::npos ? 0 : b + 1;
            size_t end = text.find('\n', b);
            std::string line = text.substr(b, end == std::string::npos ? std::string::npos : end - b + 1);
            const size_t at = pick(2) ? end : pick(text.size() + 1);
            for (size_t n = 1 + pick(24); n > 0; --n) text.insert(std::min(at, text.size()), line);
            break;
        }
        case 5:  // the file cut short
            text.resize(pos);
            break;
        case 6:  // a long run of one byte
            text.insert(pos, std::string(pick(5000), alphabet[pick(sizeof alphabet - 1)]));
            break;
        case 7:  // line ends changed
            for (char& ch : text)
                if (ch == '\n' && pick(4) == 0) ch = '\r';
            break;
        case 8:  // a slot number changed
            if (pos + 2 < text.size()) text.replace(pos, 2, std::to_string(pick(120)));
            break;
        }
    }
    return text;
}

}  // namespace

TEST(ResultsReaderFuzz, DamagedFilesKeepTheModelSound)
{
    const std::string plt = readFile(testData("results/VELTA0.PLT"));
    const std::string out = readFile(testData("results/VELTA0.OUT"));
    std::mt19937 rng(20240611);
    ListSink sink;
    FixedPrompter prompter;
    Session s(sink, prompter);
    sampleCase(s);
    // Stale foundation elevations beyond the used slots must never attract a row.
    for (int c = 0; c < kConsSlots; ++c)
        if (c < 18 || c > 22) s.model.ConsBaseElev[c] = c < 20 ? 1100 : 1000;
    int clean = 0;
    for (int i = 0; i < 4000; ++i) {
        const std::string p = i % 3 == 1 ? plt : mutate(plt, rng);
        const std::string o = i % 3 == 2 ? out : mutate(out, rng);
        s.geo.NbCenterEdit = 1 + i % 2;
        sink.clear();
        readResults(s, i % 97 == 0 ? nullptr : &p, i % 89 == 0 ? nullptr : &o, "/dir/");
        const auto texts = sink.texts();
        clean += texts.empty();
        const std::string broken = brokenResultsInvariant(s, texts);
        ASSERT_EQ(broken, "") << "iteration " << i;
    }
    // Some damage goes unnoticed (a changed digit), most does not.
    EXPECT_GT(clean, 0);
    EXPECT_LT(clean, 4000);
}

TEST(ResultsReaderFuzz, SampleFilesHoldTheInvariants)
{
    ListSink sink;
    FixedPrompter prompter;
    Session s(sink, prompter);
    sampleCase(s);
    const std::string plt = readFile(testData("results/VELTA0.PLT"));
    const std::string out = readFile(testData("results/VELTA0.OUT"));
    readResults(s, &plt, &out, "/dir/");
    EXPECT_EQ(brokenResultsInvariant(s, sink.texts()), "");
    // The checker itself notices a broken model.
    s.results.ResDeflElev[0][20][5] = 1000;
    EXPECT_NE(brokenResultsInvariant(s, sink.texts()), "");
}
