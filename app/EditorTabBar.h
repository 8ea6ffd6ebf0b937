#pragma once
// A tab strip whose change the owner may refuse: a user's attempt to select
// another tab does not change it but emits changeRequested; the owner
// validates and then sets the tab itself. Changes made by the program raise
// no signal.
#include <QTabBar>

namespace velta {

class RefusableTabBar : public QTabBar {
    Q_OBJECT
public:
    explicit RefusableTabBar(QWidget* parent = nullptr);
    // Selects a tab without emitting anything.
    void setCurrentIndexSilently(int index);
    // Makes the strip show these captions with `current` selected, adding and
    // removing tabs at the end as needed, without emitting anything.
    void setTabsSilently(const QStringList& captions, int current);

signals:
    void changeRequested(int index);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    int shown_ = -1;
    bool programmatic_ = false;
};

} // namespace velta
