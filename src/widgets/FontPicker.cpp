#include "FontPicker.h"

#include "Accessibility.h"
#include "SizePicker.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QStylePainter>

#include <algorithm>

namespace fabulor {
namespace {

// Every Polish letter with a diacritic, so a font without them shows at once.
const QString sampleText = QStringLiteral("Zażółć gęślą jaźń");
constexpr int samplePointSize = 12;
constexpr int sampleGap = 2;

// Qt tells apart families of the same name from several foundries as
// "Name [Foundry]". A skin names a font the way the reader asks for it, by
// its plain name, so each family is listed once under that name.
QString plainFamilyName(const QString& family)
{
    const qsizetype bracket = family.lastIndexOf(QStringLiteral(" ["));
    if (bracket > 0 && family.endsWith(QLatin1Char(']'))) return family.left(bracket);
    return family;
}

QStringList listFamilies()
{
    QStringList families;
    for (const QString& family : QFontDatabase::families()) {
        // Private families are the platform's own user-interface fonts.
        if (!QFontDatabase::isPrivateFamily(family)) families << plainFamilyName(family);
    }
    std::sort(families.begin(), families.end(), [](const QString& a, const QString& b) {
        const int order = QString::compare(a, b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    families.erase(std::unique(families.begin(), families.end()), families.end());
    return families;
}

// Every picker lists the same fonts; the font database is asked, and the
// names sorted, once per run.
const QStringList& installedFamilies()
{
    static const QStringList families = listFamilies();
    return families;
}

} // namespace

FontPicker::FontPicker(QWidget* parent) : QComboBox(parent), m_sample(new QLabel(this, Qt::ToolTip))
{
    InstallWidgetAccessibility();
    setEditable(false);
    addItems(installedFamilies());
    setCurrentIndex(-1);
    setMaxVisibleItems(16);

    // A tool-tip window takes no focus and no frame, so the open list keeps
    // the keyboard while the sample follows its highlight.
    m_sample->setObjectName(QStringLiteral("fontSample"));
    m_sample->setAttribute(Qt::WA_ShowWithoutActivating);
    m_sample->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_sample->setBackgroundRole(QPalette::Base);
    m_sample->setForegroundRole(QPalette::Text);
    m_sample->setAutoFillBackground(true);
    m_sample->setMargin(8);
    m_sample->setText(sampleText);
    m_sample->hide();

    connect(this, &QComboBox::highlighted, this, &FontPicker::showSample);
    connect(this, &QComboBox::activated, this, &FontPicker::fontChosen);
}

void FontPicker::setFontName(const QString& name)
{
    if (name == text()) return;
    setCurrentIndex(findText(name, Qt::MatchFixedString)); // fixed string: whole name, any case
    fontChosen();
}

void FontPicker::fontChosen()
{
    // The sizes follow first, so whoever hears changed() reads a size that
    // belongs to the new font.
    const QString family = text();
    for (const QPointer<SizePicker>& sizes : std::as_const(m_sizePickers))
        if (sizes) sizes->fontChanged(family);
    emit changed();
}

void FontPicker::link(SizePicker* sizes)
{
    if (!m_sizePickers.contains(sizes)) m_sizePickers.append(sizes);
}

void FontPicker::unlink(SizePicker* sizes)
{
    m_sizePickers.removeAll(sizes);
    m_sizePickers.removeAll(nullptr);
}

void FontPicker::showPopup()
{
    QAbstractItemView* list = view();
    // The list can also close without hidePopup (a click elsewhere), so its
    // window is watched as well. Only from the first opening on: asking for
    // the list makes its window, which most pickers never need.
    if (!m_popup) {
        m_popup = list->parentWidget();
        m_popup->installEventFilter(this);
    }
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth() + scrollBar + 4);
    QComboBox::showPopup();
    showSample(list->currentIndex().isValid() ? list->currentIndex().row() : currentIndex());
}

void FontPicker::hidePopup()
{
    QComboBox::hidePopup();
    m_sample->hide();
}

void FontPicker::showSample(int index)
{
    QWidget* popup = view()->parentWidget();
    if (index < 0 || !popup->isVisible()) {
        m_sample->hide();
        return;
    }
    QFont font(itemText(index));
    font.setPointSize(samplePointSize);
    m_sample->setFont(font);
    m_sample->adjustSize();

    // Beside the list on the right, or on the left when the screen ends,
    // level with the highlighted name.
    const QRect list = popup->geometry();
    QAbstractItemView* names = view();
    const QRect row = names->visualRect(names->model()->index(index, modelColumn()));
    const int rowMiddle =
        std::clamp(names->viewport()->mapToGlobal(row.center()).y(), list.top(), list.bottom());
    QPoint at(list.right() + 1 + sampleGap, rowMiddle - m_sample->height() / 2);
    if (const QScreen* screen = popup->screen()) {
        const QRect area = screen->availableGeometry();
        if (at.x() + m_sample->width() > area.right() + 1)
            at.setX(list.left() - sampleGap - m_sample->width());
        at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - m_sample->height())));
    }
    m_sample->move(at);
    m_sample->show();
    m_sample->raise();
}

bool FontPicker::eventFilter(QObject* watched, QEvent* event)
{
    if (m_popup && watched == m_popup && event->type() == QEvent::Hide) m_sample->hide();
    return QComboBox::eventFilter(watched, event);
}

void FontPicker::paintEvent(QPaintEvent* /*event*/)
{
    // The style wraps a name that is too long onto a second line, which the
    // field then cuts off; one elided line shows that the name goes on.
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    option.currentText = fontMetrics().elidedText(option.currentText, Qt::ElideRight, field.width());
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

} // namespace fabulor
