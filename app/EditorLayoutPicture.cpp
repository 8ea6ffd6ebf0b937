#include "app/EditorLayoutPicture.h"

#include <QPainter>
#include <numbers>
#include <QPainterPath>
#include <cmath>

namespace velta {

namespace {


// A point of the circle of centre c and radius r at an angle measured from
// the crown line (0 = upstream, straight up in the sketch), positive to the
// right.
QPointF onCircle(QPointF c, double r, double degrees)
{
    const double a = degrees * std::numbers::pi / 180.0;
    return {c.x() + r * std::sin(a), c.y() - r * std::cos(a)};
}

void drawArc(QPainter& p, QPointF c, double r, double fromDeg, double toDeg)
{
    QPainterPath path(onCircle(c, r, fromDeg));
    const int steps = 40;
    for (int i = 1; i <= steps; ++i) path.lineTo(onCircle(c, r, fromDeg + (toDeg - fromDeg) * i / steps));
    p.drawPath(path);
}

void drawCentre(QPainter& p, QPointF c, const QString& name)
{
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(c + QPointF(-3, -3), c + QPointF(3, 3));
    p.drawLine(c + QPointF(-3, 3), c + QPointF(3, -3));
    p.drawText(QRectF(c.x() - 30, c.y() + 3, 60, 12), Qt::AlignHCenter | Qt::AlignTop, name);
}

void drawRadius(QPainter& p, QPointF c, QPointF end, const QString& name, QColor colour)
{
    p.setPen(QPen(colour, 1, Qt::DashLine));
    p.drawLine(c, end);
    const QPointF mid = (c + end) / 2.0;
    p.setPen(colour);
    p.drawText(QRectF(mid.x() - 14, mid.y() - 12, 28, 12), Qt::AlignCenter, name);
}

} // namespace

QPixmap layoutPicture(int picture)
{
    QPixmap pixmap(kLayoutPictureWidth, kLayoutPictureHeight);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font = p.font();
    font.setPixelSize(10);
    p.setFont(font);

    const QPointF crown(65, 28);
    const QColor axisColour(0, 0, 160), leftColour(0, 110, 0), rightColour(170, 0, 0);

    // Upstream is at the top; the crown section is the dash-dotted line.
    p.setPen(Qt::darkGray);
    p.drawText(QRectF(0, 2, kLayoutPictureWidth, 12), Qt::AlignHCenter, QStringLiteral("upstream"));
    p.setPen(QPen(Qt::gray, 1, Qt::DashDotLine));
    p.drawLine(QPointF(crown.x(), 16), QPointF(crown.x(), kLayoutPictureHeight - 4));

    if (picture == 0) {
        const double r = 84;
        const QPointF c(crown.x(), crown.y() + r);
        p.setPen(QPen(axisColour, 2));
        drawArc(p, c, r, -48, 48);
        drawRadius(p, c, onCircle(c, r, -48), QStringLiteral("R"), axisColour);
        drawRadius(p, c, onCircle(c, r, 48), QStringLiteral("R"), axisColour);
        drawCentre(p, c, QStringLiteral("C"));
    } else {
        // Left and right halves of the axis with their own radii; both
        // centres lie on the crown line.
        const double rl = 100, rr = 64;
        const QPointF cl(crown.x(), crown.y() + rl), cr(crown.x(), crown.y() + rr);
        p.setPen(QPen(leftColour, 2));
        drawArc(p, cl, rl, -36, 0);
        p.setPen(QPen(rightColour, 2));
        drawArc(p, cr, rr, 0, 62);
        drawRadius(p, cl, onCircle(cl, rl, -36), QStringLiteral("RL"), leftColour);
        drawRadius(p, cr, onCircle(cr, rr, 62), QStringLiteral("RR"), rightColour);
        drawCentre(p, cl, QStringLiteral("CL"));
        p.setPen(Qt::black);
        p.drawLine(cr + QPointF(-3, -3), cr + QPointF(3, 3));
        p.drawLine(cr + QPointF(-3, 3), cr + QPointF(3, -3));
        p.drawText(QRectF(cr.x() + 4, cr.y() - 6, 20, 12), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("CR"));
    }
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::black);
    p.drawEllipse(crown, 2, 2);
    p.setPen(Qt::darkGray);
    p.drawText(QRectF(crown.x() + 4, crown.y() - 14, 40, 12), Qt::AlignLeft, QStringLiteral("crown"));
    p.end();
    return pixmap;
}

} // namespace velta
