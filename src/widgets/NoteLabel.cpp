#include "NoteLabel.h"

#include <QEvent>
#include <QLayout>
#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace fabulor {

NoteLabel::NoteLabel(const QString& boldPart, const QString& text, QWidget* parent) : QLabel(parent)
{
    // Both parts are plain text: a "<" in a note is a character, not mark-up.
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextInteractionFlags(Qt::NoTextInteraction);
    setNote(boldPart, text);
}

void NoteLabel::setNote(const QString& boldPart, const QString& text)
{
    m_boldPart = boldPart;
    // The blank that starts the text stays an ordinary one, so the line may
    // break right after the lead.
    setText(boldPart + text);
    updateGeometry();
    fitHeight();
    update();
}

int NoteLabel::layOut(QTextLayout& layout, int width) const
{
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    layout.setFormats({{0, int(m_boldPart.size()), bold}});
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    qreal y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    return int(std::ceil(y));
}

int NoteLabel::heightForWidth(int width) const
{
    const QMargins margins = contentsMargins();
    QTextLayout layout(text(), font());
    return layOut(layout, std::max(1, width - margins.left() - margins.right())) + margins.top() +
           margins.bottom();
}

QSize NoteLabel::sizeHint() const
{
    // As wide as the text on one line, but never wider than a note reads well.
    const int width = std::min(fontMetrics().horizontalAdvance(text()) + 1, 300);
    return {width, heightForWidth(width)};
}

QSize NoteLabel::minimumSizeHint() const
{
    const int width = fontMetrics().averageCharWidth() * 10;
    return {width, heightForWidth(width)};
}

void NoteLabel::paintEvent(QPaintEvent*)
{
    const QRect area = contentsRect();
    QTextLayout layout(text(), font());
    layOut(layout, area.width());
    QPainter painter(this);
    // The palette's current group: a note in a disabled panel is greyed.
    painter.setPen(palette().color(foregroundRole()));
    layout.draw(&painter, area.topLeft());
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

void NoteLabel::showEvent(QShowEvent* event)
{
    QLabel::showEvent(event);
    fitHeight();
}

bool NoteLabel::inLayout() const
{
    const QWidget* parent = parentWidget();
    return parent && parent->layout() && parent->layout()->indexOf(this) >= 0;
}

void NoteLabel::fitHeight()
{
    // A layout places the label by its height for width; only a freely
    // placed note sizes itself, and only once it shows: laying out the text
    // loads the bold font, which a note on a page never opened need not.
    if (m_fitting || inLayout() || !isVisible()) return;
    const int wanted = heightForWidth(width());
    if (wanted == height()) return;
    m_fitting = true;
    resize(width(), wanted);
    m_fitting = false;
}

} // namespace fabulor
