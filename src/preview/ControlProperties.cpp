#include "preview/ControlProperties.h"

#include "widgets/ListView.h"
#include "widgets/Memo.h"
#include "widgets/PageControl.h"
#include "widgets/Panel.h"
#include "widgets/StaticText.h"

namespace fabulor {

Colour ControlColour(const QWidget* control)
{
    if (const auto* panel = dynamic_cast<const Panel*>(control)) return panel->colour();
    if (const auto* pages = dynamic_cast<const PageControl*>(control)) return pages->colour();
    if (const auto* memo = dynamic_cast<const Memo*>(control)) return memo->colour();
    if (const auto* list = dynamic_cast<const ListView*>(control)) return list->colour();
    return 0;
}

void SetControlColour(QWidget* control, Colour colour)
{
    if (auto* panel = dynamic_cast<Panel*>(control)) panel->setColour(colour);
    if (auto* pages = dynamic_cast<PageControl*>(control)) pages->setColour(colour);
    if (auto* memo = dynamic_cast<Memo*>(control)) memo->setColour(colour);
    if (auto* list = dynamic_cast<ListView*>(control)) list->setColour(colour);
}

Colour ControlFontColour(const QWidget* control)
{
    if (const auto* text = dynamic_cast<const StaticText*>(control)) return text->fontColour();
    if (const auto* memo = dynamic_cast<const Memo*>(control)) return memo->fontColour();
    if (const auto* list = dynamic_cast<const ListView*>(control)) return list->fontColour();
    return 0;
}

void SetControlFontColour(QWidget* control, Colour colour)
{
    if (auto* text = dynamic_cast<StaticText*>(control)) text->setFontColour(colour);
    if (auto* memo = dynamic_cast<Memo*>(control)) memo->setFontColour(colour);
    if (auto* list = dynamic_cast<ListView*>(control)) list->setFontColour(colour);
}

int ControlBorder(const QWidget* control)
{
    if (const auto* panel = dynamic_cast<const Panel*>(control)) return panel->borderWidth();
    if (const auto* pages = dynamic_cast<const PageControl*>(control)) return pages->clientBorderWidth();
    return 0;
}

void SetControlBorder(QWidget* control, int width)
{
    if (auto* panel = dynamic_cast<Panel*>(control)) panel->setBorderWidth(width);
    if (auto* pages = dynamic_cast<PageControl*>(control)) pages->setClientBorderWidth(width);
}

bool ControlFlat(const QWidget* control)
{
    if (const auto* memo = dynamic_cast<const Memo*>(control)) return memo->frameShape() == QFrame::NoFrame;
    if (const auto* list = dynamic_cast<const ListView*>(control))
        return list->frameShape() == QFrame::NoFrame;
    return false;
}

void SetControlFlat(QWidget* control, bool flat)
{
    const BorderStyle style = flat ? BorderStyle::None : BorderStyle::Single;
    if (auto* memo = dynamic_cast<Memo*>(control)) memo->setBorderStyle(style);
    if (auto* list = dynamic_cast<ListView*>(control)) list->setBorderStyle(style);
}

} // namespace fabulor
