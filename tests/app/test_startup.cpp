// Start-up and window lifetime: both windows as the user first sees them,
// and closing either one, with nothing unsaved, ending the program without
// a prompt.

#include "preview/PreviewWindow.h"
#include "support/ComparePictures.h"
#include "support/TestProgram.h"
#include "widgets/ListView.h"
#include "widgets/Memo.h"
#include "widgets/PageControl.h"
#include "widgets/Panel.h"
#include "widgets/StaticText.h"

#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QWindow>

using namespace fabulor;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void titleAndBothWindowsAreShown()
    {
        testing::TestProgram p;
        QCOMPARE(QApplication::applicationName(), QStringLiteral("Fabulor Skin Builder"));

        TF& F = p.F();
        QCOMPARE(F.windowTitle(), QStringLiteral("Fabulor Reader"));
        QCOMPARE(F.pos(), QPoint(191, 206));
        QVERIFY(F.isVisible());

        TFBox& FBox = p.FBox();
        QVERIFY(FBox.isVisible()); // shown by the preview window's show handler
        // As the window system shows it: the mark of unsaved changes is off.
        QCOMPARE(FBox.windowHandle()->title(), QStringLiteral("Ustawienia"));
        QCOMPARE(FBox.pos(), QPoint(384, 158));
        QCOMPARE(FBox.frameGeometry().size(), QSize(282, 301));
        QVERIFY(FBox.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(FBox.windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!(FBox.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(FBox.windowFlags() & Qt::WindowMaximizeButtonHint));

        QStringList tabs;
        for (int i = 0; i < FBox.PCTRL->count(); ++i)
            tabs << FBox.PCTRL->tabText(i);
        QCOMPARE(tabs, (QStringList{"Plik", "Skóra", "Rozmiar", "Komponenty", "Właściwości"}));
        QCOMPARE(FBox.PCTRL->currentWidget(), FBox.Plik);
        // All five side by side in the narrow window.
        const QTabBar* bar = FBox.PCTRL->tabBar();
        QVERIFY2(bar->tabRect(bar->count() - 1).right() < FBox.PCTRL->width(),
                 qPrintable(QString::number(bar->tabRect(bar->count() - 1).right())));

        QVERIFY(p.builder->document().has_value());
        QVERIFY(p.dialogs->errors.isEmpty());
    }

    void previewControlsHaveTheirPlacesAndContent()
    {
        testing::TestProgram p;
        TF& F = p.F();

        QCOMPARE(F.PC1->geometry(), QRect(24, 144, 209, 153));
        QCOMPARE(F.PC1->pageCount(), 4);
        QCOMPARE(F.PC1->activePageIndex(), 0);
        QCOMPARE(F.PC1->colour(), Colour(0x00DFDFDF));
        QCOMPARE(F.P3->parentWidget(), F.Sytuacje);
        QCOMPARE(F.P3->pos(), QPoint(8, 65));
        QCOMPARE(F.PG->parentWidget(), F.Kierunki);
        QCOMPARE(F.PG->pos(), QPoint(85, 40));
        QCOMPARE(F.PEnd->parentWidget(), F.Koniec);
        QCOMPARE(F.PItem->parentWidget(), F.Przedm);
        QCOMPARE(F.L4->parentWidget(), F.Sytuacje);
        QCOMPARE(F.L4->pos(), QPoint(42, 102));
        QCOMPARE(F.L4->text(), QStringLiteral("Droga nr 4"));

        QCOMPARE(F.PRys->geometry(), QRect(248, 48, 241, 249));
        QCOMPARE(F.PRys->borderWidth(), 4);
        QCOMPARE(F.Rys->geometry(), QRect(4, 4, 233, 241));
        QCOMPARE(F.Rys->caption(), QStringLiteral("Rysunek"));
        QCOMPARE(F.PClose->pos(), QPoint(464, 16));
        QCOMPARE(F.PMini->pos(), QPoint(430, 16));
        QCOMPARE(F.PMenu->pos(), QPoint(396, 16));
        QCOMPARE(F.PUwaga->pos(), QPoint(25, 305));
        QVERIFY(F.PUwaga->font().bold());
        QCOMPARE(F.PMove->geometry(), QRect(24, 16, 361, 25));
        QCOMPARE(F.PMove->colour(), Colour(0x00FFFBF0));
        QCOMPARE(F.LM->pos(), QPoint(64, 312));
        QCOMPARE(F.LM->text(), QStringLiteral("Tu pojawiają się komunikaty"));
        QCOMPARE(F.LB->pos(), QPoint(504, 48));
        QCOMPARE(F.Op1->toPlainText(), QStringLiteral("Tu znajduje się opis"));

        QStringList items;
        for (int i = 0; i < F.LB->count(); ++i) {
            items << F.LB->item(i)->text();
            QVERIFY2(!F.LB->item(i)->icon().pixmap(32, 32).isNull(), qPrintable(items.last()));
        }
        // Drawn from the item's own picture. The icon holds it premultiplied,
        // rounded as this processor's routine rounds: a step either way.
        const QImage gum(QStringLiteral(":/items/0.png"));
        FSB_COMPARE_PICTURES(F.LB->item(0)->icon().pixmap(32, 32).toImage(), gum, 1);
        QCOMPARE(items, (QStringList{"Guma do żucia", "Karta kredytowa", "Stara kanapka", "Frytki",
                                     "Mrożone żarcie", "Kawa", "Durex"}));
    }

    void closingTheSettingsWindowEndsTheProgram()
    {
        testing::TestProgram p;
        QSignalSpy closing(&p.F(), &TF::closing);
        p.FBox().close();
        QCOMPARE(closing.count(), 1);
        QVERIFY(!p.F().isVisible());
        QVERIFY(!p.FBox().isVisible());
        QVERIFY(!p.builder->document().has_value()); // released, nothing saved
        QVERIFY(p.dialogs->saveChangesQuestions.isEmpty());
    }

    void closingThePreviewWindowEndsTheProgram()
    {
        testing::TestProgram p;
        p.F().close();
        QVERIFY(!p.FBox().isVisible());
        QVERIFY(!p.builder->document().has_value());
        QVERIFY(p.dialogs->errors.isEmpty());
        QVERIFY(p.dialogs->saveChangesQuestions.isEmpty());
    }
};

FSB_PROGRAM_TEST_MAIN(StartupTest)

#include "test_startup.moc"
