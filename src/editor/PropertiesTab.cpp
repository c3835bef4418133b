// The "Właściwości" tab: colours, fonts, borders and flatness of the
// components that have an appearance of their own.

#include "editor/SettingsWindow.h"

#include "preview/PreviewWindow.h"
#include "widgets/ListView.h"
#include "widgets/Memo.h"

#include <QCheckBox>
#include <QTabWidget>

namespace fabulor {

void TFBox::buildPropertiesTab()
{
    PageControl1 = new QTabWidget(Prop);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setTabPosition(QTabWidget::West);
    const auto addSheet = [this](const char* name, const QString& caption) {
        auto* sheet = new QWidget;
        sheet->setObjectName(QString::fromLatin1(name));
        PageControl1->addTab(sheet, caption);
        return sheet;
    };
    TabSheet1 = addSheet("TabSheet1", QStringLiteral("Opis"));
    TabSheet2 = addSheet("TabSheet2", QStringLiteral("PageControl"));
    TabSheet3 = addSheet("TabSheet3", QStringLiteral("Przedmioty"));
    TabSheet4 = addSheet("TabSheet4", QStringLiteral("Rysunek"));
    TabSheet5 = addSheet("TabSheet5", QStringLiteral("Label \"Droga nr [x]\""));
    TabSheet6 = addSheet("TabSheet6", QStringLiteral("Komunikat"));
    PageControl1->setCurrentWidget(TabSheet6);

    O_Flat = new QCheckBox(QStringLiteral("Płaski"), TabSheet1);
    O_Flat->setObjectName(QStringLiteral("O_Flat"));
    O_Flat->setGeometry(32, 48, 49, 17);
    connect(O_Flat, &QCheckBox::toggled, this, &TFBox::O_FlatClick);

    B_flat = new QCheckBox(QStringLiteral("Płaski"), TabSheet3);
    B_flat->setObjectName(QStringLiteral("B_flat"));
    B_flat->setGeometry(32, 40, 49, 17);
    connect(B_flat, &QCheckBox::toggled, this, &TFBox::B_flatClick);
}

void TFBox::O_FlatClick()
{
    F.Op1->setBorderStyle(O_Flat->isChecked() ? BorderStyle::None : BorderStyle::Single);
}

void TFBox::B_flatClick()
{
    F.LB->setBorderStyle(B_flat->isChecked() ? BorderStyle::None : BorderStyle::Single);
}

} // namespace fabulor
