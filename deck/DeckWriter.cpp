#include "deck/DeckWriter.h"

#include <QString>

#include "deck/DeckFormat.h"
#include "model/Numbers.h"

namespace velta {

using namespace deck;

namespace {

class CardBuilder {
public:
    CardBuilder(std::string_view key, const CardSpec& spec) : line_(key), spec_(spec) {}
    CardBuilder& value(int field, double v)
    {
        const FieldSpec& f = spec_.fields.at(field);
        placeField(line_, f.endColumn, formatValue(f.format, v));
        return *this;
    }
    // A cell written only when it is not empty; its text is re-formatted.
    CardBuilder& cell(int field, const std::string& text)
    {
        if (!text.empty()) value(field, parseNumber(text));
        return *this;
    }
    CardBuilder& text(int field, const std::string& t)
    {
        placeField(line_, spec_.fields.at(field).endColumn, t);
        return *this;
    }
    const std::string& line() const { return line_; }

private:
    std::string line_;
    const CardSpec& spec_;
};

double num(const std::string& cell) { return parseNumber(cell); }

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
        std::string title(kTitleKey);
        placeField(title, 11, "");
        putCard(title + m.DamName[slot]);
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
        std::string rest = line;
        const auto& spec = optionsCard();
        placeField(rest, spec.fields[kEc].endColumn, formatF3(m.Ec[u]));
        placeField(rest, spec.fields[kNuc].endColumn, formatF3(m.Nuc[u]));
        placeField(rest, spec.fields[kThec].endColumn, formatF3(m.Thec[u]));
        placeField(rest, spec.fields[kWc].endColumn, formatF3(m.Wc[u]));
        placeField(rest, spec.fields[kEr].endColumn, formatF3(m.Er[u]));
        placeField(rest, spec.fields[kNur].endColumn, formatF3(m.Nur[u]));
        putCard(rest);
    }
    {
        CardBuilder c(kElevationsKey, elevationsCard());
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
        CardBuilder c(kBaseKey, baseCard());
        c.value(kBaseUpstream, -abscissa(kUpstreamFace, 0))
            .value(kBaseDownstream, abscissa(kDownstreamFace, 0))
            .value(kBaseDownstreamLoC, m.Radius[u] - abscissa(kDownstreamLoC, 0))
            .value(kBaseUpstreamLoC, m.Radius[u] - abscissa(kUpstreamLoC, 0))
            .value(kBaseRadius, m.Radius[u])
            .text(kBaseConstant, "-0.01");
        putCard(c.line());
    }
    if (twoCentres) {
        CardBuilder c(kRightBaseKey, rightBaseCard());
        c.value(kRightBaseDownstreamLoC, m.RadiusR[u] - abscissa(kRightDownstreamLoC, 0))
            .value(kRightBaseUpstreamLoC, m.RadiusR[u] - abscissa(kRightUpstreamLoC, 0))
            .value(kRightRadius, m.RadiusR[u]);
        putCard(c.line());
    }
    for (int k = 1; k <= (twoCentres ? 6 : 4); ++k) {
        const int t = rowCardTable(k);
        const Tab3dim& tab = m.FaceTab[t];
        for (int r = 1; r <= m.FaceRows[t] && r < kTabRows; ++r) {
            CardBuilder c(rowCardKey(k), rowCard());
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
        CardBuilder c(kCrestKey, crestCard());
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
        CardBuilder c(std::string(kArchKey) + m.ArcTab(u, kArcCode, r), archCard());
        c.value(kArchElevation, num(m.ArcTab(u, kArcElevation, r)))
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

void EnregistrerDonnees(Session& s, const std::string& path)
{
    const int slot = s.currentSlot();
    if (s.model.DamName[slot].empty()) {
        auto answer = s.prompter.askText("Dam / project name", "Enter the name of the dam or study", "");
        s.model.DamName[slot] = answer.value_or("");
    }
    writeFileAtomically(path, composeDeck(s.model, slot, s.geo.NbCenterEdit));
}

}  // namespace velta
