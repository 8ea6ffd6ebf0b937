#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "app/shell/Session.h"
#include "deck/DeckFormat.h"
#include "forms/DeckReader.h"
#include "deck/DeckWriter.h"
#include "forms/GeometryMath.h"
#include "model/Numbers.h"
#include "model/Units.h"
#include "support/TestSupport.h"

using namespace velta;

namespace {

struct Reader {
    ListSink sink;
    FixedPrompter prompter;
    Session s{sink, prompter};
    bool accepted = true;

    Reader()
    {
        for (auto& f : s.model.CaseFile) f = "VELTA";
        s.main.tabs = {"calc_0"};
        s.main.tabIndex = 0;
        s.Initialisation();
    }
    void read(const std::string& deck)
    {
        accepted = true;
        LectureDonneesBytes(s, accepted, deck);
    }
    bool validated() const { return accepted && s.main.caseValidated(); }
    std::string save() const { return composeDeck(s.model, 0, s.geo.NbCenterEdit); }
};

std::string crlf(const std::vector<std::string>& lines)
{
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

std::string t1()
{
    return test::readFile(test::testData("decks/T1.dat"));
}

// Replaces the first card that starts with `key`.
std::string withCard(std::string deck, const std::string& key, const std::string& card)
{
    const size_t p = deck.find("\n" + key) + 1;
    const size_t e = deck.find("\r\n", p);
    return deck.replace(p, e - p, card);
}

// ---------------------------------------------------------------------------
// Random valid cases, written by the deck writer.

class CaseMaker {
public:
    explicit CaseMaker(unsigned seed) : rng_(seed) {}

    CaseModel make(bool twoCentres)
    {
        CaseModel m;
        m.DamName[0] = "Case " + std::to_string(uniformInt(1, 99999)) + " (random)";
        const double base = pick({1000.125, 0.0, 250.5, -35.25, 1000.0, 9876.543});
        const double top = base + thousandths(40, 400);
        m.BaseElev[0] = base;
        m.TopElev[0] = top;
        m.Radius[0] = thousandths(200, 900);
        m.RadiusR[0] = twoCentres ? thousandths(200, 900) : m.Radius[0];
        m.NbCenter = twoCentres ? 2 : 1;

        // Face tables: upstream face negative, downstream positive, lines of
        // centres well inside the radius.
        face(m, kUpstreamFace, base, top, -60, 0);
        face(m, kDownstreamFace, base, top, 5, 80);
        face(m, kDownstreamLoC, base, top, 0, m.Radius[0] / 3);
        face(m, kUpstreamLoC, base, top, 0, m.Radius[0] / 3);
        if (twoCentres) {
            face(m, kRightDownstreamLoC, base, top, 0, m.RadiusR[0] / 3);
            face(m, kRightUpstreamLoC, base, top, 0, m.RadiusR[0] / 3);
        }

        // Arches from the base up, one metre apart at least.
        m.NbArcs = uniformInt(2, kMaxArcs);
        std::vector<double> z = elevations(base, top, m.NbArcs - 1);
        z.insert(z.begin(), base);
        for (int r = 0; r < m.NbArcs; ++r) {
            m.ArcTab(0, kArcElevation, r) = formatF3(z[r]);
            const int code = r == 0 ? 1 : pick({0, 0, 2, 3});
            m.ArcTab(0, kArcCode, r) = std::to_string(code);
            if (r > 0 && code != 3) m.ArcTab(0, kArcPhiL, r) = formatF3(thousandths(1, 60));
            if (r > 0 && code != 2) m.ArcTab(0, kArcPhiR, r) = formatF3(thousandths(1, 60));
        }

        m.Ec[0] = thousandths(1, 12);
        m.Nuc[0] = thousandths(0.1, 0.3);
        m.Thec[0] = thousandths(4, 7);
        m.Wc[0] = thousandths(100, 160);
        m.Er[0] = thousandths(0.5, 25);
        m.Nur[0] = thousandths(0.1, 0.3);
        m.VariableModuli = coin();
        m.ThUni = coin();
        m.ThLin = coin();
        m.WeightDistribution = coin();
        m.Rwe[0] = thousandths(base, top + 10);
        m.Twe[0] = coin() ? thousandths(base + 1, top) : base;
        m.GroutIndex = uniformInt(0, m.NbArcs - 1);
        for (int r = 0; r < m.NbArcs; ++r) {
            auto temp = [&] { return coin() ? "" : formatF2(hundredths(-35, 35)); };
            m.TempTab(0, 1, r) = temp();
            m.TempTab(0, 2, r) = temp();
            if (m.VariableModuli || coin()) {
                m.DefTab(0, 1, r) = formatF2(hundredths(0.5, 60));
                m.DefTab(0, 2, r) = formatF2(hundredths(0.5, 60));
            }
        }
        return m;
    }

private:
    int uniformInt(int a, int b) { return std::uniform_int_distribution<int>(a, b)(rng_); }
    bool coin() { return uniformInt(0, 1) == 1; }
    template <class T> T pick(std::initializer_list<T> xs)
    {
        return xs.begin()[uniformInt(0, int(xs.size()) - 1)];
    }
    double thousandths(double a, double b)
    {
        return std::round(std::uniform_real_distribution<double>(a, b)(rng_) * 1000) / 1000;
    }
    double hundredths(double a, double b)
    {
        return std::round(std::uniform_real_distribution<double>(a, b)(rng_) * 100) / 100;
    }
    // n increasing elevations strictly inside (base, top], the last one the top.
    std::vector<double> elevations(double base, double top, int n)
    {
        std::vector<double> z;
        for (int i = 1; i < n; ++i) z.push_back(base + (top - base) * i / n + thousandths(-0.3, 0.3));
        z.push_back(top);
        return z;
    }

    // A face table of 1 to 10 rows above the base, slope and circle rows, with
    // abscissas completed as the validation completes them.
    void face(CaseModel& m, int t, double base, double top, double lo, double hi)
    {
        Tab3dim& tab = m.FaceTab[t];
        const int rows = uniformInt(1, kTabRows - 1);
        const std::vector<double> z = elevations(base, top, rows);
        tab(0, kColElevation, 0) = formatF3(base);
        double x = thousandths(lo, hi);
        tab(0, kColAbscissa, 0) = formatF3(x);
        double zb = base;
        for (int r = 1; r <= rows; ++r) {
            tab(0, kColElevation, r) = formatF3(z[r - 1]);
            if (coin()) {
                const double slope = thousandths(-0.2, 0.2);
                tab(0, kColSlope, r) = formatF3(slope);
                x = x + slope * (z[r - 1] - zb);
            } else {
                // A circle centred at the row's elevation that reaches the row
                // below; flat on the lines of centres, whose abscissas the
                // abutment angles need inside the radius.
                const double seg = z[r - 1] - zb;
                const double size = t >= kUpstreamLoC ? thousandths(3000, 9000) : seg + thousandths(50, 900);
                const double radius = pick({1.0, -1.0}) * size;
                const double cx = thousandths(lo, hi) + radius;
                tab(0, kColCircleX, r) = formatF3(cx);
                tab(0, kColCircleZ, r) = formatF3(z[r - 1]);
                tab(0, kColCircleRadius, r) = formatF3(radius);
                x = circleAbscissa(cx, z[r - 1], radius, z[r - 1]);
            }
            x = parseNumber(formatF3(x));
            zb = z[r - 1];
        }
        tab(0, kColAbscissa, rows) = formatF3(x);
        m.FaceRows[t] = rows;
    }

    std::mt19937 rng_;
};

// The same deck with every value moved somewhere inside its field: shorter
// texts ("1000" for "1000.000"), blanks before them, nothing past the field.
std::string scatterValues(const std::string& deck, std::mt19937& rng)
{
    using namespace deck;
    auto cardOf = [](std::string_view l) -> const CardSpec* {
        auto is = [&](std::string_view key) { return l.substr(0, key.size()) == key; };
        if (is(kOptionsKey)) return &optionsCard();
        if (is(kElevationsKey)) return &elevationsCard();
        if (is(kBaseKey)) return &baseCard();
        if (is(kRightBaseKey)) return &rightBaseCard();
        if (is("5   1 ")) return &rowCard();
        if (is(kCrestKey)) return &crestCard();
        if (is(kArchKey)) return &archCard();
        return nullptr;
    };
    auto shorten = [](std::string v) {
        if (v.find('.') == std::string::npos) return v;
        while (v.back() == '0') v.pop_back();
        if (v.back() == '.') v.pop_back();
        return v;
    };
    std::string out;
    size_t pos = 0;
    while (pos < deck.size()) {
        const size_t e = deck.find("\r\n", pos);
        const std::string line = deck.substr(pos, e - pos);
        pos = e + 2;
        const CardSpec* card = cardOf(line);
        if (!card) {
            out += line + "\r\n";
            continue;
        }
        const auto fields = readFields(line, *card);
        std::string rebuilt = line.substr(0, card->firstValueColumn - 1);
        for (size_t i = 0; i < fields.size(); ++i) {
            if (!fields[i]) continue;
            const FieldSpec& f = card->fields[i];
            if (f.format == FieldFormat::Integer) {
                placeField(rebuilt, f.endColumn, *fields[i]);
                continue;
            }
            // A value may lose its trailing zeros only when the next value
            // cannot come to touch it.
            size_t next = i + 1;
            while (next < fields.size() && !fields[next]) ++next;
            const bool nextMayTouch = next < fields.size() &&
                                      int(fields[next]->size()) >= card->fields[next].endColumn - f.endColumn;
            std::string v = nextMayTouch ? *fields[i] : shorten(*fields[i]);
            const int fieldStart = i == 0 ? card->firstValueColumn : card->fields[i - 1].endColumn + 1;
            const int first = std::max(int(rebuilt.size()) + 2, fieldStart);
            const int last = f.endColumn - int(v.size()) + 1;
            if (first <= last) {
                const int start = std::uniform_int_distribution<int>(first, last)(rng);
                rebuilt.append(start - 1 - rebuilt.size(), ' ');
                rebuilt += v;
            } else {
                placeField(rebuilt, f.endColumn, *fields[i]);
            }
        }
        out += rebuilt + "\r\n";
    }
    return out;
}

} // namespace

TEST(DeckReader, EveryWrittenDeckReadsBackToTheSameValues)
{
    CaseMaker maker(20240611);
    std::mt19937 rng(7);
    for (int i = 0; i < 200; ++i) {
        SCOPED_TRACE(i);
        const std::string deck = composeDeck(maker.make(i % 2 == 1), 0, i % 2 == 1 ? 2 : 1);
        Reader r;
        r.read(deck);
        ASSERT_TRUE(r.validated()) << deck << "\nmessages: " << testing::PrintToString(r.sink.texts());
        ASSERT_EQ(r.save(), deck);

        const std::string scattered = scatterValues(deck, rng);
        Reader r2;
        r2.read(scattered);
        ASSERT_TRUE(r2.validated()) << scattered;
        ASSERT_EQ(r2.save(), deck) << scattered;
    }
}

TEST(DeckReader, ValuesThatShareOrOverrunColumnsKeepEveryDigit)
{
    // Written side by side: Wc and Er, a linear temperature after a uniform
    // one, a rock modulus of five characters, elevations with three decimals.
    const std::string deck = crlf({
        "MASTERIO  111011111",
        "1   0      A name that is much longer than twenty-eight characters",
        "2   0     011111101",
        "3   0     3011010000100   12.345 0.2105.600   0.000300.000 0.180",
        "4   0      1000.125 1200.000 1190.125 1010.500 1200.000",
        "3   1        0.000    40.000      0.000     0.000   500.000    -0.01",
        "5   1 1 1   1200.000       0.000",
        "5   1 2 1   1200.000      -0.150",
        "5   1 3 1   1200.000       0.000",
        "5   1 4 1   1200.000       0.000",
        "6   1         0.000     10.019      0.000      0.000",
        "7   11     1000.125                              -10.00-12.3410.003.00",
        "7   10     1100.000   42.000 42.000             -100.00-5.5012.5010.25",
        "7   10     1200.000   55.000 55.000               11.11",
        "1   2           1   1 11111    01",
        "1   4     00 00     100000000000          10  0               10100110000000",
        "1   3     000000000000000 0010000  00001 001100101010000 00    1",
        "1   5     1     1   11  1     0 000 0   000       2         11111  01",
        "1  10      1             1",
        "*ENDFILE",
    });
    Reader r;
    r.read(deck);
    ASSERT_TRUE(r.validated()) << testing::PrintToString(r.sink.texts());
    const CaseModel& m = r.s.model;
    EXPECT_EQ(m.DamName[0], "A name that is much longer than twenty-eight characters");
    EXPECT_EQ(m.Ec[0], 12.345);
    EXPECT_EQ(m.Nuc[0], 0.21);
    EXPECT_EQ(m.Wc[0], 0);
    EXPECT_EQ(m.Er[0], 300);
    EXPECT_EQ(m.Nur[0], 0.18);
    EXPECT_EQ(m.BaseElev[0], 1000.125);
    EXPECT_EQ(m.Rwe[0], 1190.125);
    EXPECT_EQ(m.Twe[0], 1010.5);
    EXPECT_EQ(m.TempTab(0, 1, 0), "-10.00");
    EXPECT_EQ(m.TempTab(0, 2, 0), "-12.34");
    EXPECT_EQ(m.DefTab(0, 1, 0), "10.00");
    EXPECT_EQ(m.DefTab(0, 2, 0), "3.00");
    EXPECT_EQ(m.TempTab(0, 1, 1), "-100.00");
    EXPECT_EQ(m.TempTab(0, 2, 1), "-5.50");
    EXPECT_EQ(m.DefTab(0, 1, 1), "12.50");
    EXPECT_EQ(m.DefTab(0, 2, 1), "10.25");
    EXPECT_EQ(m.TempTab(0, 2, 2), "");
    EXPECT_TRUE(m.VariableModuli);
    EXPECT_TRUE(m.ThUni);
    EXPECT_TRUE(m.ThLin);
    EXPECT_TRUE(m.WeightDistribution);
    EXPECT_EQ(m.FaceTab[kDownstreamFace](0, kColAbscissa, 1), "10.019");
    EXPECT_EQ(r.save(), deck);
}

TEST(DeckReader, FillsTheEditorsAsAUserWould)
{
    Reader r;
    r.read(t1());
    ASSERT_TRUE(r.validated()) << testing::PrintToString(r.sink.texts());
    EXPECT_TRUE(r.sink.entries.empty());
    const Session& s = r.s;
    EXPECT_EQ(s.geo.NbCenterEdit, 1);
    EXPECT_EQ(s.geo.BaseDEdit, "1000.000");
    EXPECT_EQ(s.geo.RadiusEdit, "500.000");
    EXPECT_EQ(s.geo.faceTabIndex, 0);
    EXPECT_EQ(s.geo.AngleRadioGroup, 0);
    // Arches top first in every table of the editors.
    ASSERT_EQ(s.geo.ArcStringGrid.dataRows(), 5);
    EXPECT_EQ(s.geo.ArcStringGrid.cell(0, 1), "1200.000");
    EXPECT_EQ(s.geo.ArcStringGrid.cell(1, 5), "1");
    EXPECT_EQ(s.loads.ThuniStringGrid.cell(0, 1), "1200.000");
    EXPECT_EQ(s.mat.DefStringGrid.cell(0, 5), "1000.000");
    EXPECT_EQ(s.loads.GroutComboBox.size(), 5u);
    EXPECT_EQ(s.loads.groutSelected, 0);
    EXPECT_EQ(s.model.GroutIndex, 0);
    EXPECT_EQ(s.model.NbArcs, 5);
    EXPECT_EQ(s.model.FaceTab[kUpstreamFace](0, kColAbscissa, 0), "0");
    EXPECT_EQ(s.model.FaceTab[kDownstreamFace](0, kColAbscissa, 0), "40.000");
    EXPECT_EQ(s.model.FaceTab[kUpstreamLoC](0, kColAbscissa, 0), "500");
    EXPECT_EQ(s.model.Wc[0], 0);
    EXPECT_EQ(s.model.Er[0], 300);
    EXPECT_NEAR(s.model.Er[1], 2068.5, 1e-9);
    EXPECT_EQ(s.model.UnitSystem, kImperial);
    EXPECT_TRUE(s.main.GeometrieMenu && s.main.MateriauxMenu && s.main.ChargementMenu);
    EXPECT_EQ(r.save(), t1());
}

TEST(DeckReader, RoundTripIsByteExactInBothUnitSystems)
{
    test::TempDir dir;
    for (int unit : {kImperial, kSI}) {
        SCOPED_TRACE(unit);
        Reader r;
        if (unit == kSI) {
            r.s.model.UnitSystem = kSI;
            r.s.main.UniteMenuCaption = unitMenuCaption(kSI);
        }
        r.accepted = true;
        LectureDonnees(r.s, r.accepted, test::testData("decks/two_centres.dat"));
        ASSERT_TRUE(r.validated()) << testing::PrintToString(r.sink.texts());
        EXPECT_EQ(r.s.model.UnitSystem, unit);
        EnregistrerDonnees(r.s, dir.file("a.dat"));
        EXPECT_EQ(test::readFile(dir.file("a.dat")), test::readFile(test::testData("decks/two_centres.dat")));

        Reader again;
        again.s.model.UnitSystem = unit;
        again.s.main.UniteMenuCaption = unitMenuCaption(unit);
        LectureDonnees(again.s, again.accepted, dir.file("a.dat"));
        EnregistrerDonnees(again.s, dir.file("b.dat"));
        EXPECT_EQ(test::readFile(dir.file("b.dat")), test::readFile(dir.file("a.dat")));
    }
}

TEST(DeckReader, TwoCentresUseEachSideRadius)
{
    Reader r;
    r.read(test::readFile(test::testData("decks/two_centres.dat")));
    ASSERT_TRUE(r.validated()) << testing::PrintToString(r.sink.texts());
    const CaseModel& m = r.s.model;
    EXPECT_EQ(m.NbCenter, 2);
    EXPECT_EQ(m.Radius[0], 500);
    EXPECT_EQ(m.RadiusR[0], 600);
    // Crest abscissas of the lines of centres: radius minus the card's value.
    EXPECT_EQ(m.FaceTab[kUpstreamLoC](0, kColAbscissa, m.FaceRows[kUpstreamLoC]), "10");
    EXPECT_EQ(m.FaceTab[kRightUpstreamLoC](0, kColAbscissa, m.FaceRows[kRightUpstreamLoC]), "20");
    EXPECT_EQ(m.FaceTab[kRightDownstreamLoC](0, kColAbscissa, 0), "30");
}

TEST(DeckReader, OptionColumnsAndBlankFields)
{
    struct Case {
        const char* options;
        int centres;
        int moduli;
    };
    const Case cases[] = {
        {"3   0     3000000000000", 1, 0}, {"3   0     3000000001000", 2, 0},
        {"3   0     3000000002000", 2, 0}, {"3   0     300000000  00", 2, 1},
        {"3   0     3000000000700", 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        Reader r;
        try {
            r.read(withCard(t1(), "3   0", c.options));
        } catch (const std::exception&) {
            // Two centres without a right-hand side fail later; the options are read.
        }
        EXPECT_EQ(r.s.geo.NbCenterEdit, c.centres);
        EXPECT_EQ(r.s.mat.DefRadioGroup, c.moduli);
        // Blank material fields take the defaults.
        EXPECT_EQ(r.s.mat.EcEdit, "3.0");
        EXPECT_EQ(r.s.mat.NucEdit, "0.2");
        EXPECT_EQ(r.s.mat.ThecEdit, "5.6");
        EXPECT_EQ(r.s.mat.WcEdit, "150");
        EXPECT_EQ(r.s.mat.EREdit, "3.0");
        EXPECT_EQ(r.s.mat.NurEdit, "0.2");
    }
}

TEST(DeckReader, GroutAndTailwater)
{
    // A grout elevation that is no arch's selects none; the writer then
    // refuses the case instead of writing a wrong grout arch.
    Reader r;
    r.read(withCard(t1(), "4   0", "4   0      1000.000 1200.000 1200.000          1125.000"));
    EXPECT_EQ(r.s.loads.groutSelected, -1);
    EXPECT_EQ(r.s.model.GroutIndex, -1);
    EXPECT_THROW(r.save(), ConversionError);

    // The second arch from the bottom, counted from the top; a tailwater.
    Reader g;
    g.read(withCard(t1(), "4   0", "4   0      1000.000 1200.000 1190.000 1010.000 1050.000"));
    ASSERT_TRUE(g.validated());
    EXPECT_EQ(g.s.model.GroutIndex, 3);
    EXPECT_EQ(g.s.model.Twe[0], 1010);
    EXPECT_EQ(g.s.model.Twe[1], 307.85);

    // A blank grout field: the top arch.
    Reader b;
    b.read(withCard(t1(), "4   0", "4   0      1000.000 1200.000 1190.000"));
    ASSERT_TRUE(b.validated());
    EXPECT_EQ(b.s.model.GroutIndex, 0);
    EXPECT_EQ(b.s.model.Twe[0], 1000); // no tailwater: the base
}

TEST(DeckReader, RefusedDecksShowTheirMessages)
{
    Reader notADeck;
    notADeck.read("Hello\r\nworld\r\n");
    EXPECT_FALSE(notADeck.accepted);
    ASSERT_FALSE(notADeck.sink.entries.empty());
    EXPECT_EQ(notADeck.sink.entries[0].kind, MessageKind::Warning);
    EXPECT_EQ(notADeck.sink.texts()[0], "Sorry, I don't think this is an VELTA file ");
    EXPECT_EQ(notADeck.sink.texts()[1], "Abscisse at the base should be defined");

    // A refused table keeps the deck refused though the later ones pass: its
    // own messages only (completing the row above the base fails too).
    Reader face;
    face.read(withCard(t1(), "3   1",
                       "3   1"
                       "        0.000              0.000     0.000   500.000    -0.01"));
    EXPECT_FALSE(face.accepted);
    EXPECT_EQ(face.sink.texts(), (std::vector<std::string>{"Abscisse at the base should be defined",
                                                           "'' is not a valid number"}));

    // Refused on entry: the cards are read, nothing is committed.
    Reader early;
    early.accepted = false;
    LectureDonneesBytes(early.s, early.accepted, t1());
    EXPECT_FALSE(early.accepted);
    EXPECT_EQ(early.sink.texts(),
              std::vector<std::string>{
                  "Sorry, this early version of VELTA do not accept this option for 3-centered geometry "});
    EXPECT_FALSE(early.s.main.GeometrieMenu || early.s.main.MateriauxMenu || early.s.main.ChargementMenu);
    EXPECT_EQ(early.s.geo.ArcStringGrid.dataRows(), 5);
}

TEST(DeckReader, FieldsThatMustHoldANumberAbortTheRead)
{
    const std::pair<std::string, std::string> cards[] = {
        {"3   1", "3   1        0.000    40.000      0.000     0.000              -0.01"},
        {"6   1", "6   1                   10.000      0.000      0.000"},
        {"1   3", "1   3     000000000000000 0010000  00001 001100101010000 00    y"},
        {"5   1 2", "5   1 2 1   1200.000      -0.150                            abc"},
    };
    for (const auto& [key, card] : cards) {
        SCOPED_TRACE(card);
        Reader r;
        r.s.model.UnitSystem = kSI;
        r.s.main.UniteMenuCaption = unitMenuCaption(kSI);
        EXPECT_THROW(r.read(withCard(t1(), key, card)), ConversionError);
        EXPECT_FALSE(r.accepted);
        EXPECT_FALSE(r.s.main.GeometrieMenu);
        EXPECT_EQ(r.s.model.UnitSystem, kSI); // the user's unit system stays
    }
    Reader missing;
    EXPECT_THROW(LectureDonnees(missing.s, missing.accepted, "/nonexistent/deck.dat"), FileReadError);
    EXPECT_FALSE(missing.accepted);
}

TEST(DeckReader, TablesLargerThanTheModelAreRefused)
{
    // One row card or one arch card too many, and far too many.
    for (int extra : {1, 200}) {
        std::string rows, arches;
        for (int k = 1; k <= 10 + extra; ++k)
            rows += "5   1 1" + std::string(k < 10 ? " " : "") + std::to_string(k) +
                    "   1200.000       0.000\r\n";
        for (int k = 1; k <= 11 + extra; ++k) arches += "7   10     1100.000   42.000 42.000\r\n";
        std::string deck = t1();
        Reader r;
        EXPECT_THROW(r.read(std::string(deck).insert(deck.find("5   1 2"), rows)), DeckFormatError);
        EXPECT_FALSE(r.accepted);
        EXPECT_LE(r.s.model.FaceRowsWork[kUpstreamFace], 10);

        Reader a;
        try {
            a.read(std::string(deck).insert(deck.find("1   2"), arches));
            FAIL() << "more than 11 arches accepted";
        } catch (const DeckFormatError& e) {
            EXPECT_NE(std::string(e.what()).find("at most 11 arches"), std::string::npos);
        }
        EXPECT_LE(a.s.geo.ArcStringGrid.dataRows(), 11);
    }
}

TEST(DeckReader, LineEndsAndMissingEndCard)
{
    std::string lf = t1();
    for (size_t p; (p = lf.find("\r\n")) != std::string::npos;) lf.erase(p, 1);
    Reader r;
    r.read(lf);
    EXPECT_TRUE(r.validated());
    EXPECT_EQ(r.save(), t1());

    // Without "*ENDFILE" nor a last line end; cards after "*ENDFILE" are ignored.
    std::string cut = t1().substr(0, t1().find("*ENDFILE") - 2);
    Reader c;
    c.read(cut);
    EXPECT_TRUE(c.validated());
    Reader after;
    after.read(t1() + "7   10     1250.000   55.000 55.000\r\n");
    EXPECT_EQ(after.s.model.NbArcs, 5);
}

// Values at the edges of their fields and beyond: the writer either refuses
// the case with a message, or writes a deck that reads back to the same case.
TEST(DeckReader, EveryDeckTheWriterAcceptsReadsBackToTheSameCase)
{
    CaseMaker maker(99);
    std::mt19937 rng(11);
    const std::vector<std::string> temperatures = {"",        "0",        "-0.005",    "99.99",    "-99.99",
                                                   "-12.34",  "123.45",   "-123.45",   "9999.99",  "-9999.99",
                                                   "99999.99", "1000000", "-1000000",  "1e8",      "-4.5e9"};
    const std::vector<std::string> moduli = {"",      "0.01",   "9.99",    "10",   "10.00", "99.99",
                                             "100",   "999.99", "1234.5",  "1e6",  "-5",    "123456789"};
    const std::vector<double> scalars = {0, 0.005, 0.2, 9.999, 99.999, 12345.678, 99999.999, 1e6, -1e6, 123456789};
    auto any = [&rng](const auto& xs) { return xs[std::uniform_int_distribution<size_t>(0, xs.size() - 1)(rng)]; };
    int refused = 0, written = 0;
    for (int i = 0; i < 400; ++i) {
        SCOPED_TRACE(i);
        const bool two = i % 2 == 1;
        CaseModel m = maker.make(two);
        for (int r = 0; r < m.NbArcs; ++r) {
            m.TempTab(0, 1, r) = any(temperatures);
            m.TempTab(0, 2, r) = any(temperatures);
            m.DefTab(0, 1, r) = any(moduli);
            m.DefTab(0, 2, r) = any(moduli);
        }
        for (UnitPair* p : {&m.Ec, &m.Nuc, &m.Thec, &m.Wc, &m.Er, &m.Nur})
            if (std::uniform_int_distribution<int>(0, 3)(rng) == 0) (*p)[0] = any(scalars);
        std::string deck;
        try {
            deck = composeDeck(m, 0, two ? 2 : 1);
        } catch (const DeckValueError& e) {
            ++refused;
            EXPECT_NE(std::string(e.what()).find("cannot be written in the input deck"), std::string::npos);
            continue;
        }
        ++written;
        Reader r;
        r.read(deck);
        ASSERT_TRUE(r.validated()) << deck << "\nmessages: " << testing::PrintToString(r.sink.texts());
        ASSERT_EQ(r.save(), deck);
        // The per-arch values are those of the case, in F2.
        for (int a = 0; a < m.NbArcs; ++a)
            for (int c : {1, 2}) {
                auto f2 = [](const std::string& t) { return t.empty() ? t : formatF2(parseNumber(t)); };
                ASSERT_EQ(r.s.model.TempTab(0, c, a), f2(m.TempTab(0, c, a))) << deck;
                ASSERT_EQ(r.s.model.DefTab(0, c, a), f2(m.DefTab(0, c, a))) << deck;
            }
    }
    // Both outcomes happen: the test covers refusals and wide values written.
    EXPECT_GT(refused, 20);
    EXPECT_GT(written, 20);

    // The examples read and write back unchanged.
    for (const char* name : {"simple.dat", "two_centred.dat", "double_curvature.dat", "si_units.dat"}) {
        SCOPED_TRACE(name);
        const std::string deck = test::readFile(std::string(VELTA_SOURCE_DIR) + "/examples/" + name);
        Reader r;
        r.read(deck);
        ASSERT_TRUE(r.validated()) << testing::PrintToString(r.sink.texts());
        const std::string again = r.save();
        Reader r2;
        r2.read(again);
        ASSERT_TRUE(r2.validated());
        EXPECT_EQ(r2.save(), again);
    }
}

TEST(DeckWriter, RefusesAValueTooWideForItsColumnsAndKeepsTheRecoverableOnes)
{
    Reader r;
    r.read(t1());
    ASSERT_TRUE(r.validated());
    CaseModel& m = r.s.model;
    // A linear change of six characters and moduli of five run past their
    // columns and still read back: they are written.
    m.TempTab(0, 1, 2) = "10";
    m.TempTab(0, 2, 2) = "-12.34";
    m.DefTab(0, 1, 2) = "10.00";
    m.DefTab(0, 2, 2) = "12.5";
    const std::string deck = r.save();
    Reader back;
    back.read(deck);
    EXPECT_EQ(back.s.model.TempTab(0, 2, 2), "-12.34");
    EXPECT_EQ(back.s.model.DefTab(0, 1, 2), "10.00");
    EXPECT_EQ(back.s.model.DefTab(0, 2, 2), "12.50");

    // A linear change of a million degrees would push the moduli out of
    // their fields (the left one read as the right one): refused, naming the
    // value and the arch.
    m.TempTab(0, 1, 2) = "5";
    m.TempTab(0, 2, 2) = "1e6";
    m.DefTab(0, 1, 2) = "2";
    m.DefTab(0, 2, 2) = "4";
    const std::string z = trim(m.ArcTab(0, kArcElevation, 2));
    try {
        r.save();
        FAIL() << "a value too wide for the deck was written";
    } catch (const DeckValueError& e) {
        const std::string msg = e.what();
        EXPECT_NE(msg.find("linear temperature change"), std::string::npos) << msg;
        EXPECT_NE(msg.find("card \"7   1\""), std::string::npos) << msg;
        EXPECT_NE(msg.find("1000000.00"), std::string::npos) << msg;
        EXPECT_NE(msg.find("arch at elevation " + z), std::string::npos) << msg;
    }
    // The uniform change has room enough for a million degrees and more.
    m.TempTab(0, 1, 2) = "-1e7";
    m.TempTab(0, 2, 2) = "5";
    Reader wide;
    wide.read(r.save());
    EXPECT_EQ(wide.s.model.TempTab(0, 1, 2), "-10000000.00");
    EXPECT_EQ(wide.s.model.DefTab(0, 1, 2), "2.00");
    EXPECT_EQ(wide.s.model.DefTab(0, 2, 2), "4.00");
    // A procedure control code of two characters cannot stand in column 6.
    m.ArcTab(0, kArcCode, 2) = "10";
    EXPECT_THROW(r.save(), DeckValueError);
}

TEST(DeckReader, ControlBytesInAFieldRefuseTheDeck)
{
    // "\0195.000" for a reservoir of 1195 must not become 195.
    const std::pair<std::string, std::string> cases[] = {
        {"4   0", std::string("4   0      1000.000 1200.000 ") + '\0' + "195.000          1200.000"},
        {"7   1", "7   11     1000.000\t"},
        {"3   0", "3   0     3010000000000    3.000 0.2005.600   0.0\x7f" "0300.000 0.200"},
        {"5   1 2", "5   1 2 1   12\x01" "0.000      -0.150"},
        {"1   0", "1   0      T1\x1b"},
        {"1   3", std::string("1   3     000000000000000 0010000  00001 001100101010000 00    ") + '\0'},
    };
    for (const auto& [key, card] : cases) {
        SCOPED_TRACE(key);
        size_t at = 0;
        while (static_cast<unsigned char>(card[at]) >= 0x20 && card[at] != 0x7f) ++at;
        Reader r;
        try {
            r.read(withCard(t1(), key, card));
            ADD_FAILURE() << "a control byte was read as a blank";
        } catch (const DeckFormatError& e) {
            const std::string msg = e.what();
            EXPECT_NE(msg.find("Card \"" + key + "\""), std::string::npos) << msg;
            EXPECT_NE(msg.find("column " + std::to_string(at + 1) + ","), std::string::npos) << msg;
        }
        EXPECT_FALSE(r.accepted);
        EXPECT_FALSE(r.s.main.GeometrieMenu);
    }
    // Outside the columns the reader uses, and on cards it skips, they do no harm.
    Reader ok;
    ok.read(withCard(withCard(t1(), "1   3", "1   3\t    000000000000000 0010000  00001 001100101010000 00    0"),
                     "2   0", std::string("2   0\0    011111101", 19)));
    EXPECT_TRUE(ok.validated()) << testing::PrintToString(ok.sink.texts());
}
