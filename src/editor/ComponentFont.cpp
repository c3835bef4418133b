#include "ComponentFont.h"

#include <QVariant>
#include <QWidget>

namespace fabulor {
namespace {

// The skin's size rides on the control itself, so it goes wherever the
// control goes and needs no table kept in step with the preview.
constexpr char skinFontSizeProperty[] = "fabulorSkinFontSize";

} // namespace

void ApplyFontName(QWidget* control, const QString& name)
{
    if (name.isEmpty()) return;
    QFont font = control->font();
    font.setFamily(name.left(MaxFontNameLength));
    control->setFont(font);
}

void ApplyFontSize(QWidget* control, int points)
{
    KeepSkinFontSize(control, points);
    if (points < 1) return;
    QFont font = control->font();
    font.setPointSize(points);
    control->setFont(font);
}

void KeepSkinFontSize(QWidget* control, int points)
{
    control->setProperty(skinFontSizeProperty, points);
}

int SkinFontSize(const QWidget* control)
{
    const QVariant kept = control->property(skinFontSizeProperty);
    return kept.isValid() ? kept.toInt() : control->font().pointSize();
}

// Latin-1 maps every byte to one character and back, so a name written by
// the reader's own system comes back unchanged whatever its code page.
QString FontNameFromSkin(const std::string& name)
{
    return QString::fromLatin1(name.data(), qsizetype(name.size()));
}

std::string FontNameForSkin(const QString& name)
{
    return name.toLatin1().toStdString();
}

} // namespace fabulor
