#include "app/EditorTabBar.h"

#include <QMouseEvent>
#include <QWheelEvent>

namespace velta {

RefusableTabBar::RefusableTabBar(QWidget* parent) : QTabBar(parent)
{
    setExpanding(false);
    setUsesScrollButtons(true);
    // Any change that did not come from the program (keyboard, or a path not
    // intercepted below) is undone at once and turned into a request.
    connect(this, &QTabBar::currentChanged, this, [this](int index) {
        if (programmatic_) {
            shown_ = index;
            return;
        }
        if (index == shown_) return;
        const int wanted = index;
        if (shown_ >= 0 && shown_ < count())
            setCurrentIndexSilently(shown_);
        else
            shown_ = index;
        if (wanted != shown_) emit changeRequested(wanted);
    });
}

void RefusableTabBar::setCurrentIndexSilently(int index)
{
    programmatic_ = true;
    setCurrentIndex(index);
    programmatic_ = false;
    shown_ = currentIndex();
}

void RefusableTabBar::setTabsSilently(const QStringList& captions, int current)
{
    programmatic_ = true;
    while (count() > captions.size()) removeTab(count() - 1);
    while (count() < captions.size()) addTab(captions[count()]);
    for (int i = 0; i < captions.size(); ++i)
        if (tabText(i) != captions[i]) setTabText(i, captions[i]);
    if (current >= 0 && current < count()) setCurrentIndex(current);
    programmatic_ = false;
    shown_ = currentIndex();
}

void RefusableTabBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const int index = tabAt(event->position().toPoint());
        if (index >= 0 && index != currentIndex()) {
            event->accept();
            emit changeRequested(index);
            return;
        }
    }
    QTabBar::mousePressEvent(event);
}

void RefusableTabBar::wheelEvent(QWheelEvent* event)
{
    // The wheel does not leave a tab: leaving one validates its table.
    event->ignore();
}

} // namespace velta
