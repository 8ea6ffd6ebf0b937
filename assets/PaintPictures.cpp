// Paints the pictures of the splash screen and the about box (an arch dam
// closing a mountain valley, seen from downstream) and writes them as JPEG
// files into the folder given as the only argument.
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>
#include <string>

#include "app/Jpeg.h"

namespace {

// The scene in a w x h picture. `crest` is the height of the dam crest as a
// share of the picture height, from the top.
QImage paintValley(int w, int h, double crest)
{
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    // Sky and a low sun.
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(86, 140, 205));
    sky.setColorAt(0.7, QColor(196, 220, 240));
    p.fillRect(img.rect(), sky);
    QRadialGradient sun(w * 0.8, h * 0.18, h * 0.25);
    sun.setColorAt(0, QColor(255, 250, 220, 230));
    sun.setColorAt(1, QColor(255, 250, 220, 0));
    p.fillRect(img.rect(), sun);

    // Far ridges.
    QPainterPath far;
    far.moveTo(0, h * 0.45);
    far.cubicTo(w * 0.2, h * 0.22, w * 0.35, h * 0.38, w * 0.5, h * 0.3);
    far.cubicTo(w * 0.65, h * 0.2, w * 0.85, h * 0.35, w, h * 0.28);
    far.lineTo(w, h);
    far.lineTo(0, h);
    p.fillPath(far, QColor(120, 140, 160));

    const double cx = w * 0.5;
    const double crestY = h * crest;
    const double halfTop = w * 0.22, halfBase = w * 0.05;
    const double baseY = h * 0.86;

    // Reservoir behind the dam, up to the crest level less a freeboard.
    p.fillRect(QRectF(cx - halfTop * 1.4, crestY + h * 0.03, halfTop * 2.8, h * 0.06), QColor(60, 110, 150));

    // The arch dam: its downstream face bulges towards the viewer.
    QPainterPath dam;
    dam.moveTo(cx - halfTop, crestY);
    dam.quadTo(cx, crestY + h * 0.05, cx + halfTop, crestY);
    dam.lineTo(cx + halfBase, baseY);
    dam.quadTo(cx, baseY + h * 0.03, cx - halfBase, baseY);
    dam.closeSubpath();
    QLinearGradient concrete(cx - halfTop, 0, cx + halfTop, 0);
    concrete.setColorAt(0, QColor(150, 150, 145));
    concrete.setColorAt(0.45, QColor(228, 226, 218));
    concrete.setColorAt(1, QColor(165, 163, 156));
    p.fillPath(dam, concrete);
    // Horizontal arches and vertical cantilevers drawn on the face.
    p.setPen(QPen(QColor(120, 120, 115, 140), 1));
    for (int i = 1; i < 6; ++i) {
        const double t = i / 6.0;
        const double y = crestY + (baseY - crestY) * t;
        const double half = halfTop + (halfBase - halfTop) * t;
        QPainterPath arch;
        arch.moveTo(cx - half, y);
        arch.quadTo(cx, y + h * (0.05 - 0.02 * t), cx + half, y);
        p.drawPath(arch);
    }
    for (int i = -3; i <= 3; ++i) {
        const double s = i / 4.0;
        p.drawLine(QPointF(cx + halfTop * s, crestY + h * 0.05 * (1 - s * s)),
                   QPointF(cx + halfBase * s, baseY + h * 0.03 * (1 - s * s)));
    }
    p.setPen(QPen(QColor(90, 90, 85), 1.5));
    QPainterPath crestLine;
    crestLine.moveTo(cx - halfTop, crestY);
    crestLine.quadTo(cx, crestY + h * 0.05, cx + halfTop, crestY);
    p.drawPath(crestLine);

    // The valley sides, in front of the dam's abutments.
    QLinearGradient rock(0, crestY - h * 0.2, 0, h);
    rock.setColorAt(0, QColor(112, 120, 92));
    rock.setColorAt(1, QColor(64, 78, 52));
    QPainterPath left;
    left.moveTo(0, h * 0.3);
    left.cubicTo(w * 0.15, h * 0.25, cx - halfTop * 1.2, crestY - h * 0.12, cx - halfTop, crestY);
    left.lineTo(cx - halfBase * 1.1, baseY);
    left.lineTo(cx - halfBase * 2.5, h);
    left.lineTo(0, h);
    left.closeSubpath();
    p.fillPath(left, rock);
    QPainterPath right;
    right.moveTo(w, h * 0.26);
    right.cubicTo(w * 0.85, h * 0.28, cx + halfTop * 1.2, crestY - h * 0.1, cx + halfTop, crestY);
    right.lineTo(cx + halfBase * 1.1, baseY);
    right.lineTo(cx + halfBase * 2.5, h);
    right.lineTo(w, h);
    right.closeSubpath();
    p.fillPath(right, rock);

    // The river leaving the foot of the dam.
    QPainterPath river;
    river.moveTo(cx - halfBase * 0.8, baseY + h * 0.02);
    river.quadTo(cx - halfBase * 1.5, h * 0.95, cx - halfBase * 2.2, h);
    river.lineTo(cx + halfBase * 1.6, h);
    river.quadTo(cx + halfBase * 1.2, h * 0.95, cx + halfBase * 0.8, baseY + h * 0.02);
    river.closeSubpath();
    p.fillPath(river, QColor(90, 140, 170));
    p.end();
    return img;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s output-folder\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const std::string dir = std::string(argv[1]) + "/";
    bool ok = velta::encodeJpeg(paintValley(699, 190, 0.32), dir + "VELTA_splash.jpg");
    ok = velta::encodeJpeg(paintValley(220, 300, 0.42), dir + "VELTA_about.jpg") && ok;
    if (!ok) std::fprintf(stderr, "cannot write the pictures into %s\n", argv[1]);
    return ok ? 0 : 1;
}
