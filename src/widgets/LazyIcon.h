#pragma once
// Icons that are made only when first drawn: a style's standard icon, a
// picture file's icon. A standard icon may go through the desktop's icon
// theme, whose first use reads the theme's index from disk; a picture file
// goes through Qt's picture readers. Controls on pages the editor does not
// open with need not pay for either at start. The icons are never null, so
// layouts and checks see them as set from the start.

#include <QIcon>
#include <QStyle>

class QWidget;

namespace fabulor {

// The standard icon `glyph` of `widget`'s style (the application's once the
// widget is gone), looked up on first use.
QIcon LazyStandardIcon(QStyle::StandardPixmap glyph, const QWidget* widget);

// The icon of a picture file (or resource), read on first use: reading it
// goes through Qt's picture readers, whose first use looks up their plug-ins.
QIcon LazyFileIcon(const QString& fileName);

} // namespace fabulor
