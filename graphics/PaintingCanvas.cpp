#include "graphics/PaintingCanvas.h"

#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cstdlib>

namespace velta {

namespace {

QColor qcolor(Color c)
{
    return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
}

// On and off runs of the one-pixel dashed and dotted pens.
bool patternOn(PenStyle style, int step)
{
    switch (style) {
    case PenStyle::Dash:
        return step % 24 < 18;
    case PenStyle::Dot:
        return step % 6 < 3;
    default:
        return true;
    }
}

} // namespace

PaintingCanvas::PaintingCanvas(QImage& image) : image_(image), metrics_(font_)
{
    if (image_.format() != QImage::Format_RGB32 && image_.format() != QImage::Format_ARGB32)
        image_ = image_.convertToFormat(QImage::Format_RGB32);
}

int PaintingCanvas::textWidth(const std::string& text) const
{
    return metrics_.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void PaintingCanvas::setPixel(int x, int y, Color c)
{
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return;
    reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = 0xFF000000u | c;
}

void PaintingCanvas::invertPixel(int x, int y)
{
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return;
    QRgb& p = reinterpret_cast<QRgb*>(image_.scanLine(y))[x];
    p ^= 0x00FFFFFFu;
}

// Bresenham from (x1, y1) toward (x2, y2), the last point excluded.
void PaintingCanvas::thinLine(int x1, int y1, int x2, int y2)
{
    const int w = image_.width(), h = image_.height();
    // Segments that lie wholly on one side of the image are not walked.
    if ((x1 < 0 && x2 < 0) || (y1 < 0 && y2 < 0) || (x1 >= w && x2 >= w) || (y1 >= h && y2 >= h)) return;
    const long long dx = std::llabs(static_cast<long long>(x2) - x1);
    const long long dy = -std::llabs(static_cast<long long>(y2) - y1);
    const Color c = pen().color;
    const PenStyle style = pen().style;
    if (std::max(dx, -dy) > 8LL * (w + h)) {
        // A segment far longer than the image (a deep zoom): let QPainter clip it.
        QPainter p(&image_);
        p.setRenderHint(QPainter::Antialiasing, false);
        Qt::PenStyle qs = style == PenStyle::Dash  ? Qt::DashLine
                          : style == PenStyle::Dot ? Qt::DotLine
                                                   : Qt::SolidLine;
        p.setPen(QPen(qcolor(c), 0, qs));
        p.drawLine(QLineF(x1, y1, x2, y2));
        return;
    }
    const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    long long err = dx + dy;
    int x = x1, y = y1;
    for (int step = 0; x != x2 || y != y2; ++step) {
        if (patternOn(style, step)) setPixel(x, y, c);
        const long long e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void PaintingCanvas::paintLine(int x1, int y1, int x2, int y2)
{
    if (pen().width <= 1) {
        thinLine(x1, y1, x2, y2);
        return;
    }
    QPainter p(&image_);
    p.setRenderHint(QPainter::Antialiasing, false);
    Qt::PenStyle qs = Qt::SolidLine;
    if (pen().style == PenStyle::Dash) qs = Qt::DashLine;
    if (pen().style == PenStyle::Dot) qs = Qt::DotLine;
    p.setPen(QPen(qcolor(pen().color), pen().width, qs, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(x1, y1, x2, y2);
}

void PaintingCanvas::paintRect(int x1, int y1, int x2, int y2)
{
    const int l = std::min(x1, x2), r = std::max(x1, x2), t = std::min(y1, y2), b = std::max(y1, y2);
    if (r <= l || b <= t) return;
    if (brush().style == BrushStyle::Solid && l <= 0 && t <= 0 && r >= image_.width() &&
        b >= image_.height()) {
        image_.fill(QColor::fromRgb(0xFF000000u | brush().color));
    } else if (brush().style == BrushStyle::Solid) {
        const QRgb fill = 0xFF000000u | brush().color;
        const int cl = std::max(l, 0), cr = std::min(r, image_.width());
        for (int y = std::max(t, 0); y < std::min(b, image_.height()); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
            std::fill(line + cl, line + std::max(cl, cr), fill);
        }
    }
    // The outline covers the outermost pixels of the rectangle.
    if (pen().width <= 1) {
        thinLine(l, t, r - 1, t);
        thinLine(r - 1, t, r - 1, b - 1);
        thinLine(r - 1, b - 1, l, b - 1);
        thinLine(l, b - 1, l, t);
    } else {
        QPainter p(&image_);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(qcolor(pen().color), pen().width));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(l, t, r - l - 1, b - t - 1));
    }
}

void PaintingCanvas::paintText(int x, int y, const std::string& text)
{
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    QPainter p(&image_);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setFont(font_);
    if (brush().style == BrushStyle::Solid)
        p.fillRect(QRect(x, y, metrics_.horizontalAdvance(s), metrics_.height()), qcolor(brush().color));
    p.setPen(Qt::black);
    p.drawText(x, y + metrics_.ascent(), s);
}

void PaintingCanvas::paintPolygon(const std::vector<int>& xy)
{
    QPolygon poly;
    for (size_t i = 0; i + 1 < xy.size(); i += 2) poly << QPoint(xy[i], xy[i + 1]);
    QPainter p(&image_);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(qcolor(brush().color));
    p.drawPolygon(poly);
}

void PaintingCanvas::paintFocusRect(int x1, int y1, int x2, int y2)
{
    const int l = std::min(x1, x2), r = std::max(x1, x2) - 1, t = std::min(y1, y2), b = std::max(y1, y2) - 1;
    if (r < l || b < t) return;
    // Every other pixel of the outline, each pixel once, so that a second
    // call restores the image exactly.
    auto dot = [&](int x, int y) {
        if (((x + y) & 1) == 0) invertPixel(x, y);
    };
    for (int x = l; x <= r; ++x) dot(x, t);
    if (b != t)
        for (int x = l; x <= r; ++x) dot(x, b);
    for (int y = t + 1; y < b; ++y) {
        dot(l, y);
        if (r != l) dot(r, y);
    }
}

} // namespace velta
