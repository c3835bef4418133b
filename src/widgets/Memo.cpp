#include "Memo.h"

#include <QEvent>
#include <QFocusEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

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

QString Memo::toPlainText() const
{
    return m_editor ? m_editor->toPlainText() : m_text;
}

void Memo::setPlainText(const QString& text)
{
    m_text = text;
    if (m_editor) {
        m_editor->setPlainText(text);
        return;
    }
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
    if (m_editor) return; // its editor keeps the range
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
    if (m_editor) return;
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
    if (m_editor) m_editor->setGeometry(viewport()->geometry());
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

void Memo::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    if (!m_editor) makeEditor(event->reason());
}

void Memo::makeEditor(Qt::FocusReason reason)
{
    // A child of the box, not of its viewport, so that an accessibility
    // reader finds it directly under the box. It inherits the box's font and
    // colours and takes its name; the frame stays the box's.
    m_editor = new QPlainTextEdit(this);
    m_editor->setAccessibleName(accessibleName());
    m_editor->setFrameShape(QFrame::NoFrame);
    m_editor->document()->setDocumentMargin(kMargin);
    m_editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The box's own scroll bar stays the one shown and moved by the mouse:
    // the editor is transparent to the mouse, so that a press on the text
    // reaches the box's viewport beneath it, as before the editor was made.
    m_editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_editor->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_editor->setPlainText(m_text);
    m_editor->setGeometry(viewport()->geometry());
    m_editor->show();

    // The box scrolled in pixels, the editor scrolls in lines: it starts as
    // far down its text as the box was, and from then on the box's bar
    // mirrors the editor's.
    QScrollBar* own = verticalScrollBar();
    QScrollBar* its = m_editor->verticalScrollBar();
    if (own->maximum() > 0)
        its->setValue(int(std::lround(double(own->value()) * its->maximum() / own->maximum())));
    const auto takeRange = [own, its] {
        own->setRange(its->minimum(), its->maximum());
        own->setPageStep(its->pageStep());
        own->setSingleStep(its->singleStep());
    };
    takeRange();
    own->setValue(its->value());
    connect(its, &QScrollBar::rangeChanged, own, takeRange);
    connect(its, &QScrollBar::valueChanged, own, &QScrollBar::setValue);
    connect(own, &QScrollBar::valueChanged, its, &QScrollBar::setValue);

    // Focus the editor before it becomes the proxy, so the reason stays.
    if (hasFocus()) m_editor->setFocus(reason);
    setFocusProxy(m_editor);
}

} // namespace fabulor
