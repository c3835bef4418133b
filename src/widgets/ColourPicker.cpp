#include "ColourPicker.h"

#include "Accessibility.h"
#include "Colours.h"
#include "Dialogs.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStylePainter>
#include <QWheelEvent>

#include <array>
#include <optional>

namespace fabulor {
namespace {

struct ListedColour {
    const char* name;
    Colour value;
};

// The standard colours in the order the user knows from the reader's toolkit.
constexpr std::array<ListedColour, 20> listedColours{{
    {"Black", 0x00000000u}, {"Maroon", 0x00000080u},      {"Green", 0x00008000u},
    {"Olive", 0x00008080u}, {"Navy", 0x00800000u},        {"Purple", 0x00800080u},
    {"Teal", 0x00808000u},  {"Gray", 0x00808080u},        {"Silver", 0x00C0C0C0u},
    {"Red", 0x000000FFu},   {"Lime", 0x0000FF00u},        {"Yellow", 0x0000FFFFu},
    {"Blue", 0x00FF0000u},  {"Fuchsia", 0x00FF00FFu},     {"Aqua", 0x00FFFF00u},
    {"White", 0x00FFFFFFu}, {"Money Green", 0x00C0DCC0u}, {"Sky Blue", 0x00F0CAA6u},
    {"Cream", 0x00F0FBFFu}, {"Medium Gray", 0x00A4A0A0u},
}};

const QString customName = QStringLiteral("Custom");
const QString customDialogName = QStringLiteral("Custom...");

QVariant colourData(Colour colour)
{
    return QVariant::fromValue<quint32>(colour);
}

} // namespace

ColourPicker::ColourPicker(Dialogs& dialogs, QWidget* parent) : QComboBox(parent), m_dialogs(dialogs)
{
    InstallWidgetAccessibility();
    // The pickers sit in rows 20 pixels high; a flat swatch keeps the name
    // readable beside it.
    setIconSize(QSize(13, 10));
    for (const ListedColour& listed : listedColours)
        addItem(swatch(toQColor(listed.value)), QString::fromLatin1(listed.name), colourData(listed.value));
    // An empty icon keeps "Custom..." aligned with the names above it.
    addItem(swatch(QColor()), customDialogName);
    select(0, listedColours[0].value);
    connect(this, &QComboBox::activated, this, &ColourPicker::onActivated);
}

void ColourPicker::setValue(Colour colour)
{
    const int listed = indexOf(colour);
    if (listed >= 0) {
        select(listed, colour);
        emit changed();
        return;
    }
    select(insertCustom(colour), colour);
}

void ColourPicker::select(int index, Colour colour)
{
    setCurrentIndex(index);
    m_value = colour;
    // The closed picker may have to shorten the name; the tip shows it whole,
    // with the colour as the skin file will name it.
    setToolTip(QStringLiteral("%1 (%2)").arg(itemText(index), QString::fromStdString(ColorToString(colour))));
}

void ColourPicker::onActivated(int index)
{
    if (index < 0) return;
    if (index == customDialogIndex()) {
        const std::optional<Colour> chosen = m_dialogs.chooseColour(m_value);
        if (!chosen) {
            // The combo has already moved to "Custom..."; the value stays,
            // so its entry is shown again.
            setCurrentIndex(indexOf(m_value));
            return;
        }
        const int listed = indexOf(*chosen);
        select(listed >= 0 ? listed : insertCustom(*chosen), *chosen);
    } else {
        select(index, itemData(index, ColourRole).value<quint32>());
    }
    emit changed();
    emit clicked();
}

int ColourPicker::indexOf(Colour colour) const
{
    for (int i = 0; i < customDialogIndex(); ++i)
        if (itemData(i, ColourRole).value<quint32>() == colour) return i;
    return -1;
}

int ColourPicker::insertCustom(Colour colour)
{
    const int index = customDialogIndex();
    insertItem(index, swatch(toQColor(colour)), customName, colourData(colour));
    return index;
}

QIcon ColourPicker::swatch(const QColor& colour) const
{
    // Drawn at the screen's pixel ratio so the frame stays one crisp pixel.
    const qreal ratio = devicePixelRatioF();
    QPixmap pixmap(iconSize() * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    if (colour.isValid()) {
        QPainter painter(&pixmap);
        const QRectF box(0.5, 0.5, iconSize().width() - 1.0, iconSize().height() - 1.0);
        painter.setPen(QPen(QColor(64, 64, 64), 1.0));
        painter.setBrush(colour);
        painter.drawRect(box);
    }
    return QIcon(pixmap);
}

void ColourPicker::refreshSwatches()
{
    for (int i = 0; i < customDialogIndex(); ++i)
        setItemIcon(i, swatch(toQColor(itemData(i, ColourRole).value<quint32>())));
}

void ColourPicker::showPopup()
{
    // The list may be wider than the closed picker, so names are never cut.
    QAbstractItemView* list = view();
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth() + scrollBar + 4);
    QComboBox::showPopup();
}

void ColourPicker::changeEvent(QEvent* event)
{
    // Window-system colours follow the palette, so their swatches are redrawn.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange)
        refreshSwatches();
    QComboBox::changeEvent(event);
}

void ColourPicker::wheelEvent(QWheelEvent* event)
{
    // Rolling the wheel past the last colour would open a modal dialog the
    // user never asked for; "Custom..." is chosen only deliberately.
    const bool towardsDialog = event->angleDelta().y() < 0 || event->angleDelta().x() < 0;
    if (towardsDialog && currentIndex() >= customDialogIndex() - 1) {
        event->accept();
        return;
    }
    QComboBox::wheelEvent(event);
}

void ColourPicker::paintEvent(QPaintEvent* /*event*/)
{
    // The style wraps a name that is too long onto a second line, which the
    // field then cuts off ("Money" for "Money Green"); one elided line shows
    // that the name goes on.
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    if (!option.currentIcon.isNull())
        field.setLeft(field.left() + option.iconSize.width() + 4); // where the style puts the name
    option.currentText = fontMetrics().elidedText(option.currentText, Qt::ElideRight, field.width());
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

} // namespace fabulor
