#include "SideTabWidget.h"

#include "widgets/Accessibility.h"

#include <QButtonGroup>
#include <QPainter>
#include <QStackedWidget>
#include <QStyleOptionTab>
#include <QStylePainter>

namespace fabulor {
namespace {

constexpr int TabThickness = 21; // width of one column of tabs
constexpr int TextPadding = 12;  // along the tab, around its caption

} // namespace

SideTab::SideTab(const QString& caption, QWidget* parent) : QAbstractButton(parent)
{
    InstallWidgetAccessibility();
    setText(caption);
    setCheckable(true);
    setFocusPolicy(Qt::TabFocus);
}

QSize SideTab::sizeHint() const
{
    return QSize(TabThickness, fontMetrics().horizontalAdvance(text()) + TextPadding);
}

void SideTab::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect frame = rect().adjusted(isChecked() ? 0 : 2, 0, 0, -1);
    painter.setPen(palette().color(QPalette::Mid));
    painter.setBrush(palette().color(isChecked() ? QPalette::Window : QPalette::Button));
    painter.drawRoundedRect(QRectF(frame).adjusted(0.5, 0.5, 2.5, -0.5), 3, 3);
    if (isChecked()) {
        // Open towards the page.
        painter.setPen(palette().color(QPalette::Window));
        painter.drawLine(frame.right(), frame.top() + 1, frame.right(), frame.bottom() - 1);
    }
    painter.translate(0, height());
    painter.rotate(-90);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(0, frame.left(), height(), frame.width()), Qt::AlignCenter, text());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = QRect(3, frame.left() + 3, height() - 6, frame.width() - 6);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

SideTabWidget::SideTabWidget(QWidget* parent)
    : QWidget(parent), m_group(new QButtonGroup(this)), m_pages(new QStackedWidget(this))
{
    m_group->setExclusive(true);
    connect(m_group, &QButtonGroup::idClicked, this, &SideTabWidget::setCurrentIndex);
    connect(m_pages, &QStackedWidget::currentChanged, this, &SideTabWidget::currentChanged);
}

int SideTabWidget::addTab(QWidget* page, const QString& caption)
{
    const int index = count();
    auto* tab = new SideTab(caption, this);
    m_tabs.push_back(tab);
    m_group->addButton(tab, index);
    m_pages->addWidget(page);
    if (index == 0) tab->setChecked(true);
    tab->show();
    layoutTabs();
    return index;
}

int SideTabWidget::currentIndex() const
{
    return m_pages->currentIndex();
}

QWidget* SideTabWidget::currentWidget() const
{
    return m_pages->currentWidget();
}

void SideTabWidget::setCurrentIndex(int index)
{
    if (index < 0 || index >= count()) return;
    tabButton(index)->setChecked(true);
    m_pages->setCurrentIndex(index);
}

void SideTabWidget::setCurrentWidget(QWidget* page)
{
    setCurrentIndex(m_pages->indexOf(page));
}

void SideTabWidget::resizeEvent(QResizeEvent*)
{
    layoutTabs();
}

void SideTabWidget::layoutTabs()
{
    // Fill a column from the top; a tab that does not fit starts the next
    // column to its right.
    const int available = std::max(height(), 1);
    int column = 0;
    int y = 0;
    for (QAbstractButton* tab : m_tabs) {
        const int length = std::min(tab->sizeHint().height(), available);
        if (y > 0 && y + length > available) {
            ++column;
            y = 0;
        }
        tab->setGeometry(column * TabThickness, y, TabThickness, length);
        y += length;
    }
    m_columns = column + 1;
    const int left = m_columns * TabThickness;
    m_pages->setGeometry(left, 0, std::max(width() - left, 0), height());
}

} // namespace fabulor
