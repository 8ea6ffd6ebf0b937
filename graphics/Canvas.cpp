#include "graphics/Canvas.h"

#include <cstdio>

namespace velta {

namespace {

std::string hex(Color c)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%06X", static_cast<unsigned>(c & 0xFFFFFF));
    return buf;
}

const char* styleName(PenStyle s)
{
    switch (s) {
    case PenStyle::Dash:
        return "dash";
    case PenStyle::Dot:
        return "dot";
    default:
        return "solid";
    }
}

std::string ints(std::initializer_list<int> v)
{
    std::string out;
    for (int i : v) {
        out += ' ';
        out += std::to_string(i);
    }
    return out;
}

} // namespace

int textLength(const std::string& utf8)
{
    int n = 0;
    for (unsigned char ch : utf8)
        if ((ch & 0xC0) != 0x80) ++n;
    return n;
}

void Canvas::rectangle(int x1, int y1, int x2, int y2)
{
    if (log_)
        log_->push_back("rect" + ints({x1, y1, x2, y2}) + " " + hex(pen_.color) + " " +
                        (brush_.style == BrushStyle::Solid ? hex(brush_.color) : std::string("none")));
    paintRect(x1, y1, x2, y2);
}

void Canvas::lineTo(int x, int y)
{
    if (log_)
        log_->push_back("line" + ints({x_, y_, x, y}) + " " + hex(pen_.color) + " " +
                        std::to_string(pen_.width) + " " + styleName(pen_.style));
    paintLine(x_, y_, x, y);
    x_ = x;
    y_ = y;
}

void Canvas::textOut(int x, int y, const std::string& text)
{
    if (log_) log_->push_back("text" + ints({x, y}) + " " + text);
    paintText(x, y, text);
    x_ = x + textWidth(text);
    y_ = y;
}

void Canvas::drawFocusRect(int x1, int y1, int x2, int y2)
{
    if (log_) log_->push_back("focusrect" + ints({x1, y1, x2, y2}));
    paintFocusRect(x1, y1, x2, y2);
}

void Canvas::polygon(const std::vector<int>& xy)
{
    if (log_) {
        std::string op = "poly " + hex(brush_.color);
        for (int v : xy) op += " " + std::to_string(v);
        log_->push_back(op);
    }
    if (xy.size() >= 6 && brush_.style == BrushStyle::Solid) paintPolygon(xy);
}

RecordingCanvas::RecordingCanvas(int width, int height) : w_(width), h_(height)
{
    setLog(&ops);
}

std::string RecordingCanvas::text() const
{
    std::string out;
    for (const auto& op : ops) out += op + "\n";
    return out;
}

} // namespace velta
