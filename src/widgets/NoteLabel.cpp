#include "NoteLabel.h"

#include <QEvent>
#include <QLayout>

namespace fabulor {

NoteLabel::NoteLabel(const QString& boldPart, const QString& text, QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::RichText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextInteractionFlags(Qt::NoTextInteraction);
    setNote(boldPart, text);
}

void NoteLabel::setNote(const QString& boldPart, const QString& text)
{
    m_boldPart = boldPart;
    // Both parts are plain text: a "<" in a note is a character, not mark-up.
    // The blank that starts the text stays an ordinary one, so the line may
    // break right after the lead.
    setText(QStringLiteral("<b>%1</b>%2").arg(boldPart.toHtmlEscaped(), text.toHtmlEscaped()));
    fitHeight();
}

void NoteLabel::setWidth(int width)
{
    resize(width, height());
    fitHeight();
}

void NoteLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    fitHeight();
}

void NoteLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) fitHeight();
}

bool NoteLabel::inLayout() const
{
    const QWidget* parent = parentWidget();
    return parent && parent->layout() && parent->layout()->indexOf(this) >= 0;
}

void NoteLabel::fitHeight()
{
    // A layout places the label by its height for width; only a freely
    // placed note sizes itself.
    if (m_fitting || inLayout()) return;
    const int wanted = heightForWidth(width());
    if (wanted < 0 || wanted == height()) return;
    m_fitting = true;
    resize(width(), wanted);
    m_fitting = false;
}

} // namespace fabulor
