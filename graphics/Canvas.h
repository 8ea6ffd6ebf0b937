#pragma once
// The raster drawing surface every view is drawn on: a pen (colour, width,
// style), a brush, a current position, rectangles, lines, texts and the
// inverting focus rectangle. The drawing procedures are written once against
// this interface; PaintingCanvas paints a QImage, RecordingCanvas logs.
#include <cstdint>
#include <string>
#include <vector>

namespace velta {

using Color = std::uint32_t; // 0xRRGGBB
inline constexpr Color kBlack = 0x000000;
inline constexpr Color kWhite = 0xFFFFFF;
inline constexpr Color kRed = 0xFF0000;
inline constexpr Color kBlue = 0x0000FF;

enum class PenStyle { Solid, Dash, Dot };
enum class BrushStyle { Solid, Clear };

struct Pen {
    Color color = kBlack;
    int width = 1;
    PenStyle style = PenStyle::Solid;
};

struct Brush {
    Color color = kWhite;
    BrushStyle style = BrushStyle::Solid;
};

// Number of characters of a UTF-8 text (code points), as the text
// placement counts them.
int textLength(const std::string& utf8);

class Canvas {
public:
    virtual ~Canvas() = default;

    void setPenColor(Color c) { pen_.color = c; }
    void setPenWidth(int w) { pen_.width = w; }
    void setPenStyle(PenStyle s) { pen_.style = s; }
    void setBrushColor(Color c) { brush_.color = c; }
    void setBrushStyle(BrushStyle s) { brush_.style = s; }
    const Pen& pen() const { return pen_; }
    const Brush& brush() const { return brush_; }
    int penX() const { return x_; }
    int penY() const { return y_; }

    // Fills the rectangle with the brush (right and bottom edges excluded)
    // and outlines it with the pen.
    void rectangle(int x1, int y1, int x2, int y2);
    void moveTo(int x, int y)
    {
        x_ = x;
        y_ = y;
    }
    // A segment from the current position; the end point is not painted
    // and becomes the current position.
    void lineTo(int x, int y);
    // Text with its top-left corner at (x, y), on the brush's background;
    // the current position moves to the end of the text.
    void textOut(int x, int y, const std::string& text);
    // Inverts a dotted outline: drawn twice on the same corners, it is gone.
    void drawFocusRect(int x1, int y1, int x2, int y2);
    // Fills a polygon with the brush colour, without outline; `xy` holds
    // x1, y1, x2, y2, ... The current position does not move.
    void polygon(const std::vector<int>& xy);

    virtual int width() const = 0;
    virtual int height() const = 0;
    // Width of a text in pixels with the canvas's font.
    virtual int textWidth(const std::string& text) const = 0;

    // Every operation, one line each, appended to `log` while it is set:
    //   line X1 Y1 X2 Y2 #RRGGBB WIDTH STYLE   (STYLE solid, dash or dot)
    //   text X Y TEXT
    //   rect X1 Y1 X2 Y2 #PEN #BRUSH           (#BRUSH is "none" for a clear brush)
    //   focusrect X1 Y1 X2 Y2
    //   poly #BRUSH X1 Y1 X2 Y2 ...
    void setLog(std::vector<std::string>* log) { log_ = log; }

protected:
    virtual void paintLine(int x1, int y1, int x2, int y2) = 0;
    virtual void paintRect(int x1, int y1, int x2, int y2) = 0;
    virtual void paintText(int x, int y, const std::string& text) = 0;
    virtual void paintFocusRect(int x1, int y1, int x2, int y2) = 0;
    virtual void paintPolygon(const std::vector<int>& xy) { (void)xy; }

private:
    Pen pen_;
    Brush brush_;
    int x_ = 0, y_ = 0;
    std::vector<std::string>* log_ = nullptr;
};

// Paints nothing; records every operation in `ops`. Its text width is an
// estimate of 7 pixels per character, so that positions after a text are
// the same on every machine.
class RecordingCanvas : public Canvas {
public:
    RecordingCanvas(int width, int height);
    RecordingCanvas(const RecordingCanvas&) = delete;
    RecordingCanvas& operator=(const RecordingCanvas&) = delete;
    std::vector<std::string> ops;
    static constexpr int kCharWidth = 7;

    int width() const override { return w_; }
    int height() const override { return h_; }
    int textWidth(const std::string& text) const override { return kCharWidth * textLength(text); }
    // The operations joined by newlines, each line ended.
    std::string text() const;

protected:
    void paintLine(int, int, int, int) override {}
    void paintRect(int, int, int, int) override {}
    void paintText(int, int, const std::string&) override {}
    void paintFocusRect(int, int, int, int) override {}

private:
    int w_, h_;
};

} // namespace velta
