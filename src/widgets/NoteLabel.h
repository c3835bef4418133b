#pragma once
// A note for the user: a bold lead ("Uwaga!") followed by plain text,
// wrapped at word ends within the label's width. Outside a layout the label
// sizes its own height to its text as it shows and while it shows; in a
// layout it gives its height for a width. It draws in its parent's font.
//
// The label's text is the whole note as plain text (what a screen reader
// reads); the lead is drawn bold over it by a text layout of its own, not by
// rich text, whose document machinery would cost every start a good part of
// a megabyte for two notes.

#include <QLabel>

class QTextLayout;

namespace fabulor {

class NoteLabel : public QLabel {
    Q_OBJECT
public:
    // The text follows the bold part directly, as given: start it with a
    // blank to keep the two apart.
    NoteLabel(const QString& boldPart, const QString& text, QWidget* parent = nullptr);

    QString boldPart() const { return m_boldPart; }
    void setNote(const QString& boldPart, const QString& text);

    // Gives the label a width; its height follows the text.
    void setWidth(int width);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool inLayout() const;
    void fitHeight();
    // Lays the note out in `width` pixels; gives its height.
    int layOut(QTextLayout& layout, int width) const;

    QString m_boldPart;
    bool m_fitting = false;
};

} // namespace fabulor
