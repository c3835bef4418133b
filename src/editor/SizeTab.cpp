// The "Rozmiar" tab: the window's width and height while it has no shape.

#include "editor/SettingsWindow.h"

#include "editor/Steps.h"
#include "preview/PreviewWindow.h"
#include "widgets/Accessibility.h"
#include "widgets/Make.h"
#include "widgets/SpinEdit.h"
#include "widgets/WindowGeometry.h"

#include <QLabel>
#include <QTabWidget>

namespace fabulor {

void TFBox::buildSizeTab()
{
    Label9 = new QLabel(
        QStringLiteral("Te wartości są ignorowane jeżeli\nw zakładce Skóra ustawiony jest plik graficzny"),
        Rozm);
    Label9->setObjectName(QStringLiteral("Label9"));
    Label9->move(8, 8);
    Label9->adjustSize();
    Label10 = new QLabel(QStringLiteral("Szerokość:"), Rozm);
    Label10->move(8, 52);
    Label10->adjustSize();
    Label11 = new QLabel(QStringLiteral("Wysokość:"), Rozm);
    Label11->move(8, 84);
    Label11->adjustSize();

    const auto sideEdit = [this](const char* name, int top, KeyRole side) {
        auto* edit = Make<SpinEdit>(Rozm, name, {72, top, 65, 21});
        edit->setIncrement(5);
        const SkinKey& key = WindowKey(side);
        edit->setLimits(key.minimum, key.maximum);
        edit->setValue(0);
        return edit;
    };
    FW = sideEdit("FW", 48, KeyRole::Width);
    FH = sideEdit("FH", 80, KeyRole::Height);
    CaptionWithLabel(Label10, FW);
    CaptionWithLabel(Label11, FH);
    const auto sizeStep = [](SpinEdit* edit) {
        return [edit] { return StepSpec{QStringLiteral("rozmiar okna"), StepParts::windowSize(edit), edit}; };
    };
    ConnectStep(this, *m_history, FW, &SpinEdit::changed, sizeStep(FW), &TFBox::FWChange);
    ConnectStep(this, *m_history, FH, &SpinEdit::changed, sizeStep(FH), &TFBox::FHChange);
    connect(PCTRL, &QTabWidget::currentChanged, this, [this] {
        if (PCTRL->currentWidget() == Rozm) RozmShow();
    });
}

void TFBox::RozmShow()
{
    FW->setValue(outerSize(&F).width());
    FH->setValue(outerSize(&F).height());
}

void TFBox::FWChange()
{
    setOuterWidth(&F, FW->value());
}

void TFBox::FHChange()
{
    setOuterHeight(&F, FH->value());
}

} // namespace fabulor
