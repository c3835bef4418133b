#pragma once
// A page control whose tabs are hidden: code picks the page by index, the
// user cannot. Its client border width decides the page area: the standard
// area (inset 4) widened on every side by 4 minus the width, i.e. inset by
// the width. Pages keep their children's page-relative positions.

#include "widgets/Colours.h"

#include <QWidget>

#include <vector>

namespace fabulor {

class PageControl : public QWidget {
    Q_OBJECT
    // The appearance the skin gives it (preview/ControlProperties.h).
    Q_PROPERTY(fabulor::Colour colour READ colour WRITE setColour)
    Q_PROPERTY(int borderWidth READ clientBorderWidth WRITE setClientBorderWidth)
public:
    explicit PageControl(QWidget* parent = nullptr);

    // Appends a page with the given (never shown) tab caption and returns it.
    QWidget* addPage(const QString& caption);
    int pageCount() const { return int(m_pages.size()); }
    QWidget* page(int index) const { return m_pages.at(std::size_t(index)); }

    int activePageIndex() const { return m_active; }
    // Out-of-range indexes are ignored.
    void setActivePageIndex(int index);

    int clientBorderWidth() const { return m_borderWidth; }
    void setClientBorderWidth(int width);

    Colour colour() const { return m_colour; }
    void setColour(Colour colour);

    // The page area in the control's own coordinates.
    QRect pageArea() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutPages();

    std::vector<QWidget*> m_pages;
    int m_active = -1;
    int m_borderWidth = 4;
    Colour m_colour = 0x8000000Fu; // clBtnFace
};

} // namespace fabulor
