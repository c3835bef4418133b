#pragma once
// A style's standard icon that is looked up only when first drawn. The
// look-up may go through the desktop's icon theme, whose first use reads the
// theme's index from disk; buttons on pages the editor does not open with
// need not pay for it at start. The icon is never null, as the style's is
// not, so layouts and checks see it as set from the start.

#include <QIcon>
#include <QStyle>

class QWidget;

namespace fabulor {

// The standard icon `glyph` of `widget`'s style (the application's once the
// widget is gone), looked up on first use.
QIcon LazyStandardIcon(QStyle::StandardPixmap glyph, const QWidget* widget);

} // namespace fabulor
