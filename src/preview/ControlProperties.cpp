#include "preview/ControlProperties.h"

#include <QHash>
#include <QMetaProperty>
#include <QWidget>

#include <array>
#include <cstddef>

namespace fabulor {
namespace {

// Each appearance is a Qt property of the controls that have it, of one name
// whatever the control (Panel, PageControl, Memo, ListView, StaticText): a
// control that takes one more declares it, and nothing here changes.
enum class Appearance { Colour, FontColour, BorderWidth, Flat, FlatScrollBars };
constexpr std::array<const char*, 5> PropertyNames{"colour", "fontColour", "borderWidth", "flat",
                                                   "flatScrollBars"};

// Looked up once per class: capture and apply ask for every key of every
// component. Invalid where the class has no such property.
QMetaProperty PropertyOf(const QWidget* control, Appearance appearance)
{
    using Properties = std::array<QMetaProperty, PropertyNames.size()>;
    static QHash<const QMetaObject*, Properties> known;
    const QMetaObject* type = control->metaObject();
    auto found = known.constFind(type);
    if (found == known.constEnd()) {
        Properties properties;
        for (std::size_t i = 0; i < PropertyNames.size(); ++i)
            properties[i] = type->property(type->indexOfProperty(PropertyNames[i]));
        found = known.insert(type, properties);
    }
    return (*found)[std::size_t(appearance)];
}

QVariant Read(const QWidget* control, Appearance appearance)
{
    const QMetaProperty property = PropertyOf(control, appearance);
    return property.isValid() ? property.read(control) : QVariant();
}

// Never a dynamic property: a control without the appearance ignores it.
void Write(QWidget* control, Appearance appearance, const QVariant& value)
{
    const QMetaProperty property = PropertyOf(control, appearance);
    if (property.isValid()) property.write(control, value);
}

} // namespace

Colour ControlColour(const QWidget* control)
{
    return Read(control, Appearance::Colour).value<Colour>();
}

void SetControlColour(QWidget* control, Colour colour)
{
    Write(control, Appearance::Colour, QVariant::fromValue(colour));
}

Colour ControlFontColour(const QWidget* control)
{
    return Read(control, Appearance::FontColour).value<Colour>();
}

void SetControlFontColour(QWidget* control, Colour colour)
{
    Write(control, Appearance::FontColour, QVariant::fromValue(colour));
}

int ControlBorder(const QWidget* control)
{
    return Read(control, Appearance::BorderWidth).toInt();
}

void SetControlBorder(QWidget* control, int width)
{
    Write(control, Appearance::BorderWidth, width);
}

bool ControlFlat(const QWidget* control)
{
    return Read(control, Appearance::Flat).toBool();
}

void SetControlFlat(QWidget* control, bool flat)
{
    Write(control, Appearance::Flat, flat);
}

void SetControlFlatScrollBars(QWidget* control, bool flat)
{
    Write(control, Appearance::FlatScrollBars, flat);
}

} // namespace fabulor
