#include "solver/ResultsReader.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <optional>
#include <string_view>

#include "model/Numbers.h"
#include "deck/ResultFormat.h"

namespace velta {

namespace {

namespace rf = resultfile;

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

// The lines of a result file, read as bytes (see splitLines). Reading past
// the last line yields empty lines.
class LineReader {
public:
    explicit LineReader(std::string_view bytes) : lines_(splitLines(bytes)) {}
    std::string_view read() { return next_ < lines_.size() ? lines_[next_++] : std::string_view(); }
    void skip(int n)
    {
        for (int i = 0; i < n; ++i) read();
    }
    // True once the last line has been read.
    bool eof() const { return next_ >= lines_.size(); }

private:
    std::vector<std::string_view> lines_;
    size_t next_ = 0;
};

using rf::columns;

bool blank(std::string_view field) { return trim(field).empty(); }

double real(std::string_view line, int a, int b)
{
    auto v = tryParseNumber(columns(line, a, b));
    if (!v) throw SectionFailure{};
    return *v;
}
double real(std::string_view line, const rf::Column& c) { return real(line, c.first(), c.end); }

int integer(std::string_view line, int a, int b)
{
    auto v = tryParseInteger(columns(line, a, b));
    if (!v) throw SectionFailure{};
    return *v;
}

int slotNumber(std::string_view line, const rf::Column& c)
{
    int n = integer(line, c.first(), c.end);
    if (n < 0 || n >= kConsSlots) throw SectionFailure{};
    return n;
}

// Degrees and minutes in a column of three characters each.
double angleIn(std::string_view line, const rf::Column& c)
{
    const int d = integer(line, c.first(), c.first() + rf::kDegreesWidth - 1);
    const int m = integer(line, c.first() + rf::kDegreesWidth, c.end);
    return d > 0 ? d + m / 60.0 : d - m / 60.0;
}

// The file gives stresses with compression positive; the model keeps
// tension positive. Written so that a zero stays +0.
double negate(double x) { return 0.0 - x; }

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
std::string_view search(LineReader& f, const rf::Title& title)
{
    std::string_view line = f.read();
    while (!rf::isTitle(line, title) && !f.eof()) line = f.read();
    return line;
}

// Section A: radial deflections and cantilever loads.
void readDeflections(ResultsModel& r, const CaseModel& m, LineReader& f, bool& ended)
{
    const rf::Title& end = rf::pltSectionEnd(rf::kDeflections);
    std::string_view line = search(f, rf::kDeflections);
    line = f.read();
    int c = -1, k = 0;
    while (!rf::isTitle(line, end) && !f.eof()) {
        if (!blank(columns(line, rf::kPltSlot))) {
            // A block replaces whatever an earlier block of the same slot left.
            c = slotNumber(line, rf::kPltSlot);
            k = 0;
            for (int u = 0; u < kUnitCopies; ++u) {
                r.ResDeflElev[u][c].fill(kNoElevation);
                r.ResDeflection[u][c].fill(0);
                r.ResConsLoad[u][c].fill(0);
            }
            r.ResDeflCount[c] = 0;
        } else {
            if (c < 0 || k >= kResultPoints) throw SectionFailure{};
            const auto& col = rf::kDeflectionColumns;
            double elev = real(line, col[rf::kDeflElev]);
            double load = real(line, col[rf::kDeflArchLoad]);
            double defl = real(line, col[rf::kDeflRadial]);
            r.ResDeflElev[0][c][k] = elev;
            r.ResConsLoad[0][c][k] = load;
            r.ResDeflection[0][c][k] = defl;
            r.ResDeflCount[c] = ++k;
        }
        line = f.read();
    }
    ended = rf::isTitle(line, end);
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
    const rf::Title& end = rf::pltSectionEnd(rf::kStresses);
    std::string_view line = search(f, rf::kStresses);
    line = f.read();
    int c = -1, k = 0;
    while (!rf::isTitle(line, end) && !f.eof()) {
        if (!blank(columns(line, rf::kPltSlot))) {
            c = slotNumber(line, rf::kPltSlot);
            k = 0;
            for (TabResult* t : {&r.ResStressElev, &r.ResPrin1Up, &r.ResPrin2Up, &r.ResAngleUp, &r.ResPrin1Down,
                                 &r.ResPrin2Down, &r.ResAngleDown})
                for (int u = 0; u < kUnitCopies; ++u) (*t)[u][c].fill(0);
            r.ResStressCount[c] = 0;
        } else {
            if (c < 0 || k >= kResultPoints) throw SectionFailure{};
            const auto& col = rf::kStressColumns;
            double elev = real(line, col[rf::kStressElev]);
            double p1u = negate(real(line, col[rf::kStressUp1]));
            double p2u = negate(real(line, col[rf::kStressUp2]));
            double au = 0;
            if (p1u != 0 || p2u != 0) {
                au = angleIn(line, col[rf::kStressUpAngle]);
                if (c >= kCrownSlot) au = negate(au);
            }
            double p1d = negate(real(line, col[rf::kStressDown1]));
            double p2d = negate(real(line, col[rf::kStressDown2]));
            double ad = 0;
            if (p1d != 0 || p2d != 0) {
                ad = angleIn(line, col[rf::kStressDownAngle]);
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
    ended = rf::isTitle(line, end);
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

// Reads a plane-of-centres table: its title, the lines before its rows,
// then one row per arch, of which the five given columns are kept.
void readCentres(std::array<std::array<double, kConsSlots>, 5>& table, const CaseModel& m, LineReader& f,
                 const rf::Table& t, const std::array<const rf::Column*, 5>& cols)
{
    search(f, t.title);
    f.skip(t.linesBeforeRows());
    for (int i = 0; i < m.archRows(); ++i) {
        std::string_view line = f.read();
        std::array<double, 5> row{};
        for (int j = 0; j < 5; ++j) row[j] = real(line, *cols[j]);
        for (int j = 0; j < 5; ++j) table[j][i] = row[j];
    }
}

// Section C: the plane of centres (left side, or the only one).
void readCentresLeft(ResultsModel& r, const CaseModel& m, LineReader& f)
{
    std::array<const rf::Column*, 5> cols{};
    for (int j = 0; j < 5; ++j) cols[j] = &rf::kCentreColumns[rf::kCentresKept[j]];
    readCentres(r.ResCentresLeft, m, f, rf::kCentres, cols);
}

// Section D: the plane of centres of the right side of a two-centred dam.
void readCentresRight(ResultsModel& r, const CaseModel& m, LineReader& f)
{
    std::array<const rf::Column*, 5> cols{};
    for (int j = 0; j < 5; ++j) cols[j] = &rf::kRightCentreColumns[j];
    readCentres(r.ResCentresRight, m, f, rf::kRightCentres, cols);
}

// Section E: geometric properties of the cantilevers' cross-sections.
void readCantileverSections(ResultsModel& r, LineReader& f)
{
    std::string_view line = f.read();
    while (!rf::isTitle(line, rf::kLeftAbutmentGeometry.title) && !f.eof()) {
        if (!rf::isTitle(line, rf::kCantileverGeometry.title)) {
            line = f.read();
            continue;
        }
        int n = slotNumber(line, rf::kGeometrySlot);
        for (auto& col : r.ResConsGeom) col[n].fill(0);
        r.ResConsGeomCount[n] = 0;
        f.skip(rf::kCantileverGeometry.linesBeforeRows());
        line = f.read();  // the first row
        int rows = 0;
        const auto& col = rf::kGeometryColumns;
        while (!blank(columns(line, rf::kGeometryRowMark))) {
            if (rows >= kGeomRows) throw SectionFailure{};
            double elev = real(line, col[rf::kGeomElev]);
            double offset = real(line, col[rf::kGeomOffset]);
            double thickness = real(line, col[rf::kGeomThickness]);
            double ang = real(line, col[rf::kGeomPhi]);
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
    search(f, rf::kForces.title);
    f.skip(rf::kForces.linesBeforeRows());
    std::string_view line = f.read();  // the first row
    const int last = std::min(m.LastCons, kConsSlots - 1);
    int s = m.FirstCons;
    const auto& col = rf::kForceColumns;
    while (columns(line, 1, int(rf::kPageBreak.size())) != rf::kPageBreak) {
        double e = real(line, col[rf::kForceElev]);
        // A row that matches no remaining slot.
        if (s < 0 || s > last) throw SectionFailure{};
        double d = e - m.ConsBaseElev[s];
        if (d * d < kMatchTolerance) {
            double f1 = real(line, col[rf::kForce1]);
            double a1 = real(line, col[rf::kForceAngle1]);
            double f2 = real(line, col[rf::kForce2]);
            double a2 = real(line, col[rf::kForceAngle2]);
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
            for (int i = 0; i < m.archRows(); ++i) r.ResCentresRight[j][i] = r.ResCentresLeft[j][i];
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
