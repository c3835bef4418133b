#pragma once
// The description box: a multi-line text box with a skin frame and colours.

#include "widgets/SkinBox.h"

#include <QPlainTextEdit>

namespace fabulor {

// No signals or slots of its own, hence no Q_OBJECT.
class Memo : public SkinBox<QPlainTextEdit> {
public:
    using SkinBox::SkinBox;
};

} // namespace fabulor
