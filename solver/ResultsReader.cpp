#include "solver/ResultsReader.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <optional>
#include <string_view>

#include "model/Numbers.h"

namespace velta {

namespace {

constexpr const char* kPltNotFound = "VELTA result file not found. Check VELTA.OUT file at ";
constexpr const char* kDeflNotFound = "Deflection results not found. Check VELTA.OUT file at ";
constexpr const char* kStressNotFound = "Principal stresses results not found. Check VELTA.OUT file at ";
constexpr const char* kArchsNotFound = "Geometric properties for archs not found in .out file";
constexpr const char* kConsNotFound = "Geometric properties for cantilevers not found in .out file";
constexpr const char* kForcesNotFound = "Forces results not found in .out file";

constexpr double kFoot = 0.3048;           // m per ft
constexpr double kKsf = 47880.26;          // Pa per kip per square foot
constexpr double kPsiPerMPa = 145.038;     // psi per MPa
constexpr double kPoundForce = 0.4535924 * 9.81;  // N per lb
constexpr double kMatchTolerance = 0.001;  // squared elevation difference, ft^2

// Ends the section being read; what it stored so far stays.
struct SectionFailure {};

// The lines of a result file, read as bytes. Lines end with LF, optionally
// preceded by CR; the last line may lack its end. Reading past the last line
// yields empty lines.
class LineReader {
public:
    explicit LineReader(std::string_view bytes) : data_(bytes) {}
    std::string_view read()
    {
        if (pos_ >= data_.size()) return {};
        size_t e = data_.find('\n', pos_);
        std::string_view line;
        if (e == std::string_view::npos) {
            line = data_.substr(pos_);
            pos_ = data_.size();
        } else {
            line = data_.substr(pos_, e - pos_);
            pos_ = e + 1;
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        }
        return line;
    }
    void skip(int n)
    {
        for (int i = 0; i < n; ++i) read();
    }
    // True once the last line has been read.
    bool eof() const { return pos_ >= data_.size(); }

private:
    std::string_view data_;
    size_t pos_ = 0;
};

// Columns a to b (1-based, inclusive) of a line, cut short where it is shorter.
std::string_view cut(std::string_view line, int a, int b)
{
    size_t from = static_cast<size_t>(a - 1);
    if (from >= line.size()) return {};
    return line.substr(from, static_cast<size_t>(b - a + 1));
}

bool blank(std::string_view field) { return trim(field).empty(); }

double real(std::string_view line, int a, int b)
{
    auto v = tryParseNumber(cut(line, a, b));
    if (!v) throw SectionFailure{};
    return *v;
}

int integer(std::string_view line, int a, int b)
{
    auto v = tryParseInteger(cut(line, a, b));
    if (!v) throw SectionFailure{};
    return *v;
}

int slotNumber(std::string_view line, int a, int b)
{
    int c = integer(line, a, b);
    if (c < 0 || c >= kConsSlots) throw SectionFailure{};
    return c;
}

// The file gives stresses with compression positive; the model keeps
// tension positive. Written so that a zero stays +0.
double negate(double x) { return 0.0 - x; }

// Degrees and minutes; minutes count away from zero for d > 0 and toward the
// negative side otherwise, as the engine writes them.
double angle(int d, int m) { return d > 0 ? d + m / 60.0 : d - m / 60.0; }

// The used slots, kept inside the model's bounds.
struct SlotRange {
    int first, last;
};
SlotRange usedSlots(const CaseModel& m)
{
    return {std::max(m.FirstCons, 0), std::min(m.LastCons, kConsSlots - 1)};
}

// Searches from the next line for a title; ends on the title line, or on the
// file's last line when the title is missing.
template <class Test>
std::string_view search(LineReader& f, Test isTitle)
{
    std::string_view line = f.read();
    while (!isTitle(line) && !f.eof()) line = f.read();
    return line;
}

// Section A: radial deflections and cantilever loads.
void readDeflections(ResultsModel& r, const CaseModel& m, LineReader& f, bool& ended)
{
    std::string_view line =
        search(f, [](std::string_view l) { return cut(l, 5, 44) == "RADIAL ADJUSTMENT CANTILEVER DEFLECTIONS"; });
    line = f.read();
    int c = -1, k = 0;
    while (cut(line, 5, 39) != "RADIAL ADJUSTMENT, ARCH DEFLECTIONS" && !f.eof()) {
        if (!blank(cut(line, 10, 13))) {
            // A block replaces whatever an earlier block of the same slot left.
            c = slotNumber(line, 10, 13);
            k = 0;
            for (int u = 0; u < kUnitCopies; ++u) {
                r.ResDeflElev[u][c].fill(kNoElevation);
                r.ResDeflection[u][c].fill(0);
                r.ResConsLoad[u][c].fill(0);
            }
            r.ResDeflCount[c] = 0;
        } else {
            if (c < 0 || k >= kResultPoints) throw SectionFailure{};
            double elev = real(line, 30, 39);
            double load = real(line, 40, 49);
            double defl = real(line, 55, 66);
            r.ResDeflElev[0][c][k] = elev;
            r.ResConsLoad[0][c][k] = load;
            r.ResDeflection[0][c][k] = defl;
            r.ResDeflCount[c] = ++k;
        }
        line = f.read();
    }
    ended = cut(line, 5, 39) == "RADIAL ADJUSTMENT, ARCH DEFLECTIONS";
    auto [first, last] = usedSlots(m);
    for (int s = first; s <= last; ++s)
        for (int p = 0; p < r.ResDeflCount[s]; ++p) {
            r.ResDeflElev[1][s][p] = r.ResDeflElev[0][s][p] * kFoot;
            r.ResDeflection[1][s][p] = r.ResDeflection[0][s][p] * kFoot;
            r.ResConsLoad[1][s][p] = r.ResConsLoad[0][s][p] * kKsf;
        }
}

// Section B: principal stresses on both faces, continuing after section A.
void readStresses(ResultsModel& r, const CaseModel& m, LineReader& f, bool& ended)
{
    std::string_view line =
        search(f, [](std::string_view l) { return cut(l, 4, 32) == "CANTILEVER PRINCIPAL STRESSES"; });
    line = f.read();
    int c = -1, k = 0;
    while (cut(line, 5, 41) != "PRINCIPAL ARCH STRESSES LEFT ABUTMENT" && !f.eof()) {
        if (!blank(cut(line, 10, 13))) {
            c = slotNumber(line, 10, 13);
            k = 0;
            for (TabResult* t : {&r.ResStressElev, &r.ResPrin1Up, &r.ResPrin2Up, &r.ResAngleUp, &r.ResPrin1Down,
                                 &r.ResPrin2Down, &r.ResAngleDown})
                for (int u = 0; u < kUnitCopies; ++u) (*t)[u][c].fill(0);
            r.ResStressCount[c] = 0;
        } else {
            if (c < 0 || k >= kResultPoints) throw SectionFailure{};
            double elev = real(line, 15, 22);
            double p1u = negate(real(line, 25, 32));
            double p2u = negate(real(line, 35, 42));
            double au = 0;
            if (p1u != 0 || p2u != 0) {
                au = angle(integer(line, 47, 49), integer(line, 50, 52));
                if (c >= kCrownSlot) au = negate(au);
            }
            double p1d = negate(real(line, 71, 78));
            double p2d = negate(real(line, 81, 88));
            double ad = 0;
            if (p1d != 0 || p2d != 0) {
                ad = angle(integer(line, 93, 95), integer(line, 96, 98));
                if (c < kCrownSlot) ad = negate(ad);
            }
            r.ResStressElev[0][c][k] = elev;
            r.ResPrin1Up[0][c][k] = p1u;
            r.ResPrin2Up[0][c][k] = p2u;
            r.ResAngleUp[0][c][k] = au;
            r.ResPrin1Down[0][c][k] = p1d;
            r.ResPrin2Down[0][c][k] = p2d;
            r.ResAngleDown[0][c][k] = ad;
            r.ResStressCount[c] = ++k;
        }
        line = f.read();
    }
    ended = cut(line, 5, 41) == "PRINCIPAL ARCH STRESSES LEFT ABUTMENT";
    auto [first, last] = usedSlots(m);
    for (int s = first; s <= last; ++s)
        for (int p = 0; p < r.ResStressCount[s]; ++p) {
            if (r.ResPrin1Down[0][s][p] > r.ResPrin2Down[0][s][p]) {
                std::swap(r.ResPrin1Down[0][s][p], r.ResPrin2Down[0][s][p]);
                r.ResAngleDown[0][s][p] += 90;
            }
            if (r.ResPrin1Up[0][s][p] > r.ResPrin2Up[0][s][p]) {
                std::swap(r.ResPrin1Up[0][s][p], r.ResPrin2Up[0][s][p]);
                r.ResAngleUp[0][s][p] -= 90;
            }
        }
    for (int s = first; s <= last; ++s)
        for (int p = 0; p < r.ResStressCount[s]; ++p) {
            r.ResStressElev[1][s][p] = r.ResStressElev[0][s][p] * kFoot;
            r.ResPrin1Up[1][s][p] = r.ResPrin1Up[0][s][p] / kPsiPerMPa;
            r.ResPrin2Up[1][s][p] = r.ResPrin2Up[0][s][p] / kPsiPerMPa;
            r.ResPrin1Down[1][s][p] = r.ResPrin1Down[0][s][p] / kPsiPerMPa;
            r.ResPrin2Down[1][s][p] = r.ResPrin2Down[0][s][p] / kPsiPerMPa;
        }
}

int archRows(const CaseModel& m) { return std::clamp(m.NbArcs, 0, kConsSlots); }

// Reads the rows of a plane-of-centres table: after the title, three lines
// passed over, then one row per arch with the given column ranges.
void readCentres(std::array<std::array<double, kConsSlots>, 5>& table, const CaseModel& m, LineReader& f,
                 const std::array<std::array<int, 2>, 5>& cols)
{
    f.skip(3);
    for (int i = 0; i < archRows(m); ++i) {
        std::string_view line = f.read();
        std::array<double, 5> row{};
        for (int j = 0; j < 5; ++j) row[j] = real(line, cols[j][0], cols[j][1]);
        for (int j = 0; j < 5; ++j) table[j][i] = row[j];
    }
}

// Section C: the plane of centres (left side, or the only one).
void readCentresLeft(ResultsModel& r, const CaseModel& m, LineReader& f)
{
    search(f, [](std::string_view l) { return trim(cut(l, 50, 79)) == "PLANE OF CENTERS DATA"; });
    readCentres(r.ResCentresLeft, m, f, {{{5, 14}, {61, 70}, {75, 84}, {89, 98}, {103, 112}}});
}

// Section D: the plane of centres of the right side of a two-centred dam.
void readCentresRight(ResultsModel& r, const CaseModel& m, LineReader& f)
{
    search(f, [](std::string_view l) {
        return trim(cut(l, 10, 119)) ==
               "PLANE OF CENTERS DATA (FOR THE RIGHT SIDE PLANE, OR OUTER PLANE, IF 3 CENTERED GEOMETRY IS USED)";
    });
    readCentres(r.ResCentresRight, m, f, {{{26, 35}, {40, 49}, {55, 64}, {70, 79}, {85, 94}}});
}

// Section E: geometric properties of the cantilevers' cross-sections.
void readCantileverSections(ResultsModel& r, LineReader& f)
{
    std::string_view line = f.read();
    while (trim(cut(line, 1, 90)) != "GEOMETRIC PROPERTIES AT THE ABUTMENT ON THE LEFT SIDE" && !f.eof()) {
        if (trim(cut(line, 1, 81)) != "GEOMETRIC PROPERTIES FOR CANTILEVER NUMBER") {
            line = f.read();
            continue;
        }
        int n = slotNumber(line, 82, 83);
        for (auto& col : r.ResConsGeom) col[n].fill(0);
        r.ResConsGeomCount[n] = 0;
        f.skip(11);
        line = f.read();  // the 12th line after the title: the first row
        int rows = 0;
        while (!blank(cut(line, 3, 8))) {
            if (rows >= kGeomRows) throw SectionFailure{};
            double elev = real(line, 2, 8);
            double offset = real(line, 12, 21);
            double thickness = real(line, 23, 32);
            double ang = real(line, 46, 52);
            r.ResConsGeom[0][n][rows] = elev;
            r.ResConsGeom[1][n][rows] = offset;
            r.ResConsGeom[2][n][rows] = thickness;
            r.ResConsGeom[3][n][rows] = ang;
            r.ResConsGeomCount[n] = ++rows;
            line = f.read();
        }
        line = f.read();  // past the blank line that ended the rows
    }
}

// Section F: resultant forces on the abutments, matched to the slots in
// increasing order by the foundation elevation of each cantilever.
void readAbutmentForces(ResultsModel& r, const CaseModel& m, LineReader& f)
{
    search(f,
           [](std::string_view l) { return trim(cut(l, 1, 90)) == "RESOLUTION OF FORCES AND MOMENTS ON ABUTMENTS"; });
    f.skip(17);
    std::string_view line = f.read();  // the 18th line after the title: the first row
    const int last = std::min(m.LastCons, kConsSlots - 1);
    int s = m.FirstCons;
    while (cut(line, 1, 1) != "1") {
        double e = real(line, 2, 9);
        // A row that matches no remaining slot.
        if (s < 0 || s > last) throw SectionFailure{};
        double d = e - m.ConsBaseElev[s];
        if (d * d < kMatchTolerance) {
            double f1 = real(line, 32, 41);
            double a1 = real(line, 45, 49);
            double f2 = real(line, 52, 61);
            double a2 = real(line, 65, 69);
            r.ResAbutForce[0][s][0] = f1;
            r.ResAbutForce[0][s][1] = a1;
            r.ResAbutForce[0][s][2] = f2;
            r.ResAbutForce[0][s][3] = a2;
            r.ResAbutForce[1][s][0] = f1 * kPoundForce;
            r.ResAbutForce[1][s][1] = a1;
            r.ResAbutForce[1][s][2] = f2 * kPoundForce;
            r.ResAbutForce[1][s][3] = a2;
            line = f.read();
        }
        ++s;
    }
}

// Runs one section; true when it was read to its end.
template <class Body>
bool section(const std::string* bytes, Body body)
{
    if (!bytes) return false;
    try {
        body();
        return true;
    } catch (const SectionFailure&) {
        return false;
    }
}

std::optional<std::string> readBytes(const std::string& path)
{
    if (QFileInfo(QString::fromStdString(path)).isDir()) return std::nullopt;
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return std::string(data.constData(), static_cast<size_t>(data.size()));
}

}  // namespace

void Init_resultat(ResultsModel& r) { r.reset(); }

ResultsReadOutcome readResults(ResultsModel& r, const CaseModel& m, int nbCenter, MessageSink& messages,
                               const std::string* plt, const std::string* out, const std::string& folder)
{
    ResultsReadOutcome read;
    Init_resultat(r);

    if (!plt) messages.error(kPltNotFound + folder);
    bool deflectionsEnded = false, stressesEnded = false;
    {
        LineReader f(plt ? std::string_view(*plt) : std::string_view());
        bool ok = section(plt, [&] { readDeflections(r, m, f, deflectionsEnded); });
        if (!ok) messages.error(kDeflNotFound + folder);
        read.deflections = ok;
        ok = section(plt, [&] { readStresses(r, m, f, stressesEnded); });
        if (!ok) messages.error(kStressNotFound + folder);
        read.stresses = ok;
    }

    // Each .OUT section reads the file from its first line.
    const std::string_view outText = out ? std::string_view(*out) : std::string_view();
    if (!section(out, [&] {
            LineReader f(outText);
            readCentresLeft(r, m, f);
        }))
        messages.error(kArchsNotFound);
    if (nbCenter == 2) {
        if (!section(out, [&] {
                LineReader f(outText);
                readCentresRight(r, m, f);
            }))
            messages.error(kArchsNotFound);
    } else {
        for (int j = 0; j < 5; ++j)
            for (int i = 0; i < archRows(m); ++i) r.ResCentresRight[j][i] = r.ResCentresLeft[j][i];
    }
    bool ok = section(out, [&] {
        LineReader f(outText);
        readCantileverSections(r, f);
    });
    if (!ok) messages.error(kConsNotFound);
    read.sections = ok;
    ok = section(out, [&] {
        LineReader f(outText);
        readAbutmentForces(r, m, f);
    });
    if (!ok) messages.error(kForcesNotFound);
    read.forces = ok;

    read.pltOpened = plt != nullptr;
    read.outOpened = out != nullptr;
    read.pltCutShort = plt && !(deflectionsEnded && stressesEnded);
    return read;
}

ResultsReadOutcome LectureResultats(ResultsModel& r, const CaseModel& m, int nbCenter, MessageSink& messages,
                                    const std::string& pltPath, const std::string& outPath,
                                    const std::string& folder)
{
    std::optional<std::string> plt = readBytes(pltPath);
    std::optional<std::string> out = readBytes(outPath);
    return readResults(r, m, nbCenter, messages, plt ? &*plt : nullptr, out ? &*out : nullptr, folder);
}

}  // namespace velta
