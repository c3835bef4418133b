#pragma once
// Icons that are made only when first drawn: a style's standard icon, a
// picture file's icon. A standard icon may go through the desktop's icon
// theme, whose first use reads the theme's index from disk; a picture file
// goes through Qt's picture readers. Controls on pages the editor does not
// open with need not pay for either at start. The icons are never null, so
// layouts and checks see them as set from the start.

#include <QIcon>
#include <QStyle>

#include <functional>

class QWidget;

namespace fabulor {

// The icon `make` gives, made when first drawn or measured.
QIcon LazyIcon(std::function<QIcon()> make);

// The standard icon `glyph` of `widget`'s style (the application's once the
// widget is gone), looked up on first use.
QIcon LazyStandardIcon(QStyle::StandardPixmap glyph, const QWidget* widget);

// The icon of a picture file (or resource) in `format` ("png"), read on
// first use.
QIcon LazyFileIcon(const QString& fileName, const QByteArray& format);

} // namespace fabulor
