#include "StaticText.h"

#include <QEvent>
#include <QPainter>

namespace fabulor {

StaticText::StaticText(const QString& text, QWidget* parent) : QWidget(parent), m_text(text)
{
    fitToText();
}

void StaticText::setText(const QString& text)
{
    m_text = text;
    fitToText();
    update();
}

void StaticText::setFontColour(Colour colour)
{
    m_fontColour = colour;
    update();
}

void StaticText::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(toQColor(m_fontColour, palette()));
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, m_text);
}

void StaticText::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) fitToText();
    QWidget::changeEvent(event);
}

void StaticText::fitToText()
{
    const QFontMetrics metrics(font());
    resize(metrics.horizontalAdvance(m_text), metrics.height());
}

} // namespace fabulor
