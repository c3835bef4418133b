#pragma once
// What a screen reader learns about the preview window: each component of
// the skin is named as the component chooser lists it ("Przycisk [Zamknij]"),
// has the role of what it is in the reader's window (a button, a picture, a
// text, a list, a pane) and one action, "Wybierz", that selects it for
// editing as a press on it does. What a component is built of inside (a
// button's picture box, a text box's viewport) stays out of sight; only the
// description box's text editor shows, once the box has made it for typing.

#include <QString>

namespace fabulor {

// The name a reader knows a component by: the chooser's text for it.
QString ChooserText(int index);

// Installs the interfaces; the preview window calls it when it is made.
void InstallPreviewAccessibility();

} // namespace fabulor
