#include "graphics/VectorCanvas.h"

#include <QFontMetricsF>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace velta {

namespace {

QColor qcolor(Color c)
{
    return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
}

QString qtext(const std::string& t)
{
    return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}

// Text height in surface units: about the screen's default font on a
// picture of the same size.
constexpr int kTextPixels = 12;

} // namespace

VectorCanvas::VectorCanvas(QPainter& painter, int width, int height) : p_(painter), w_(width), h_(height)
{
    font_.setPixelSize(kTextPixels);
}

int VectorCanvas::textWidth(const std::string& text) const
{
    return static_cast<int>(std::ceil(QFontMetricsF(font_).horizontalAdvance(qtext(text))));
}

QPen VectorCanvas::qpen() const
{
    const Pen& p = pen();
    QPen q(qcolor(p.color), std::max(p.width, 1));
    // Dashes and dots as long as the screen's one-pixel patterns.
    if (p.style == PenStyle::Dash) q.setDashPattern({18.0 / q.widthF(), 6.0 / q.widthF()});
    if (p.style == PenStyle::Dot) q.setDashPattern({3.0 / q.widthF(), 3.0 / q.widthF()});
    q.setCapStyle(p.width > 1 ? Qt::RoundCap : Qt::FlatCap);
    q.setJoinStyle(Qt::RoundJoin);
    return q;
}

void VectorCanvas::paintLine(int x1, int y1, int x2, int y2)
{
    if (x1 == x2 && y1 == y2) return;
    p_.setPen(qpen());
    p_.setBrush(Qt::NoBrush);
    p_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void VectorCanvas::paintRect(int x1, int y1, int x2, int y2)
{
    const int l = std::min(x1, x2), r = std::max(x1, x2), t = std::min(y1, y2), b = std::max(y1, y2);
    if (r <= l || b <= t) return;
    if (brush().style == BrushStyle::Solid) p_.fillRect(QRectF(l, t, r - l, b - t), qcolor(brush().color));
    // The outline on the outermost units of the rectangle, as on the screen.
    const double hw = std::max(pen().width, 1) / 2.0;
    p_.setPen(qpen());
    p_.setBrush(Qt::NoBrush);
    p_.drawRect(QRectF(l + hw, t + hw, r - l - 2 * hw, b - t - 2 * hw));
}

void VectorCanvas::paintText(int x, int y, const std::string& text)
{
    const QString s = qtext(text);
    const QFontMetricsF fm(font_);
    p_.setFont(font_);
    if (brush().style == BrushStyle::Solid)
        p_.fillRect(QRectF(x, y, fm.horizontalAdvance(s), fm.height()), qcolor(brush().color));
    p_.setPen(Qt::black);
    p_.drawText(QPointF(x, y + fm.ascent()), s);
}

void VectorCanvas::paintPolygon(const std::vector<int>& xy)
{
    QPolygonF poly;
    for (size_t i = 0; i + 1 < xy.size(); i += 2) poly << QPointF(xy[i], xy[i + 1]);
    // A hairline of the fill colour closes the seams that viewers show
    // between neighbouring filled areas.
    QPen seam(qcolor(brush().color), 0.6);
    seam.setJoinStyle(Qt::RoundJoin);
    p_.setPen(seam);
    p_.setBrush(qcolor(brush().color));
    p_.drawPolygon(poly);
}

} // namespace velta
