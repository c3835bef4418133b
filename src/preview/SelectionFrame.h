#pragma once
// The mark of the current component in the preview: a thin frame drawn
// around it, above every control and invisible to the mouse. It is no part
// of the skin: it follows its control through moves, resizes and page
// changes, and hides while the control cannot be seen.

#include <QPointer>
#include <QWidget>

#include <vector>

namespace fabulor {

class SelectionFrame : public QWidget {
    Q_OBJECT
public:
    // window: the preview window the frame is drawn on.
    explicit SelectionFrame(QWidget* window);

    // Marks control (a widget on the window), or nothing for null.
    void follow(QWidget* control);
    QWidget* target() const { return m_target; }

    // How far the frame lies outside the control, in pixels.
    static constexpr int Margin = 2;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void watch(bool on);
    void track();

    QPointer<QWidget> m_target;
    std::vector<QPointer<QWidget>> m_watched; // the control and its ancestors below the window
};

} // namespace fabulor
