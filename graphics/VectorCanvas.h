#pragma once
// A canvas that paints through a QPainter on any paint device (a PDF page,
// an SVG file, a printer): every line, text and filled area stays a vector
// shape. The drawing procedures see a surface of `width` x `height` units;
// the painter's transform, set by the caller, places it on the device.
// Pens keep their widths in those units; texts use the default font at a
// fixed size in those units, so a view looks as on the screen, only sharp.
#include <QFont>
#include <QPainter>

#include "graphics/Canvas.h"

namespace velta {

class VectorCanvas : public Canvas {
public:
    VectorCanvas(QPainter& painter, int width, int height);

    int width() const override { return w_; }
    int height() const override { return h_; }
    int textWidth(const std::string& text) const override;

protected:
    void paintLine(int x1, int y1, int x2, int y2) override;
    void paintRect(int x1, int y1, int x2, int y2) override;
    void paintText(int x, int y, const std::string& text) override;
    void paintFocusRect(int, int, int, int) override {}
    void paintPolygon(const std::vector<int>& xy) override;

private:
    QPen qpen() const;

    QPainter& p_;
    int w_, h_;
    QFont font_;
};

} // namespace velta
