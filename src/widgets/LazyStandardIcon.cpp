#include "LazyStandardIcon.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QWidget>

namespace fabulor {
namespace {

class LazyStandardIconEngine : public QIconEngine {
public:
    LazyStandardIconEngine(QStyle::StandardPixmap glyph, const QWidget* widget)
        : m_glyph(glyph), m_widget(widget)
    {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }

    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }

    QString iconName() override { return icon().name(); }

    bool isNull() override { return false; }

    QString key() const override { return QStringLiteral("fabulor.lazystandardicon"); }

    QIconEngine* clone() const override
    {
        auto* copy = new LazyStandardIconEngine(m_glyph, m_widget);
        copy->m_icon = m_icon;
        copy->m_resolved = m_resolved;
        return copy;
    }

private:
    const QIcon& icon()
    {
        if (!m_resolved) {
            const QStyle* style = m_widget ? m_widget->style() : QApplication::style();
            if (style) m_icon = style->standardIcon(m_glyph, nullptr, m_widget);
            m_resolved = true;
        }
        return m_icon;
    }

    QStyle::StandardPixmap m_glyph;
    QPointer<const QWidget> m_widget;
    QIcon m_icon;
    bool m_resolved = false;
};

} // namespace

QIcon LazyStandardIcon(QStyle::StandardPixmap glyph, const QWidget* widget)
{
    return QIcon(new LazyStandardIconEngine(glyph, widget));
}

} // namespace fabulor
