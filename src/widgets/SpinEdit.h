#pragma once
// A whole-number edit with up and down buttons: typing takes only digits and
// signs, reading takes any text (what is not a whole number reads as 0), and
// every change of the text is reported. Limits are optional; with them the
// buttons stay inside and leaving the edit pulls an outside value back in.
// The edit and its buttons are made when the widget is first polished (shown)
// or asked for: most of the editor's spin edits sit on pages the user may
// never open, and the value alone needs none of them.

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace fabulor {

class SpinEdit : public QWidget {
    Q_OBJECT
    // What the user sees and may be halfway through typing, not the number
    // it reads as: a value to set back must be this text.
    Q_PROPERTY(QString text READ text WRITE restoreText USER true)
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
    // Puts text back as it was, also one that is no number yet, without
    // announcing a change: the edit history setting back what was typed.
    void restoreText(const QString& text);
    // The parts the user types into and presses; tests drive them as the user
    // does. Asking for one makes them.
    QLineEdit* lineEdit() const;
    QToolButton* upButton() const;
    QToolButton* downButton() const;
    bool hasParts() const { return m_edit != nullptr; }
    // Names the parts after the widget's accessible name, now and when made.
    void nameParts();

    // What the up and down buttons and arrow keys do.
    void stepUp() { stepBy(1); }
    void stepDown() { stepBy(-1); }

    QSize sizeHint() const override;

signals:
    // The text changed, by typing, a button or code.
    void changed();

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void makeParts();
    void placeParts();
    void stepBy(int steps);
    int clamped(long long value) const;

    QLineEdit* m_edit = nullptr;
    QToolButton* m_up = nullptr;
    QToolButton* m_down = nullptr;
    // The text while there is no edit to hold it.
    QString m_text = QStringLiteral("0");
    int m_increment = 1;
    bool m_limited = false;
    int m_min = 0;
    int m_max = 0;
};

} // namespace fabulor
