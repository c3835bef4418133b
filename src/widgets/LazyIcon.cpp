#include "LazyIcon.h"

#include <QApplication>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace fabulor {
namespace {

// An icon made by `make` when it is first drawn or measured.
class LazyIconEngine : public QIconEngine {
public:
    explicit LazyIconEngine(std::function<QIcon()> make) : m_make(std::move(make)) {}

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

    QString key() const override { return QStringLiteral("fabulor.lazyicon"); }

    QIconEngine* clone() const override
    {
        auto* copy = new LazyIconEngine(m_make);
        copy->m_icon = m_icon;
        copy->m_resolved = m_resolved;
        return copy;
    }

private:
    const QIcon& icon()
    {
        if (!m_resolved) {
            m_icon = m_make();
            m_resolved = true;
        }
        return m_icon;
    }

    std::function<QIcon()> m_make;
    QIcon m_icon;
    bool m_resolved = false;
};

} // namespace

QIcon LazyIcon(std::function<QIcon()> make)
{
    return QIcon(new LazyIconEngine(std::move(make)));
}

QIcon LazyStandardIcon(QStyle::StandardPixmap glyph, const QWidget* widget)
{
    return QIcon(new LazyIconEngine([glyph, widget = QPointer<const QWidget>(widget)] {
        const QStyle* style = widget ? widget->style() : QApplication::style();
        return style ? style->standardIcon(glyph, nullptr, widget) : QIcon();
    }));
}

QIcon LazyFileIcon(const QString& fileName, const QByteArray& format)
{
    return QIcon(new LazyIconEngine([fileName, format] {
        // Read as the given format, so Qt does not load every picture plug-in
        // to ask each whether the bytes are its own.
        QImageReader reader(fileName, format);
        reader.setAutoDetectImageFormat(false);
        const QImage image = reader.read();
        return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
    }));
}

} // namespace fabulor
