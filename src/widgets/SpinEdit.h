#pragma once
// A whole-number edit with up and down buttons: typing takes only digits and
// signs, reading takes any text (what is not a whole number reads as 0), and
// every change of the text is reported. Limits are optional; with them the
// buttons stay inside and leaving the edit pulls an outside value back in.

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace fabulor {

class SpinEdit : public QWidget {
    Q_OBJECT
public:
    explicit SpinEdit(QWidget* parent = nullptr);

    // How far the buttons and the arrow keys step; 1 by default.
    void setIncrement(int increment) { m_increment = increment; }
    int increment() const { return m_increment; }

    // No limits by default. With limits, min must not exceed max; the text
    // already typed is left alone until the edit loses focus.
    void setLimits(int min, int max);
    // The limits; the whole range of int without them.
    int minimum() const;
    int maximum() const;

    // The current text as a whole number; empty or other text reads as 0.
    int value() const;
    // Clamps to the limits, writes the decimal text; changed() follows only
    // when the text differs from what it was.
    void setValue(int value);

    QString text() const;
    // The parts the user types into and presses; tests drive them as the user does.
    QLineEdit* lineEdit() const { return m_edit; }
    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

    // What the up and down buttons and arrow keys do.
    void stepUp() { stepBy(1); }
    void stepDown() { stepBy(-1); }

    QSize sizeHint() const override;

signals:
    // The text changed, by typing, a button or code.
    void changed();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void stepBy(int steps);
    int clamped(long long value) const;

    QLineEdit* m_edit;
    QToolButton* m_up;
    QToolButton* m_down;
    int m_increment = 1;
    bool m_limited = false;
    int m_min = 0;
    int m_max = 0;
};

} // namespace fabulor
