#include "Memo.h"

#include <QEvent>
#include <QPainter>
#include <QScrollBar>

namespace fabulor {
namespace {

constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

} // namespace

Memo::Memo(QWidget* parent) : SkinBox(parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
}

void Memo::setPlainText(const QString& text)
{
    m_text = text;
    verticalScrollBar()->setValue(0);
    fitScrollRange();
    viewport()->update();
}

QRect Memo::textArea() const
{
    return viewport()->rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
}

void Memo::fitScrollRange()
{
    const QRect area = textArea();
    const int textHeight = m_text.isEmpty() || area.width() <= 0
                               ? 0
                               : fontMetrics().boundingRect(area, kTextFlags, m_text).height();
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(0, textHeight - area.height()));
    bar->setPageStep(std::max(1, area.height()));
    bar->setSingleStep(std::max(1, fontMetrics().lineSpacing()));
}

void Memo::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    painter.setFont(font());
    const QRect area = textArea();
    // As tall as the text needs, so the lines below the box scroll into it.
    painter.drawText(
        area.translated(0, -verticalScrollBar()->value()).adjusted(0, 0, 0, verticalScrollBar()->maximum()),
        kTextFlags, m_text);
}

void Memo::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    fitScrollRange();
}

void Memo::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        fitScrollRange();
        viewport()->update();
    }
}

void Memo::scrollContentsBy(int, int)
{
    viewport()->update();
}

} // namespace fabulor
