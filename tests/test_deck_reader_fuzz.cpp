#include <gtest/gtest.h>

#include <random>

#include "app/shell/Session.h"
#include "forms/DeckReader.h"
#include "deck/DeckWriter.h"
#include "model/Numbers.h"
#include "support/TestSupport.h"

using namespace velta;

namespace {

// Mutations that keep most of a deck's shape, so that reading goes deep:
// bytes changed, inserted or removed, lines repeated, dropped or swapped.
std::string mutate(std::string deck, std::mt19937& rng)
{
    auto any = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n ? n - 1 : 0)(rng); };
    static const std::string alphabet = " 0123456789.-+eE\r\n\t\0\xff"
                                        "abcMASTERIO*";
    const int edits = 1 + int(any(6));
    for (int k = 0; k < edits && !deck.empty(); ++k) {
        const size_t p = any(deck.size());
        switch (any(7)) {
        case 0:
            deck[p] = alphabet[any(alphabet.size())];
            break;
        case 1:
            deck.insert(p, 1, alphabet[any(alphabet.size())]);
            break;
        case 2:
            deck.erase(p, 1 + any(8));
            break;
        case 3:
            deck[p] = char(any(256));
            break;
        case 4:
        case 5: {
            // Repeat a whole line, up to many times.
            const size_t b = deck.rfind('\n', p) == std::string::npos ? 0 : deck.rfind('\n', p) + 1;
            const size_t e = deck.find('\n', p);
            const std::string line = deck.substr(b, e == std::string::npos ? std::string::npos : e + 1 - b);
            for (size_t n = 1 + any(30); n > 0; --n) deck.insert(b, line);
            break;
        }
        default: {
            // Drop or move a line.
            const size_t b = deck.rfind('\n', p) == std::string::npos ? 0 : deck.rfind('\n', p) + 1;
            const size_t e = deck.find('\n', p);
            const std::string line = deck.substr(b, e == std::string::npos ? std::string::npos : e + 1 - b);
            deck.erase(b, line.size());
            if (any(2)) {
                const size_t at = deck.find('\n', any(deck.size() + 1));
                deck.insert(at == std::string::npos ? deck.size() : at + 1, line);
            }
        }
        }
    }
    return deck;
}

} // namespace

TEST(DeckReaderFuzz, MutatedDecksNeverCrash)
{
    const std::vector<std::string> seeds = {test::readFile(test::testData("decks/T1.dat")),
                                            test::readFile(test::testData("decks/two_centres.dat"))};
    std::mt19937 rng(12345);
    int accepted = 0, refused = 0, thrown = 0;
    for (int i = 0; i < 3000; ++i) {
        const std::string deck = mutate(seeds[i % seeds.size()], rng);
        ListSink sink;
        FixedPrompter prompter;
        Session s(sink, prompter);
        s.main.tabs = {"calc_0"};
        s.main.tabIndex = 0;
        if (i % 3 == 0) s.main.UniteMenuCaption = "&Convert in imp. unit";
        s.Initialisation();
        bool ok = true, threw = false;
        try {
            LectureDonneesBytes(s, ok, deck);
            (ok ? accepted : refused)++;
        } catch (const ConversionError&) {
            threw = true;
        } catch (const FileReadError&) {
            threw = true;
        } catch (const std::exception& e) {
            ADD_FAILURE() << "unexpected " << e.what() << " reading\n" << deck;
        }
        if (threw) {
            ++thrown;
            EXPECT_FALSE(ok);
        }
        EXPECT_EQ(s.model.UnitSystem, i % 3 == 0 ? kSI : kImperial);
        for (int n : s.model.FaceRowsWork) ASSERT_LE(n, kTabRows - 1);
        ASSERT_LE(s.geo.ArcStringGrid.dataRows(), kMaxArcs);
        // A deck refused without an error always says why in a message.
        if (!ok && !threw) {
            EXPECT_FALSE(sink.entries.empty()) << deck;
        }
        // An accepted case is written again, or refused with a conversion
        // error (a grout elevation that is no arch's).
        if (ok && s.main.caseValidated()) {
            try {
                composeDeck(s.model, 0, s.geo.NbCenterEdit);
            } catch (const ConversionError&) {
            }
        }
    }
    // The mutations reach every outcome.
    EXPECT_GT(accepted, 100);
    EXPECT_GT(refused, 100);
    EXPECT_GT(thrown, 100);
}
