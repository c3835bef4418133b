#pragma once
// The description box: the reader's multi-line text in a skin frame and
// colours. The text is wrapped at word ends inside a margin, and a vertical
// scroll bar comes when it runs longer than the box, as in the reader.
// Until the box first takes the keyboard focus it draws its text itself: a
// text editor's document machinery would cost every start a megabyte for a
// sentence that is rarely touched. With the focus comes a plain text editor
// laid over the text, which takes the typing and the box's accessible name;
// presses still go to the box beneath it, where the preview makes them
// select and drag.

#include "widgets/SkinBox.h"

#include <QAbstractScrollArea>

class QPlainTextEdit;

namespace fabulor {

class Memo : public SkinBox<QAbstractScrollArea> {
    Q_OBJECT
    // The appearance the skin gives it (preview/ControlProperties.h).
    Q_PROPERTY(fabulor::Colour colour READ colour WRITE setColour)
    Q_PROPERTY(fabulor::Colour fontColour READ fontColour WRITE setFontColour)
    Q_PROPERTY(bool flat READ flat WRITE setFlat)
public:
    explicit Memo(QWidget* parent = nullptr);

    QString toPlainText() const;
    void setPlainText(const QString& text);

    // The editor that takes the typing, made at the first focus; null before.
    QPlainTextEdit* editor() const { return m_editor; }

    // The room around the text inside the frame, in pixels.
    static constexpr int kMargin = 4;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    // Where the text lies in the viewport, before scrolling.
    QRect textArea() const;
    void fitScrollRange();
    void makeEditor(Qt::FocusReason reason);

    QString m_text;
    QPlainTextEdit* m_editor = nullptr;
};

} // namespace fabulor
