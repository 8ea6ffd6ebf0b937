#include "forms/DeckReader.h"

#include <QFile>
#include <QString>
#include <optional>
#include <vector>

#include "deck/DeckFormat.h"
#include "forms/GeometryForm.h"
#include "forms/LoadsForm.h"
#include "forms/MaterialForm.h"
#include "model/Numbers.h"
#include "model/Units.h"

namespace velta {

using namespace deck;

namespace {

using Fields = std::vector<std::optional<std::string>>;

// The text of a field, empty when the card leaves it blank.
std::string text(const Fields& f, int i)
{
    return f[i].value_or(std::string());
}
// The number of a field that must hold one; a blank field is a conversion error.
double value(const Fields& f, int i)
{
    return parseNumber(text(f, i));
}

// Puts UnitSystem back to the user's choice however the read ends.
class UnitSystemRestorer {
public:
    explicit UnitSystemRestorer(CaseEditors& s) : s_(s) {}
    ~UnitSystemRestorer()
    {
        if (s_.main.UniteMenuCaption == unitMenuCaption(kSI)) s_.model.UnitSystem = kSI;
    }
    UnitSystemRestorer(const UnitSystemRestorer&) = delete;
    UnitSystemRestorer& operator=(const UnitSystemRestorer&) = delete;

private:
    CaseEditors& s_;
};

// What one read keeps between cards.
struct ReadState {
    double R = 0;                     // radius of card "3   1"
    std::optional<double> RR;         // radius of card "4   1"
    std::optional<std::string> grout; // grout elevation text of card "4   0"
    int groutItem = -1;               // arch card whose elevation matches it
    int arches = 0;                   // arch cards read
};

class CardReader {
public:
    explicit CardReader(CaseEditors& s) : s_(s), m_(s.model) {}

    void prepare()
    {
        for (auto& n : m_.FaceRowsWork) n = 0;
        s_.geo.ArcStringGrid.setDataRows(0);
        s_.loads.ThuniStringGrid.setDataRows(0);
        s_.loads.ThlinStringGrid.setDataRows(0);
        s_.mat.DefStringGrid.setDataRows(0);
        st_ = ReadState{};
    }

    void line(std::string_view l)
    {
        s_.geo.AngleRadioGroup = 0;
        refuseControlBytes(l);
        if (l.starts_with(kTitleKey))
            title(l);
        else if (l.starts_with(kElevationsKey))
            elevations(l);
        else if (l.starts_with(kWeightKey))
            weight(l);
        else if (l.starts_with(kOptionsKey))
            options(l);
        else if (l.starts_with(kBaseKey))
            base(l);
        else if (l.starts_with(kRightBaseKey))
            rightBase(l);
        else if (l.starts_with("5   1 ") && l.size() >= 7 && l[6] >= '1' && l[6] <= '6')
            row(l, l[6] - '0');
        else if (l.starts_with(kCrestKey))
            crest(l);
        else if (l.starts_with(kArchKey))
            arch(l);
    }

    // The grout item counted from the top arch; none when no arch matched.
    void finish()
    {
        if (st_.grout) s_.loads.groutSelected = st_.groutItem >= 0 ? st_.arches - 1 - st_.groutItem : -1;
    }

private:
    // A control byte (NUL, TAB, ...) inside a value would read as a blank and
    // silently make another number of what is left ("\0195.000" as 195), so
    // a card the reader uses is refused when one stands where it reads. The
    // weight card is read in one column only; other unknown cards are skipped.
    static void refuseControlBytes(std::string_view l)
    {
        const bool rowCard = l.starts_with("5   1 ") && l.size() >= 7 && l[6] >= '1' && l[6] <= '6';
        const bool weightCard = l.starts_with(kWeightKey);
        bool known = rowCard;
        for (std::string_view k :
             {kTitleKey, kElevationsKey, kWeightKey, kOptionsKey, kBaseKey, kRightBaseKey, kCrestKey, kArchKey})
            known = known || l.starts_with(k);
        if (!known) return;
        for (size_t i = 0; i < l.size(); ++i) {
            const auto b = static_cast<unsigned char>(l[i]);
            if (b >= 0x20 && b != 0x7f) continue;
            if (weightCard && static_cast<int>(i) + 1 != kWeightColumn) continue;
            const std::string key(l.substr(0, rowCard ? 7 : 5));
            throw DeckFormatError("Card \"" + key + "\" holds a control character (code " + std::to_string(b) +
                                  ") in column " + std::to_string(i + 1) +
                                  ", where a value is read: the deck is damaged and is not read.");
        }
    }

    Tab3dim& work(int t) { return m_.FaceTabWork[t]; }
    static std::string general(double x) { return formatGeneral(x); }

    void title(std::string_view l)
    {
        m_.DamName[s_.currentSlot()] = l.size() > 11 ? trim(l.substr(11)) : std::string();
    }

    void elevations(std::string_view l)
    {
        const Fields f = readFields(l, elevationsCard());
        auto& geo = s_.geo;
        geo.BaseDEdit = text(f, kBaseElev);
        geo.TopDEdit = text(f, kTopElev);
        s_.loads.RweEdit = text(f, kRwe);
        s_.loads.TweEdit = text(f, kTwe);
        const std::string grout = text(f, kGroutElev);
        if (grout.empty()) {
            s_.loads.GroutComboBox.push_back(" ");
            s_.loads.groutSelected = 0;
        } else {
            st_.grout = grout;
        }
    }

    void weight(std::string_view l)
    {
        const std::string w = window(l, kWeightColumn, 1);
        s_.loads.WeightDistributionCheckBox = !w.empty() && parseNumber(w) == 1;
    }

    void options(std::string_view l)
    {
        const Fields f = readFields(l, optionsCard());
        auto orDefault = [&](int i, const char* d) { return f[i] ? *f[i] : std::string(d); };
        auto& mat = s_.mat;
        mat.EcEdit = orDefault(kEc, "3.0");
        mat.NucEdit = orDefault(kNuc, "0.2");
        mat.ThecEdit = orDefault(kThec, "5.6");
        mat.WcEdit = orDefault(kWc, "150");
        mat.EREdit = orDefault(kEr, "3.0");
        mat.NurEdit = orDefault(kNur, "0.2");
        s_.loads.thUniCheckBox = window(l, kThUniColumn, 1) == "1";
        s_.loads.thlinCheckBox = window(l, kThLinColumn, 1) == "1";
        s_.geo.NbCenterEdit = window(l, kCentresColumn, 1) == "0" ? 1 : 2;
        NbCenterEditChange(s_);
        DefRadioGroupClick(s_.mat, window(l, kVariableModuliColumn, 1) == "0" ? 0 : 1);
    }

    void base(std::string_view l)
    {
        const Fields f = readFields(l, baseCard());
        constexpr int u = kImperial;
        work(kUpstreamFace)(u, kColAbscissa, 0) = general(-value(f, kBaseUpstream));
        work(kDownstreamFace)(u, kColAbscissa, 0) = text(f, kBaseDownstream);
        s_.geo.RadiusEdit = text(f, kBaseRadius);
        st_.R = value(f, kBaseRadius);
        work(kUpstreamLoC)(u, kColAbscissa, 0) = general(st_.R - value(f, kBaseUpstreamLoC));
        work(kDownstreamLoC)(u, kColAbscissa, 0) = general(st_.R - value(f, kBaseDownstreamLoC));
        for (int t = 0; t <= 3; ++t) work(t)(u, kColElevation, 0) = s_.geo.BaseDEdit;
    }

    void rightBase(std::string_view l)
    {
        const Fields f = readFields(l, rightBaseCard());
        constexpr int u = kImperial;
        s_.geo.RadiusEditR = text(f, kRightRadius);
        const double rr = value(f, kRightRadius);
        st_.RR = rr;
        work(kRightUpstreamLoC)(u, kColAbscissa, 0) = general(rr - value(f, kRightBaseUpstreamLoC));
        work(kRightDownstreamLoC)(u, kColAbscissa, 0) = general(rr - value(f, kRightBaseDownstreamLoC));
        for (int t = 4; t <= 5; ++t) work(t)(u, kColElevation, 0) = s_.geo.BaseDEdit;
    }

    void row(std::string_view l, int k)
    {
        const int t = rowCardTable(k);
        if (m_.FaceRowsWork[t] >= kTabRows - 1)
            throw DeckFormatError("This deck has more than " + std::to_string(kTabRows - 1) +
                                  " description cards \"" + rowCardKey(k) +
                                  "\": a face table holds at most " + std::to_string(kTabRows - 1) +
                                  " elevations above the base");
        const Fields f = readFields(l, rowCard());
        const int r = ++m_.FaceRowsWork[t];
        Tab3dim& tab = work(t);
        constexpr int u = kImperial;
        for (int c = kColAbscissa; c <= kColCircleRadius; ++c) tab(u, c, r).clear();
        tab(u, kColElevation, r) = text(f, kRowElevation);
        tab(u, kColSlope, r) = text(f, kRowSlope);
        const std::string radius = text(f, kRowCircleRadius);
        if (!radius.empty() && parseNumber(radius) != 0) {
            tab(u, kColSlope, r).clear();
            tab(u, kColCircleX, r) = text(f, kRowCircleX);
            tab(u, kColCircleZ, r) = text(f, kRowCircleZ);
            tab(u, kColCircleRadius, r) = radius;
        }
    }

    void crest(std::string_view l)
    {
        const Fields f = readFields(l, crestCard());
        constexpr int u = kImperial;
        auto top = [&](int t) -> std::string& { return work(t)(u, kColAbscissa, m_.FaceRowsWork[t]); };
        // A blank line-of-centres field means the crest lies on the axis.
        auto fromRadius = [&](double radius, int i) { return general(f[i] ? radius - value(f, i) : radius); };
        const double rr = st_.RR.value_or(st_.R);
        top(kUpstreamFace) = general(-value(f, kCrestUpstream));
        top(kDownstreamFace) = text(f, kCrestDownstream);
        top(kDownstreamLoC) = fromRadius(st_.R, kCrestDownstreamLoC);
        top(kUpstreamLoC) = fromRadius(st_.R, kCrestUpstreamLoC);
        top(kRightDownstreamLoC) = fromRadius(rr, kCrestRightDownstreamLoC);
        top(kRightUpstreamLoC) = fromRadius(rr, kCrestRightUpstreamLoC);
    }

    void arch(std::string_view l)
    {
        if (st_.arches >= kMaxArcs)
            throw DeckFormatError("This deck has more than " + std::to_string(kMaxArcs) + " arch cards \"" +
                                  std::string(kArchKey) + "\": a case holds at most " +
                                  std::to_string(kMaxArcs) + " arches");
        const Fields f = readFields(l, archCard());
        const std::string z = text(f, kArchElevation);
        // The deck lists the arches from the lowest up, the editors show the
        // highest first: each new arch goes directly under the header.
        GridState& arc = s_.geo.ArcStringGrid;
        arc.insertRow(1);
        arc.cell(kArcCode, 1) = window(l, kArchCodeColumn, 1);
        arc.cell(kArcElevation, 1) = z;
        arc.cell(kArcPhiL, 1) = text(f, kArchPhiL);
        arc.cell(kArcPhiR, 1) = text(f, kArchPhiR);
        GridState& uni = s_.loads.ThuniStringGrid;
        uni.insertRow(1);
        uni.cell(0, 1) = z;
        uni.cell(1, 1) = text(f, kArchUniTemp);
        GridState& lin = s_.loads.ThlinStringGrid;
        lin.insertRow(1);
        lin.cell(0, 1) = z;
        lin.cell(1, 1) = text(f, kArchLinTemp);
        GridState& def = s_.mat.DefStringGrid;
        def.insertRow(1);
        def.cell(0, 1) = z;
        def.cell(1, 1) = text(f, kArchDefL);
        def.cell(2, 1) = text(f, kArchDefR);
        s_.loads.GroutComboBox.push_back(" ");
        if (st_.grout && parseNumber(*st_.grout) == parseNumber(z)) st_.groutItem = st_.arches;
        ++st_.arches;
    }

    CaseEditors& s_;
    CaseModel& m_;
    ReadState st_;
};

void readDeck(CaseEditors& s, bool& accepted, std::string_view bytes)
{
    UnitSystemRestorer restore(s);
    s.model.UnitSystem = kImperial;

    const std::vector<std::string_view> lines = splitLines(bytes);
    CardReader reader(s);
    if (lines.empty() || !lines[0].starts_with(kMasterCard)) {
        s.messages.warning("Sorry, I don't think this is an VELTA file ");
    } else {
        reader.prepare();
        for (size_t i = 1; i < lines.size(); ++i) {
            reader.line(lines[i]);
            if (lines[i].starts_with(kEndCard)) break;
        }
        reader.finish();
    }

    if (!accepted) {
        s.messages.warning(
            "Sorry, this early version of VELTA do not accept this option for 3-centered geometry ");
        return;
    }
    const int lastTab = s.geo.NbCenterEdit == 1 ? 3 : 5;
    for (int t = 0; t <= lastTab; ++t) {
        s.geo.faceTabIndex = t;
        FaceTabControlChange(s);
        // The flag is the failure record of the whole deck: once one table
        // has been refused, the deck stays refused whatever the later
        // tables give.
        const bool before = accepted;
        FaceTabControlChanging(s, accepted);
        if (!before) accepted = false;
    }
    s.geo.faceTabIndex = 0;
    LectureStructure(s);
    LectureMateriau(s);
    LectureChargement(s);
}

} // namespace

void LectureDonneesBytes(CaseEditors& s, bool& accepted, std::string_view bytes)
{
    try {
        readDeck(s, accepted, bytes);
    } catch (...) {
        accepted = false;
        throw;
    }
}

void LectureDonnees(CaseEditors& s, bool& accepted, const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        accepted = false;
        throw FileReadError("Cannot open file \"" + path + "\": " + file.errorString().toStdString());
    }
    const QByteArray bytes = file.readAll();
    const bool failed = file.error() != QFileDevice::NoError;
    const std::string err = file.errorString().toStdString();
    file.close();
    if (failed) {
        accepted = false;
        throw FileReadError("Cannot read file \"" + path + "\": " + err);
    }
    LectureDonneesBytes(s, accepted, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

} // namespace velta
