#pragma once
// Widgets made after their neighbours (parts made on first show, a chooser
// made with its tab) are added to the end of their window's focus order by
// Qt; this puts them back where they stand.

class QWidget;

namespace fabulor {

// Moves `late` in the focus order to just after the last focusable widget
// before `place`, so the tab key reaches it where it reaches `place`.
void PutInFocusOrderAt(QWidget* place, QWidget* late);

} // namespace fabulor
