#pragma once
// What a screen reader learns about the program's own widgets: each control
// is named after what it is for, and each widget has the role and the
// actions of what it does. A side tab is a page tab whose action shows its
// page, a band header an expandable header whose action folds or unfolds its
// band, a spin edit a spin box that steps, and a drop-down is named after its
// purpose rather than after the entry it happens to show.

#include <QString>

class QLabel;
class QWidget;

namespace fabulor {

// Installs the interfaces. Every widget that has one calls it when it is
// made, so calling it again is harmless and cheap.
void InstallWidgetAccessibility();

// Names a control and the parts a user reaches inside it: a spin edit's
// field and arrows, a file-name edit's field and browse button, an editable
// drop-down's field and the list of any drop-down, a scrolling area's bars.
void SetAccessibleCaption(QWidget* control, const QString& caption);

// Ties a control to the label that captions it: the label becomes the
// control's buddy (so the relation is there for readers that follow it) and
// its text, without a closing colon or mnemonic marks, the control's name.
void CaptionWithLabel(QLabel* label, QWidget* control);

// A label's text as a control's name: "Szerokość:" gives "Szerokość".
QString CaptionText(const QString& labelText);

} // namespace fabulor
