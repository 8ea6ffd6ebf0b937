#pragma once
// The splash screen: a borderless picture with the educational-use line,
// closed by its timer after two seconds.
#include <QDialog>

class QTimer;

namespace velta {

class TMotdePasseFiche : public QDialog {
    Q_OBJECT
public:
    explicit TMotdePasseFiche(QWidget* parent = nullptr, const QString& picturePath = QString());
    QTimer* timer() { return timer_; }

    static constexpr int kWidth = 699, kHeight = 225, kDelayMs = 2000;
    static constexpr const char* kNoticeText = "The software should only be used for educational purposes";

protected:
    void showEvent(QShowEvent* e) override;

private:
    QTimer* timer_;
};

}  // namespace velta
