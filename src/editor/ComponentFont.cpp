#include "ComponentFont.h"

#include <QWidget>

namespace fabulor {

void ApplyFontName(QWidget* control, const QString& name)
{
    if (name.isEmpty())
        return;
    QFont font = control->font();
    font.setFamily(name.left(MaxFontNameLength));
    control->setFont(font);
}

void ApplyFontSize(QWidget* control, int points)
{
    if (points < 1)
        return;
    QFont font = control->font();
    font.setPointSize(points);
    control->setFont(font);
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
