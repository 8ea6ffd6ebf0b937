#pragma once
// The canvas of the main image and of the PNG files: paints a QImage.
// One-pixel lines are drawn pixel by pixel without antialiasing (the end
// point is left unpainted, dashes and dots restart with every segment);
// wider lines, texts and rectangles go through QPainter, also without
// antialiasing. Texts use the default font in black on the brush colour.
#include <QFont>
#include <QFontMetrics>
#include <QImage>

#include "graphics/Canvas.h"

namespace velta {

class PaintingCanvas : public Canvas {
public:
    // `image` must outlive the canvas; it is converted to 32-bit RGB if it
    // is in another format.
    explicit PaintingCanvas(QImage& image);

    int width() const override { return image_.width(); }
    int height() const override { return image_.height(); }
    int textWidth(const std::string& text) const override;

protected:
    void paintLine(int x1, int y1, int x2, int y2) override;
    void paintRect(int x1, int y1, int x2, int y2) override;
    void paintText(int x, int y, const std::string& text) override;
    void paintFocusRect(int x1, int y1, int x2, int y2) override;
    void paintPolygon(const std::vector<int>& xy) override;

private:
    void setPixel(int x, int y, Color c);
    void invertPixel(int x, int y);
    void thinLine(int x1, int y1, int x2, int y2);

    QImage& image_;
    QFont font_;
    QFontMetrics metrics_;
};

} // namespace velta
