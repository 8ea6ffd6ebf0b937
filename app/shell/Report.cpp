#include "app/shell/Report.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <algorithm>
#include <cmath>
#include <functional>
#include <sstream>
#include <stdexcept>

#include "deck/DeckWriter.h"
#include "forms/GeometryMath.h"
#include "graphics/Contours.h"
#include "graphics/Graphique.h"
#include "graphics/VectorCanvas.h"
#include "model/Numbers.h"
#include "graphics/ResultViews.h"

#ifndef VELTA_VERSION_TEXT
#define VELTA_VERSION_TEXT "1.0"
#endif

namespace velta {

namespace {

std::vector<std::string> textLines(const std::string& text)
{
    const std::vector<std::string_view> views = splitLines(text);
    return {views.begin(), views.end()};
}

std::string upper(std::string t)
{
    for (char& ch : t) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return t;
}

// A line in column 1 starting with "1" begins a new page of the report.
bool pageBreak(const std::string& line)
{
    return !line.empty() && line[0] == '1';
}

bool contains(const std::string& line, std::initializer_list<const char*> words)
{
    const std::string u = upper(line);
    for (const char* w : words)
        if (u.find(w) != std::string::npos) return true;
    return false;
}

// A heading: a short line, in capitals, of a few words.
bool heading(const std::string& line)
{
    const std::string t = trim(line);
    return !t.empty() && t.size() < 60 && t == upper(t) && t.find_first_of("0123456789") == std::string::npos;
}

QString q(const std::string& t)
{
    return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}

QString esc(const std::string& t)
{
    return q(t).toHtmlEscaped();
}

std::string cellOr(const std::string& text, const char* empty = "")
{
    const std::string t = trim(text);
    return t.empty() ? empty : t;
}

template <class Better>
ResultExtreme extreme(const Session& s, const TabResult& values, const TabResult& elev,
                      const std::array<int, kConsSlots>& count, Better better)
{
    const int U = s.model.UnitSystem == kSI ? kSI : kImperial;
    const int first = std::max(s.model.FirstCons, 0), last = std::min(s.model.LastCons, kConsSlots - 1);
    ResultExtreme e;
    for (int c = first; c <= last; ++c)
        for (int k = 0; k < std::clamp(count[c], 0, kResultPoints); ++k) {
            const double v = values[U][c][k];
            if (e.slot < 0 || better(v, e.value)) e = {v, c, elev[U][c][k]};
        }
    return e;
}

std::string sideOf(int slot)
{
    if (slot == kCrownSlot) return "crown";
    return slot < kCrownSlot ? "right" : "left";
}

// ---- the page layout ----------------------------------------------------

struct Table {
    std::vector<std::string> head;
    std::vector<std::vector<std::string>> rows;
    std::vector<bool> leftAligned; // columns aligned left (others right)
};

class ReportPainter {
public:
    ReportPainter(QPdfWriter& pdf, const Session& s, const ReportSources& src, int totalPages)
        : pdf_(pdf), s_(s), src_(src), total_(totalPages)
    {
        if (!p_.begin(&pdf_)) throw std::runtime_error("the PDF could not be started");
        const double mm = pdf_.resolution() / 25.4;
        mm_ = mm;
        const QRectF page(0, 0, pdf_.width(), pdf_.height());
        body_ = page.adjusted(0, 22 * mm, 0, -9 * mm);
        newPage(false);
    }
    ~ReportPainter()
    {
        if (p_.isActive()) p_.end();
    }
    int pages() const { return page_; }
    void finish() { p_.end(); }

    void newPage(bool advance = true)
    {
        if (advance && !pdf_.newPage()) throw std::runtime_error("the PDF could not take a new page");
        ++page_;
        titleBlock();
        y_ = body_.top();
    }

    void heading(const std::string& text, int level = 1)
    {
        // A heading is not left alone at the foot of a page.
        if (room() < 30 * mm_ && y_ > body_.top()) newPage();
        html(QStringLiteral("<p style=\"font-size:%1pt; font-weight:bold; margin-top:6px\">%2</p>")
                 .arg(level == 1 ? 13 : 10.5)
                 .arg(esc(text)),
             level == 1 ? 0.35 : 0.25);
    }

    void paragraph(const std::string& text) { html("<p>" + esc(text) + "</p>"); }

    // Lines of the engine's report, in a fixed-pitch font.
    void preformatted(const std::vector<std::string>& lines)
    {
        for (size_t a = 0; a < lines.size();) {
            size_t b = a;
            QString chunk;
            // As many lines as fit on the page, at least one.
            while (b < lines.size()) {
                QString next = chunk + esc(lines[b]) + "\n";
                if (b > a && height(pre(next)) > room()) break;
                chunk = next;
                ++b;
            }
            if (height(pre(chunk)) > room() && y_ > body_.top()) {
                newPage();
                continue;
            }
            draw(pre(chunk));
            a = b;
        }
    }

    // A table, split across pages with its header repeated.
    void table(const Table& t, const std::string& caption = {})
    {
        // The caption stays with the first rows.
        const QString cap = q("<p><i>" + esc(caption).toStdString() + "</i></p>");
        const double lead = (caption.empty() ? 0 : height(cap)) + height(tableHtml(t, 0, std::min<size_t>(t.rows.size(), 3)));
        if (lead > room() && y_ > body_.top()) newPage();
        if (!caption.empty()) html(cap, 0.2);
        for (size_t a = 0; a < t.rows.size() || a == 0;) {
            size_t b = a;
            while (b < t.rows.size()) {
                if (b > a && height(tableHtml(t, a, b + 1)) > room()) break;
                ++b;
            }
            const QString h = tableHtml(t, a, b);
            if (height(h) > room() && y_ > body_.top()) {
                newPage();
                continue;
            }
            draw(h);
            a = b;
            if (t.rows.empty()) break;
        }
        y_ += 2 * mm_;
    }

    // A view drawn by the program's own drawing procedures on a surface of
    // w x h units, scaled to the width of the page.
    void figure(const std::string& caption, int w, int h, const std::function<void(Canvas&)>& drawView)
    {
        const QString cap = QStringLiteral("<p align=\"center\"><i>%1</i></p>").arg(esc(caption));
        // Landscape views two to a page, taller ones one to a page.
        const double share = h <= 0.76 * w ? 0.47 : 0.95;
        const double scale = std::min(body_.width() / w, (share * body_.height() - height(cap) - 3 * mm_) / h);
        const double fh = h * scale;
        const double left = body_.left() + (body_.width() - w * scale) / 2;
        if (fh + height(cap) > room() && y_ > body_.top()) newPage();
        p_.save();
        p_.setRenderHint(QPainter::Antialiasing, true);
        p_.translate(left, y_);
        p_.scale(scale, scale);
        p_.setClipRect(QRectF(0, 0, w, h));
        VectorCanvas canvas(p_, w, h);
        drawView(canvas);
        p_.restore();
        y_ += fh;
        draw(cap);
        y_ += 3 * mm_;
    }

    void html(const std::string& h, double mmAfter = 0) { html(q(h), mmAfter); }
    void html(const QString& h, double mmAfter = 0)
    {
        if (height(h) > room() && y_ > body_.top()) newPage();
        draw(h);
        y_ += mmAfter * mm_;
    }

private:
    QString pre(const QString& body) const
    {
        return QStringLiteral("<pre style=\"font-family:'DejaVu Sans Mono',monospace; font-size:6.5pt; white-space:pre-wrap\">") + body +
               QStringLiteral("</pre>");
    }

    QString tableHtml(const Table& t, size_t a, size_t b) const
    {
        QString h = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" "
                                   "style=\"border-collapse:collapse; font-size:7.5pt\"><tr>");
        for (const auto& c : t.head) h += "<th bgcolor=\"#e8e8e8\">" + esc(c) + "</th>";
        h += "</tr>";
        for (size_t r = a; r < b; ++r) {
            h += "<tr>";
            for (size_t c = 0; c < t.rows[r].size(); ++c) {
                const bool left = c < t.leftAligned.size() && t.leftAligned[c];
                h += QStringLiteral("<td align=\"%1\">").arg(left ? "left" : "right") + esc(t.rows[r][c]) + "</td>";
            }
            h += "</tr>";
        }
        return h + "</table>";
    }

    void setUp(QTextDocument& doc, const QString& h) const
    {
        doc.documentLayout()->setPaintDevice(&pdf_);
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPointSizeF(8.5);
        // No ligatures, so that the text copied or extracted from the PDF
        // reads as written.
        f.setStyleStrategy(QFont::PreferNoShaping);
        doc.setDefaultFont(f);
        doc.setDocumentMargin(0);
        doc.setTextWidth(body_.width());
        doc.setHtml(h);
    }
    double height(const QString& h) const
    {
        QTextDocument doc;
        setUp(doc, h);
        return doc.size().height();
    }
    void draw(const QString& h)
    {
        QTextDocument doc;
        setUp(doc, h);
        p_.save();
        p_.translate(body_.left(), y_);
        doc.drawContents(&p_);
        p_.restore();
        y_ += doc.size().height();
    }
    double room() const { return body_.bottom() - y_; }

    void titleBlock()
    {
        const CaseModel& m = s_.model;
        const int slot = s_.currentSlot();
        const std::string dam = slot >= 0 && slot < kTabSlots ? m.DamName[slot] : std::string();
        const double W = pdf_.width();
        const double top = 0, h = 17 * mm_;
        p_.save();
        p_.setPen(QPen(Qt::black, 0.3 * mm_));
        p_.setBrush(Qt::NoBrush);
        p_.drawRect(QRectF(0, top, W, h));
        p_.drawLine(QPointF(0, top + 7 * mm_), QPointF(W, top + 7 * mm_));
        p_.drawLine(QPointF(W * 0.78, top), QPointF(W * 0.78, top + 7 * mm_));
        QFont big(QStringLiteral("DejaVu Sans"));
        big.setPointSizeF(10);
        big.setBold(true);
        big.setStyleStrategy(QFont::PreferNoShaping);
        p_.setFont(big);
        p_.drawText(QRectF(2 * mm_, top, W * 0.76, 7 * mm_), Qt::AlignVCenter | Qt::AlignLeft,
                    QStringLiteral("Calculation report - dam: ") + q(dam.empty() ? "(no name)" : dam));
        QFont small(QStringLiteral("DejaVu Sans"));
        small.setPointSizeF(7.5);
        small.setStyleStrategy(QFont::PreferNoShaping);
        p_.setFont(small);
        const QString pageText = QStringLiteral("Page %1 of %2").arg(page_).arg(total_ > 0 ? total_ : page_);
        p_.drawText(QRectF(W * 0.78, top, W * 0.22, 7 * mm_), Qt::AlignCenter, pageText);
        const QString line1 = QStringLiteral("Case file: ") + q(src_.caseFile);
        const QString line2 =
            QStringLiteral("Date: %1     Program: VELTA %2     Units: %3")
                .arg(src_.when.toString(QStringLiteral("yyyy-MM-dd HH:mm")), q(programVersion()),
                     m.UnitSystem == kSI ? QStringLiteral("SI (m, MPa, mm, N)")
                                         : QStringLiteral("US customary (ft, psi, inches, lb)"));
        p_.drawText(QRectF(2 * mm_, top + 7 * mm_, W - 4 * mm_, 5 * mm_), Qt::AlignVCenter | Qt::AlignLeft,
                    line1);
        p_.drawText(QRectF(2 * mm_, top + 12 * mm_, W - 4 * mm_, 5 * mm_), Qt::AlignVCenter | Qt::AlignLeft,
                    line2);
        // The page number again at the foot of the page.
        p_.drawText(QRectF(0, pdf_.height() - 6 * mm_, W, 6 * mm_), Qt::AlignCenter,
                    QStringLiteral("- %1 -").arg(page_));
        p_.restore();
    }

    QPdfWriter& pdf_;
    QPainter p_;
    const Session& s_;
    const ReportSources& src_;
    int total_;
    int page_ = 0;
    double mm_ = 1;
    double y_ = 0;
    QRectF body_;
};

// ---- the contents -------------------------------------------------------

const char* const kFaceNames[kFaceTabs] = {"Upstream face",
                                           "Downstream face",
                                           "Upstream line of centres",
                                           "Downstream line of centres",
                                           "Right upstream line of centres",
                                           "Right downstream line of centres"};

void inputSection(ReportPainter& r, const Session& s)
{
    const CaseModel& m = s.model;
    const int U = m.UnitSystem == kSI ? kSI : kImperial;
    const std::string L = lengthUnit(U);
    const bool two = s.geo.NbCenterEdit == 2 || m.NbCenter == 2;
    r.heading("1. Input as entered");
    r.heading("1.1 Geometry", 2);
    Table g{{"Quantity", "Value"}, {}, {true, false}};
    g.rows.push_back({"Centres", std::to_string(two ? 2 : 1)});
    g.rows.push_back({"Crest elevation (" + L + ")", formatFixed(m.TopElev[U], 2)});
    g.rows.push_back({"Base elevation (" + L + ")", formatFixed(m.BaseElev[U], 2)});
    g.rows.push_back({two ? "Left axis radius (" + L + ")" : "Axis radius (" + L + ")", formatFixed(m.Radius[U], 2)});
    if (two) g.rows.push_back({"Right axis radius (" + L + ")", formatFixed(m.RadiusR[U], 2)});
    r.table(g);

    const int faces = two ? kFaceTabs : 4;
    for (int t = 0; t < faces; ++t) {
        const Tab3dim& tab = m.FaceTab[t];
        Table f{{"Row", "Kind", "Elevation (" + L + ")", "Abscissa (" + L + ")", "Slope", "Circle X (" + L + ")",
                 "Circle Z (" + L + ")", "Radius (" + L + ")"},
                {},
                {false, true}};
        const int rows = std::clamp(m.FaceRows[t], 0, kTabRows - 1);
        for (int row = 0; row <= rows; ++row) {
            const bool circle = !trim(tab(U, kColCircleRadius, row)).empty();
            const std::string kind = row == 0 ? "base" : circle ? "circle" : "slope";
            f.rows.push_back({std::to_string(row), kind, cellOr(tab(U, kColElevation, row)),
                              cellOr(tab(U, kColAbscissa, row)), cellOr(tab(U, kColSlope, row)),
                              cellOr(tab(U, kColCircleX, row)), cellOr(tab(U, kColCircleZ, row)),
                              cellOr(tab(U, kColCircleRadius, row))});
        }
        const std::string name = two && (t == kUpstreamLoC || t == kDownstreamLoC)
                                     ? std::string("Left ") + (t == kUpstreamLoC ? "upstream" : "downstream") +
                                           " line of centres"
                                     : kFaceNames[t];
        r.table(f, name);
    }

    // Arches, with the abutment angles at the arch's own centre (Phi) and at
    // the centre of the axis (A).
    Table a{{"Arch", "Elevation (" + L + ")", "Code", "Phi L (deg)", "Phi R (deg)", "A L (deg)", "A R (deg)"},
            {},
            {}};
    const Tab3dim& upL = m.FaceTab[kUpstreamLoC];
    const Tab3dim& upR = two ? m.FaceTab[kRightUpstreamLoC] : m.FaceTab[kUpstreamLoC];
    auto angleA = [&](const std::string& phi, const Tab3dim& loc, double radius, int row) -> std::string {
        if (trim(phi).empty()) return "";
        try {
            const double z = parseNumber(m.ArcTab(kImperial, kArcElevation, row));
            const double x = AbscisseAtElevation(loc, kImperial, z);
            return formatFixed(PhitoA(parseNumber(phi), radius - x, radius), 2);
        } catch (const std::exception&) {
            return "-";
        }
    };
    for (int row = m.archRows() - 1; row >= 0; --row) {
        const std::string phiL = m.ArcTab(kImperial, kArcPhiL, row), phiR = m.ArcTab(kImperial, kArcPhiR, row);
        a.rows.push_back({std::to_string(row + 1), cellOr(m.ArcTab(U, kArcElevation, row)),
                          cellOr(m.ArcTab(U, kArcCode, row)), cellOr(m.ArcTab(U, kArcPhiL, row)),
                          cellOr(m.ArcTab(U, kArcPhiR, row)), angleA(phiL, upL, m.Radius[0], row),
                          angleA(phiR, upR, m.RadiusR[0], row)});
    }
    r.table(a, "Arches, from the crest down (code 0: arch analysed; Phi at the arch centre, A at the axis "
               "centre)");

    r.heading("1.2 Materials", 2);
    const std::string E = U == kSI ? "GPa" : "E6 psi";
    Table mt{{"Property", "Concrete", "Rock"}, {}, {true}};
    mt.rows.push_back({"Modulus of elasticity (" + E + ")", formatGeneral(m.Ec[U]),
                       m.VariableModuli ? "by arch, below" : formatGeneral(m.Er[U])});
    mt.rows.push_back({"Poisson's ratio", formatGeneral(m.Nuc[U]), formatGeneral(m.Nur[U])});
    mt.rows.push_back({std::string("Unit weight (") + (U == kSI ? "kg/m3" : "lb/ft3") + ")", formatGeneral(m.Wc[U]), ""});
    mt.rows.push_back({std::string("Thermal expansion (E-06 per degree ") + (U == kSI ? "C" : "F") + ")",
                       formatGeneral(m.Thec[U]), ""});
    r.table(mt);
    if (m.VariableModuli) {
        Table d{{"Arch elevation (" + L + ")", "Rock modulus left (" + E + ")", "Rock modulus right (" + E + ")"},
                {},
                {}};
        for (int row = m.archRows() - 1; row >= 0; --row)
            d.rows.push_back({cellOr(m.DefTab(U, 0, row)), cellOr(m.DefTab(U, 1, row)), cellOr(m.DefTab(U, 2, row))});
        r.table(d, "Rock moduli by arch");
    }

    r.heading("1.3 Loads", 2);
    Table ld{{"Load", "Value"}, {}, {true, false}};
    ld.rows.push_back({"Reservoir elevation (" + L + ")", formatFixed(m.Rwe[U], 2)});
    ld.rows.push_back({"Tailwater elevation (" + L + ")",
                       m.Twe[0] > m.BaseElev[0] ? formatFixed(m.Twe[U], 2) : std::string("none")});
    const int groutRow = m.NbArcs - 1 - m.GroutIndex;
    ld.rows.push_back({"Top of grouting (" + L + ")", groutRow >= 0 && groutRow < kTabRows
                                                          ? cellOr(m.ArcTab(U, kArcElevation, groutRow), "-")
                                                          : std::string("-")});
    ld.rows.push_back({"Weight moment", m.WeightDistribution ? "distributed between arches and cantilevers"
                                                             : "carried by the cantilevers alone"});
    r.table(ld);
    const std::string T = U == kSI ? "C" : "F";
    Table tt{{"Arch elevation (" + L + ")", "Uniform change (deg " + T + ")", "Linear difference (deg " + T + ")"},
             {},
             {}};
    for (int row = m.archRows() - 1; row >= 0; --row)
        tt.rows.push_back({cellOr(m.TempTab(U, 0, row), cellOr(m.ArcTab(U, kArcElevation, row)).c_str()),
                           m.ThUni ? cellOr(m.TempTab(U, 1, row), "0") : "-",
                           m.ThLin ? cellOr(m.TempTab(U, 2, row), "0") : "-"});
    r.table(tt, "Temperature changes per arch");
}

void methodSection(ReportPainter& r, const Session& s, const std::string& outText)
{
    r.heading("2. Method");
    r.paragraph("The case was written as an input deck and analysed by the program's engine, VELTA_DOS.exe, "
                "in US customary units; its results were read back from its plot file (.PLT) and its report "
                "(.OUT) and are shown here in the units named in the title block. The lines below are the "
                "engine's own account of the method, the mesh, the convergence and the equilibrium.");
    (void)s;
    const auto method = methodLines(outText);
    const auto equilibrium = equilibriumLines(outText);
    if (method.empty() && equilibrium.empty()) {
        r.paragraph("The engine's report holds no description of the method.");
        return;
    }
    if (!method.empty()) r.preformatted(method);
    if (!equilibrium.empty()) {
        r.heading("2.1 Equilibrium check", 2);
        r.preformatted(equilibrium);
    }
}

constexpr int kFigW = 1000, kFigH = 720;

void figuresSection(ReportPainter& r, const Session& s)
{
    r.newPage();
    r.heading("4. Figures");
    const MainWindowState& w = s.main;
    // Every figure on a copy of the session, with the values off and the
    // magnifications at their defaults unless the user chose others.
    auto fig = [&](const std::string& caption, int h, const std::function<bool(Session&, Canvas&)>& view) {
        r.figure(caption, kFigW, h, [&](Canvas& c) {
            Session copy(s);
            copy.view.ValuesMode = 0;
            view(copy, c);
        });
    };
    fig("2D geometry: crown section and developed view of the arches and cantilevers", kFigH,
        [](Session& x, Canvas& c) { return GeometrieButtonClick(x, c); });
    if (w.GeometrieButton3d)
        fig("3D view of the arches and cantilevers", kFigH, [](Session& x, Canvas& c) { return GeometrieButton3dClick(x, c); });
    if (w.DeformeeButton)
        fig("Radial deflection", kFigH, [](Session& x, Canvas& c) { return DeformeeButtonClick(x, c); });
    if (w.SiButton)
        fig("Principal stresses on the upstream face (top) and on the downstream face (bottom)", 900,
            [](Session& x, Canvas& c) { return SiButtonClick(x, c); });
    if (w.FappuiButton)
        fig("Resultant forces on the abutments and the cantilever sections", 900,
            [](Session& x, Canvas& c) { return FappuiButtonClick(x, c); });
    if (w.LoadButton)
        fig("Share of the water load carried by the arches (red) and by the cantilevers (blue)", kFigH,
            [](Session& x, Canvas& c) { return LoadButtonClick(x, c); });
    if (w.DeformeeButton)
        fig("Radial deflection, contours", 640, [](Session& x, Canvas& c) { return ContourDeflectionClick(x, c); });
    if (w.SiButton) {
        fig("Principal stresses on the upstream face, contours", 1000,
            [](Session& x, Canvas& c) { return ContourStressUpClick(x, c); });
        fig("Principal stresses on the downstream face, contours", 1000,
            [](Session& x, Canvas& c) { return ContourStressDownClick(x, c); });
    }
}

void tablesSection(ReportPainter& r, const Session& s)
{
    const CaseModel& m = s.model;
    const ResultsModel& res = s.results;
    const int U = m.UnitSystem == kSI ? kSI : kImperial;
    const std::string L = lengthUnit(U);
    const bool si = U == kSI;
    const std::string du = si ? "mm" : "inches", su = si ? "MPa" : "psi";
    const double df = si ? 1000.0 : 12.0;
    // The extremes keep the decimals of the results export, so that both
    // give the same numbers.
    const int dd = si ? 2 : 4, ed = 4, sd = si ? 4 : 1;
    r.heading("3. Main results");

    // Crown cantilever: deflections and load shares.
    Table crown{{"Elevation (" + L + ")", "Radial deflection (" + du + ")",
                 std::string("Water pressure (") + (si ? "kPa" : "ksf") + ")",
                 std::string("Arch load (") + (si ? "kPa" : "ksf") + ")",
                 std::string("Cantilever load (") + (si ? "kPa" : "ksf") + ")", "Cantilever share (%)",
                 "Arch share (%)"},
                {},
                {}};
    const int n = std::clamp(res.ResDeflCount[kCrownSlot], 0, kResultPoints);
    for (int k = 0; k < n; ++k) {
        const double zSI = res.ResDeflElev[1][kCrownSlot][k];
        const double pSI = 9810 * std::max(0.0, m.Rwe[1] - zSI);
        const double p = si ? pSI / 1000 : pSI / 47880.26;
        const double c = si ? res.ResConsLoad[1][kCrownSlot][k] / 1000 : res.ResConsLoad[0][kCrownSlot][k];
        std::string cant = "-", arch = "-";
        if (p != 0) {
            const double share = (p + c) / p * 100;
            cant = formatFixed(share, 1);
            arch = formatFixed(100 - share, 1);
        }
        crown.rows.push_back({formatFixed(res.ResDeflElev[U][kCrownSlot][k], 2),
                              formatFixed(res.ResDeflection[U][kCrownSlot][k] * df, dd), formatFixed(p, 3),
                              formatFixed(-c, 3), formatFixed(p + c, 3), cant, arch});
    }
    r.table(crown, "Crown cantilever: radial deflection (negative toward downstream) and the share of the water "
                   "load carried by the cantilever and by the arches");

    // Extremes.
    Table ex{{"Result", "Extreme", "Value", "Cantilever", "Elevation (" + L + ")"}, {}, {true, true}};
    auto row = [&](const std::string& what, const std::string& kind, const ResultExtreme& e, double factor,
                   int dec, const std::string& unit) {
        if (e.slot < 0) return;
        ex.rows.push_back({what, kind, formatFixed(e.value * factor, dec) + " " + unit,
                           std::to_string(e.slot) + " (" + sideOf(e.slot) + ")", formatFixed(e.elevation, 2)});
    };
    row("Radial deflection", "largest toward downstream",
        smallestResult(s, res.ResDeflection, res.ResDeflElev, res.ResDeflCount), df, ed, du);
    row("Radial deflection", "largest toward upstream",
        largestResult(s, res.ResDeflection, res.ResDeflElev, res.ResDeflCount), df, ed, du);
    row("Upstream face", "largest compression (PRIN 1 min)",
        smallestResult(s, res.ResPrin1Up, res.ResStressElev, res.ResStressCount), 1, sd, su);
    row("Upstream face", "largest tension (PRIN 2 max)",
        largestResult(s, res.ResPrin2Up, res.ResStressElev, res.ResStressCount), 1, sd, su);
    row("Downstream face", "largest compression (PRIN 1 min)",
        smallestResult(s, res.ResPrin1Down, res.ResStressElev, res.ResStressCount), 1, sd, su);
    row("Downstream face", "largest tension (PRIN 2 max)",
        largestResult(s, res.ResPrin2Down, res.ResStressElev, res.ResStressCount), 1, sd, su);
    r.table(ex, "Extremes (stresses tension positive; a negative largest tension means the face is in "
                "compression everywhere)");

    // Abutment forces at the foundation of each cantilever, that is, per arch.
    const std::string F = si ? "N" : "lb";
    Table ab{{"Cantilever", "Side", "Foundation elevation (" + L + ")", "Force 1 (" + F + ")", "Angle 1 (deg)",
              "Force 2 (" + F + ")", "Angle 2 (deg)"},
             {},
             {false, true}};
    const int first = std::max(m.FirstCons, 0), last = std::min(m.LastCons, kConsSlots - 1);
    for (int c = first; c <= last; ++c) {
        const double base = m.ConsBaseElev[c];
        ab.rows.push_back({std::to_string(c), sideOf(c), formatFixed(si ? base * 0.3048 : base, 2),
                           formatFixed(res.ResAbutForce[U][c][0], 0), formatFixed(res.ResAbutForce[U][c][1], 1),
                           formatFixed(res.ResAbutForce[U][c][2], 0), formatFixed(res.ResAbutForce[U][c][3], 1)});
    }
    r.table(ab, "Resultant forces on the abutments, at the foundation of each cantilever (one per arch and side)");
}

void composeInto(QPdfWriter& pdf, const Session& s, const ReportSources& src, int total, int& pages)
{
    ReportPainter r(pdf, s, src, total);
    inputSection(r, s);
    methodSection(r, s, src.outText);
    tablesSection(r, s);
    figuresSection(r, s);
    pages = r.pages();
    r.finish();
}

void setUpWriter(QPdfWriter& pdf, const Session& s)
{
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageOrientation(QPageLayout::Portrait);
    pdf.setPageMargins(QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter);
    pdf.setResolution(300);
    pdf.setCreator(QStringLiteral("VELTA ") + q(programVersion()));
    const int slot = s.currentSlot();
    pdf.setTitle(QStringLiteral("Calculation report ") + q(slot >= 0 && slot < kTabSlots ? s.model.DamName[slot] : ""));
}

} // namespace

std::string programVersion()
{
    return VELTA_VERSION_TEXT;
}

std::vector<std::string> methodLines(const std::string& outText)
{
    const auto lines = textLines(outText);
    std::vector<std::string> out;
    std::vector<bool> taken(lines.size(), false);
    // The block under the heading that names the analysis or the method, on
    // the first page.
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0 && pageBreak(lines[i])) break;
        if (heading(lines[i]) && contains(lines[i], {"ANALYSIS", "METHOD"}) && i > 0) {
            for (size_t j = i; j < lines.size() && !(j > i && (pageBreak(lines[j]) || (heading(lines[j]) && j > i + 1 && trim(lines[j - 1]).empty()))); ++j)
                taken[j] = true;
            break;
        }
    }
    // Any other line that names the method, the mesh or the convergence,
    // unless the equilibrium check shows it.
    const auto equilibrium = equilibriumLines(outText);
    for (size_t i = 0; i < lines.size(); ++i)
        if (contains(lines[i], {"METHOD", "MESH", "CONVERGENCE"}) && !contains(lines[i], {"EQUILIBRIUM"}) &&
            std::find(equilibrium.begin(), equilibrium.end(), lines[i]) == equilibrium.end())
            taken[i] = taken[i] || !pageBreak(lines[i]);
    for (size_t i = 0; i < lines.size(); ++i)
        if (taken[i] && !trim(lines[i]).empty()) out.push_back(lines[i]);
    return out;
}

std::vector<std::string> equilibriumLines(const std::string& outText)
{
    const auto lines = textLines(outText);
    std::vector<std::string> out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!contains(lines[i], {"EQUILIBRIUM"}) || !heading(lines[i].substr(pageBreak(lines[i]) ? 1 : 0))) continue;
        for (size_t j = i + 1; j < lines.size() && !pageBreak(lines[j]) && !contains(lines[j], {"END OF REPORT"}); ++j)
            if (!trim(lines[j]).empty()) out.push_back(lines[j]);
        return out;
    }
    for (const auto& l : lines)
        if (contains(l, {"EQUILIBRIUM", "OUT OF BALANCE"})) out.push_back(l);
    return out;
}

ResultExtreme smallestResult(const Session& s, const TabResult& values, const TabResult& elev,
                             const std::array<int, kConsSlots>& count)
{
    return extreme(s, values, elev, count, [](double v, double best) { return v < best; });
}

ResultExtreme largestResult(const Session& s, const TabResult& values, const TabResult& elev,
                            const std::array<int, kConsSlots>& count)
{
    return extreme(s, values, elev, count, [](double v, double best) { return v > best; });
}

QByteArray composeReportPdf(const Session& s, const ReportSources& src)
{
    // Twice: the first pass counts the pages that the title blocks name.
    int pages = 0;
    {
        QBuffer scratch;
        scratch.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&scratch);
        setUpWriter(pdf, s);
        composeInto(pdf, s, src, 0, pages);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        setUpWriter(pdf, s);
        int again = 0;
        composeInto(pdf, s, src, pages, again);
    }
    buffer.close();
    if (bytes.isEmpty()) throw std::runtime_error("the PDF could not be made");
    return bytes;
}

void writeReport(const Session& s, const ReportSources& sources, const std::string& path)
{
    QByteArray bytes;
    try {
        bytes = composeReportPdf(s, sources);
    } catch (const std::runtime_error& e) {
        throw FileWriteError(path, e.what());
    }
    writeFileAtomically(path, bytes);
}

bool reportAvailable(const Session& s)
{
    return (s.main.DeformeeButton || s.main.SiButton) && !s.main.resultsStale[s.currentSlot()];
}

} // namespace velta
