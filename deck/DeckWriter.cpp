#include "deck/DeckWriter.h"

#include <QString>
#include <algorithm>
#include <optional>
#include <vector>

#include "deck/DeckFormat.h"
#include "model/Numbers.h"

namespace velta {

using namespace deck;

namespace {

// Where a value stands, for the messages of values that the deck cannot carry.
struct CardContext {
    std::vector<std::string> labels;  // one per field of the card
    std::string where;                // " of the arch at elevation 1800 ft", or empty
};

// Builds one card and checks, when it is done, that reading it finds every
// value it was given in its own field: a value too wide for its columns can
// push the values after it into the wrong fields, and such a card is refused
// instead of written.
class CardBuilder {
public:
    CardBuilder(std::string_view start, const CardSpec& spec, CardContext context)
        : line_(start), spec_(spec), context_(std::move(context)), expected_(spec.fields.size()),
          excess_(spec.fields.size(), 0)
    {
        // The card's name as the deck shows it: "5   1 3" for a row card.
        const size_t keyLength = std::string_view(spec.key).size();
        cardName_ = std::string(start.substr(0, std::min(keyLength, start.size())));
    }
    CardBuilder& value(int field, double v)
    {
        return text(field, formatValue(spec_.fields.at(field).format, v));
    }
    // A cell written only when it is not empty; its text is re-formatted.
    CardBuilder& cell(int field, const std::string& text)
    {
        if (!text.empty()) value(field, parseNumber(text));
        return *this;
    }
    CardBuilder& text(int field, const std::string& t)
    {
        const int end = spec_.fields.at(field).endColumn;
        placeField(line_, end, t);
        expected_[field] = t;
        const int start = field == 0 ? spec_.firstValueColumn - 1 : spec_.fields[field - 1].endColumn;
        excess_[field] = static_cast<int>(t.size()) - (end - start);
        return *this;
    }
    // The finished card; throws DeckValueError when it does not read back.
    const std::string& line() const
    {
        const auto read = readFields(line_, spec_);
        for (size_t i = 0; i < expected_.size(); ++i) {
            if (read[i] == expected_[i]) continue;
            // Blame the value, at or before the misread one, that is widest
            // for its own field: it is the one that pushed the others.
            size_t culprit = i;
            int worst = 0;
            for (size_t j = 0; j <= i; ++j)
                if (expected_[j] && excess_[j] >= worst && excess_[j] > 0) {
                    worst = excess_[j];
                    culprit = j;
                }
            if (!expected_[culprit]) culprit = i;
            const std::string label =
                culprit < context_.labels.size() ? context_.labels[culprit] : spec_.fields[culprit].name;
            throw DeckValueError("The " + label + context_.where + ", " + expected_[culprit].value_or("") +
                                 ", cannot be written in the input deck card \"" + cardName_ +
                                 "\": it is too wide for its columns (up to column " +
                                 std::to_string(spec_.fields[culprit].endColumn) +
                                 ") and would be read back as a different value. Enter a smaller value.");
        }
        return line_;
    }

private:
    std::string line_;
    const CardSpec& spec_;
    CardContext context_;
    std::vector<std::optional<std::string>> expected_;
    std::vector<int> excess_;  // characters beyond the room between the field's neighbours
    std::string cardName_;
};

double num(const std::string& cell) { return parseNumber(cell); }

bool isControlByte(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b < 0x20 || b == 0x7f;
}

}  // namespace

std::string composeDeck(const CaseModel& m, int slot, int nbCenter)
{
    constexpr int u = kImperial;
    std::string out;
    auto putCard = [&out](std::string_view line) {
        out.append(line);
        out.append("\r\n");
    };

    putCard(kMasterCard);
    {
        const std::string& name = m.DamName[slot];
        for (size_t i = 0; i < name.size(); ++i)
            if (isControlByte(name[i]))
                throw DeckValueError("The dam name holds a control character (code " +
                                     std::to_string(static_cast<unsigned char>(name[i])) + ") at position " +
                                     std::to_string(i + 1) +
                                     ": the input deck cannot carry it. Enter the name without it.");
        std::string title(kTitleKey);
        placeField(title, 11, "");
        putCard(title + name);
    }
    putCard(kConstantCard2);

    const bool twoCentres = nbCenter == 2;
    const bool tailwater = m.Twe[u] > m.BaseElev[u];
    {
        std::string line = "3   0     30";
        line += m.ThUni ? '1' : '0';
        line += m.ThLin ? '1' : '0';
        line += '0';
        line += tailwater ? '1' : '0';
        line += "000";
        line += twoCentres ? '1' : '0';
        line += m.VariableModuli ? '1' : '0';
        line += "00";
        CardBuilder c(line, optionsCard(),
                      {{"concrete modulus (E6 psi)", "concrete Poisson's ratio",
                        "coefficient of thermal expansion (E-06 /°F)", "unit weight of concrete (lb/ft3)",
                        "rock modulus (E6 psi)", "rock Poisson's ratio"},
                       ""});
        c.value(kEc, m.Ec[u]).value(kNuc, m.Nuc[u]).value(kThec, m.Thec[u]).value(kWc, m.Wc[u]);
        c.value(kEr, m.Er[u]).value(kNur, m.Nur[u]);
        putCard(c.line());
    }
    {
        CardBuilder c(kElevationsKey, elevationsCard(),
                      {{"base elevation (ft)", "top elevation (ft)", "reservoir elevation (ft)",
                        "tailwater elevation (ft)", "top of grout elevation (ft)"},
                       ""});
        c.value(kBaseElev, m.BaseElev[u]).value(kTopElev, m.TopElev[u]).value(kRwe, m.Rwe[u]);
        if (tailwater) c.value(kTwe, m.Twe[u]);
        const int groutRow = m.NbArcs - 1 - m.GroutIndex;
        if (groutRow < 0 || groutRow >= kTabRows)
            throw ConversionError("'' is not a valid number (no arch at the top of grout)");
        c.value(kGroutElev, num(m.ArcTab(u, kArcElevation, groutRow)));
        putCard(c.line());
    }
    auto abscissa = [&](int t, int row) { return num(m.FaceTab[t](u, kColAbscissa, row)); };
    {
        CardBuilder c(kBaseKey, baseCard(),
                      {{"upstream face abscissa at the base (ft)", "downstream face abscissa at the base (ft)",
                        "radius less the downstream line of centres at the base (ft)",
                        "radius less the upstream line of centres at the base (ft)", "radius (ft)", "constant"},
                       ""});
        c.value(kBaseUpstream, -abscissa(kUpstreamFace, 0))
            .value(kBaseDownstream, abscissa(kDownstreamFace, 0))
            .value(kBaseDownstreamLoC, m.Radius[u] - abscissa(kDownstreamLoC, 0))
            .value(kBaseUpstreamLoC, m.Radius[u] - abscissa(kUpstreamLoC, 0))
            .value(kBaseRadius, m.Radius[u])
            .text(kBaseConstant, "-0.01");
        putCard(c.line());
    }
    if (twoCentres) {
        CardBuilder c(kRightBaseKey, rightBaseCard(),
                      {{"right radius less the right downstream line of centres at the base (ft)",
                        "right radius less the right upstream line of centres at the base (ft)",
                        "right radius (ft)"},
                       ""});
        c.value(kRightBaseDownstreamLoC, m.RadiusR[u] - abscissa(kRightDownstreamLoC, 0))
            .value(kRightBaseUpstreamLoC, m.RadiusR[u] - abscissa(kRightUpstreamLoC, 0))
            .value(kRightRadius, m.RadiusR[u]);
        putCard(c.line());
    }
    static const char* const kTableNames[kFaceTabs] = {
        "upstream face", "downstream face", "upstream line of centres", "downstream line of centres",
        "right upstream line of centres", "right downstream line of centres"};
    for (int k = 1; k <= (twoCentres ? 6 : 4); ++k) {
        const int t = rowCardTable(k);
        const Tab3dim& tab = m.FaceTab[t];
        for (int r = 1; r <= m.FaceRows[t] && r < kTabRows; ++r) {
            CardBuilder c(rowCardKey(k), rowCard(),
                          {{"row number", "elevation (ft)", "slope", "circle centre abscissa (ft)",
                            "circle centre elevation (ft)", "circle radius (ft)"},
                           " of row " + std::to_string(r) + " of the " + kTableNames[t]});
            c.text(kRowNumber, std::to_string(r))
                .value(kRowElevation, num(tab(u, kColElevation, r)))
                .cell(kRowSlope, tab(u, kColSlope, r))
                .cell(kRowCircleX, tab(u, kColCircleX, r))
                .cell(kRowCircleZ, tab(u, kColCircleZ, r))
                .cell(kRowCircleRadius, tab(u, kColCircleRadius, r));
            putCard(c.line());
        }
    }
    {
        auto crest = [&](int t) { return abscissa(t, m.FaceRows[t]); };
        CardBuilder c(kCrestKey, crestCard(),
                      {{"upstream face abscissa at the crest (ft)", "downstream face abscissa at the crest (ft)",
                        "radius less the downstream line of centres at the crest (ft)",
                        "radius less the upstream line of centres at the crest (ft)",
                        "right radius less the right downstream line of centres at the crest (ft)",
                        "right radius less the right upstream line of centres at the crest (ft)"},
                       ""});
        c.value(kCrestUpstream, -crest(kUpstreamFace))
            .value(kCrestDownstream, crest(kDownstreamFace))
            .value(kCrestDownstreamLoC, m.Radius[u] - crest(kDownstreamLoC))
            .value(kCrestUpstreamLoC, m.Radius[u] - crest(kUpstreamLoC));
        if (twoCentres)
            c.value(kCrestRightDownstreamLoC, m.RadiusR[u] - crest(kRightDownstreamLoC))
                .value(kCrestRightUpstreamLoC, m.RadiusR[u] - crest(kRightUpstreamLoC));
        putCard(c.line());
    }
    for (int r = 0; r < m.NbArcs && r < kTabRows; ++r) {
        const std::string& z = m.ArcTab(u, kArcElevation, r);
        const std::string where = " of the arch at elevation " + trim(z) + " ft";
        // The reader takes the procedure control code from column 6 alone.
        const std::string& code = m.ArcTab(u, kArcCode, r);
        if (code.size() > 1 || (code.size() == 1 && static_cast<unsigned char>(code[0]) <= ' '))
            throw DeckValueError("The procedure control code \"" + code + "\"" + where +
                                 " cannot be written in the input deck: the code is one character.");
        CardBuilder c(std::string(kArchKey) + code, archCard(),
                      {{"elevation (ft)", "left abutment angle (degrees)", "right abutment angle (degrees)",
                        "uniform temperature change (°F)", "linear temperature change (°F)",
                        "left rock modulus (E6 psi)", "right rock modulus (E6 psi)"},
                       where});
        c.value(kArchElevation, num(z))
            .cell(kArchPhiL, m.ArcTab(u, kArcPhiL, r))
            .cell(kArchPhiR, m.ArcTab(u, kArcPhiR, r))
            .cell(kArchUniTemp, m.TempTab(u, 1, r))
            .cell(kArchLinTemp, m.TempTab(u, 2, r))
            .cell(kArchDefL, m.DefTab(u, 1, r))
            .cell(kArchDefR, m.DefTab(u, 2, r));
        putCard(c.line());
    }
    putCard(kControlCard12);
    putCard(kControlCard14);
    putCard(m.WeightDistribution ? kControlCard13On : kControlCard13Off);
    putCard(kControlCard15);
    putCard(kControlCard110);
    putCard(kEndCard);
    return out;
}

void EnregistrerDonnees(CaseModel& m, int slot, int nbCenter, Prompter& prompter, const std::string& path)
{
    if (m.DamName[slot].empty()) {
        auto answer = prompter.askText("Dam / project name", "Enter the name of the dam or study", "");
        m.DamName[slot] = answer.value_or("");
    }
    writeFileAtomically(path, composeDeck(m, slot, nbCenter));
}

}  // namespace velta
