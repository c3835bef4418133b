#pragma once
// The description box: the reader's multi-line text in a skin frame and
// colours. The editor shows it, nobody types in it: the text is wrapped at
// word ends inside a margin, and a vertical scroll bar comes when it runs
// longer than the box, as in the reader. Drawn directly rather than through
// a text editor widget, whose document machinery would cost the editor a
// megabyte at every start for a sentence no one edits.

#include "widgets/SkinBox.h"

#include <QAbstractScrollArea>

namespace fabulor {

class Memo : public SkinBox<QAbstractScrollArea> {
    Q_OBJECT
public:
    explicit Memo(QWidget* parent = nullptr);

    QString toPlainText() const { return m_text; }
    void setPlainText(const QString& text);

    // The room around the text inside the frame, in pixels.
    static constexpr int kMargin = 4;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // Where the text lies in the viewport, before scrolling.
    QRect textArea() const;
    void fitScrollRange();

    QString m_text;
};

} // namespace fabulor
