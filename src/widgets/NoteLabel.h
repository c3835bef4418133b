#pragma once
// A note for the user: a bold lead ("Uwaga!") followed by plain text,
// wrapped at word ends within the label's width. Outside a layout the label
// sizes its own height to its text; in a layout it gives its height for a
// width. It draws in its parent's font.

#include <QLabel>

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

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool inLayout() const;
    void fitHeight();

    QString m_boldPart;
    bool m_fitting = false;
};

} // namespace fabulor
