#include "widgets/BandPanel.h"

#include "widgets/Accessibility.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QTimer>
#include <QVBoxLayout>

namespace fabulor {

BandHeader::BandHeader(QWidget* parent) : QAbstractButton(parent)
{
    InstallWidgetAccessibility();
    setCheckable(true);
    setFocusPolicy(Qt::TabFocus);
    setFont(QFont(QStringLiteral("Tahoma"), 8));
}

QSize BandHeader::sizeHint() const
{
    return {fontMetrics().horizontalAdvance(text()) + 24, Band::HeaderHeight};
}

void BandHeader::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionButton button;
    button.initFrom(this);
    button.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &button, &painter, this);

    // A triangle pointing down while expanded, right while collapsed.
    QStyleOption arrow;
    arrow.initFrom(this);
    arrow.rect = QRect(4, (height() - 9) / 2, 9, 9);
    const auto indicator = isChecked() ? QStyle::PE_IndicatorArrowDown : QStyle::PE_IndicatorArrowRight;
    style()->drawPrimitive(indicator, &arrow, &painter, this);

    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(rect().adjusted(18, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, text());
}

Band::Band(BandPanel& panel, const QString& caption, int expandedHeight, QWidget* parent)
    : QWidget(parent), m_panel(panel), m_header(new BandHeader(this)), m_content(new QWidget(this)),
      m_expandedHeight(expandedHeight)
{
    m_header->setText(caption);
    m_header->raise();
    // The header toggles: a click on an expanded band folds it.
    connect(m_header, &QAbstractButton::clicked, this, [this] { setExpanded(!m_expanded); });
    applyState();
}

QString Band::caption() const
{
    return m_header->text();
}

void Band::setExpanded(bool expand)
{
    if (expand == m_expanded) return;
    if (expand) m_panel.bandExpanding(this);
    m_expanded = expand;
    applyState();
    if (expand) {
        m_panel.scrollToBand(this);
        emit expanded();
    }
}

void Band::applyState()
{
    m_header->setChecked(m_expanded);
    m_content->setVisible(m_expanded);
    setFixedHeight(m_expanded ? m_expandedHeight : HeaderHeight);
}

void Band::resizeEvent(QResizeEvent*)
{
    m_header->setGeometry(0, 0, width(), HeaderHeight);
    m_content->setGeometry(0, 0, width(), m_expandedHeight);
}

BandPanel::BandPanel(QWidget* parent)
    : QScrollArea(parent), m_column(new QWidget), m_layout(new QVBoxLayout(m_column))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(1);
    m_layout->addStretch(1);
    setWidget(m_column);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

Band* BandPanel::addBand(const QString& caption, int expandedHeight)
{
    auto* band = new Band(*this, caption, expandedHeight, m_column);
    // Before the closing stretch, so the bands sit at the top.
    m_layout->insertWidget(m_layout->count() - 1, band);
    m_bands.push_back(band);
    return band;
}

void BandPanel::scrollToBand(Band* band)
{
    // The column takes its new height only once the layout has run.
    QTimer::singleShot(0, band, [this, band] { ensureWidgetVisible(band, 0, 0); });
}

void BandPanel::bandExpanding(Band* band)
{
    for (Band* other : m_bands)
        if (other != band) other->setExpanded(false);
}

} // namespace fabulor
