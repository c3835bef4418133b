// The "Komponenty" tab: the chooser and its catalogue, selecting an entry,
// the band visibility per entry, fetching and adjusting geometry, and the
// page navigation of the page control.

#include "editor/Catalogue.h"
#include "preview/PreviewWindow.h"
#include "preview/SelectionFrame.h"
#include "support/TestProgram.h"
#include "widgets/BandPanel.h"
#include "widgets/FileNameEdit.h"
#include "widgets/ListView.h"
#include "widgets/Memo.h"
#include "widgets/PageControl.h"
#include "widgets/Panel.h"
#include "widgets/PictureBox.h"
#include "widgets/SpinEdit.h"
#include "widgets/StaticText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using namespace fabulor;

namespace {

// An expanded band is taller than its header: its controls show below it.
bool isOpen(const Band* band)
{
    return band->height() > Band::HeaderHeight;
}

// What the user does when picking an entry in the chooser.
void choose(TFBox& FBox, int index)
{
    FBox.componentChooser()->setCurrentIndex(index);
    emit FBox.componentChooser()->activated(index);
}

void typeInto(SpinEdit* edit, const QString& text)
{
    edit->lineEdit()->selectAll();
    QTest::keyClick(edit->lineEdit(), Qt::Key_Delete);
    QTest::keyClicks(edit->lineEdit(), text);
}

// The widgets the tab key visits in `window`, in order.
QList<QWidget*> TabStops(QWidget& window)
{
    QList<QWidget*> stops;
    QWidget* widget = &window;
    do {
        if (widget->isVisible() && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus))
            stops << widget;
        widget = widget->nextInFocusChain();
    } while (widget != &window);
    return stops;
}

} // namespace

class ComponentsTest : public QObject {
    Q_OBJECT
private slots:
    void tabKeyGoesDownEachTabInOrder()
    {
        testing::TestProgram p;
        TFBox& FBox = p.FBox();
        // Parts and the chooser are made as their tab first shows, after
        // everything else, yet the tab key reaches them where they stand.
        FBox.PCTRL->setCurrentWidget(FBox.Rozm);
        QList<QWidget*> stops = TabStops(FBox);
        QCOMPARE(stops.indexOf(FBox.FH->lineEdit()), stops.indexOf(FBox.FW->lineEdit()) + 1);
        FBox.PCTRL->setCurrentWidget(FBox.Comps);
        stops = TabStops(FBox);
        QList<QWidget*> onTab;
        for (QWidget* stop : stops)
            if (FBox.Comps->isAncestorOf(stop)) onTab << stop;
        QCOMPARE(onTab.first(), static_cast<QWidget*>(FBox.CB));
        QCOMPARE(stops.mid(stops.indexOf(onTab.first()), onTab.size()), onTab); // one run
        QVERIFY(onTab.indexOf(FBox.MP1->lineEdit()) < onTab.indexOf(FBox.MP2->lineEdit()));
        QCOMPARE(onTab.last(), static_cast<QWidget*>(FBox.hover().HoverCheck));
    }

    void tabAsCreated()
    {
        testing::TestProgram p;
        TFBox& FBox = p.FBox();
        // The chooser is made when the tab first shows; a choice made before
        // is what it shows then.
        QVERIFY(!FBox.CB);
        QSignalSpy chosen(&FBox, &TFBox::currentComponentChanged);
        FBox.setCurrentComponent(5);
        QCOMPARE(chosen.count(), 1);
        FBox.PCTRL->setCurrentWidget(FBox.Comps);
        QVERIFY(FBox.CB && FBox.CB->isVisible());
        QCOMPARE(FBox.CB->currentIndex(), 5);
        FBox.setCurrentComponent(0);
        QCOMPARE(chosen.count(), 2);
        FBox.PCTRL->setCurrentWidget(FBox.Plik);
        QCOMPARE(FBox.componentChooser()->parentWidget(), FBox.Comps);
        QVERIFY(!FBox.componentChooser()->isEditable());
        QCOMPARE(FBox.componentChooser()->geometry(), QRect(8, 8, 249, 21));
        QCOMPARE(FBox.BandPanel1->geometry(), QRect(8, 40, 250, 201));
        const QStringList texts{"Page Control - Syt., Kier., Inw., Koniec",
                                "Opis sytuacji",
                                "Rysunek",
                                "Przycisk [Zamknij]",
                                "Przycisk [Minimalizuj]",
                                "Przycisk [Menu]",
                                "Przycisk [1]",
                                "Przycisk [2]",
                                "Przycisk [3]",
                                "Przycisk [4]",
                                "Przycisk [Góra]",
                                "Przycisk [Dół]",
                                "Przycisk [Lewo]",
                                "Przycisk [Prawo]",
                                "Przycisk [Koniec]",
                                "Przycisk [OK]",
                                "Rysunek [Uwaga]",
                                "Obszar przenoszenia",
                                "Etykieta [1]",
                                "Etykieta [2]",
                                "Etykieta [3]",
                                "Etykieta [4]",
                                "Etykieta [Komunikaty]",
                                "Lista przedmiotów"};
        QStringList items;
        for (int i = 0; i < FBox.componentChooser()->count(); ++i)
            items << FBox.componentChooser()->itemText(i);
        QCOMPARE(items, texts);

        // Chooser at the first entry with nothing selected: the tab stays
        // "Plik" and the preview marks nothing.
        QCOMPARE(FBox.currentComponent(), 0);
        QCOMPARE(FBox.PCTRL->currentWidget(), FBox.Plik);
        QVERIFY(p.F().Selection->isHidden());

        // All bands shown, only "Rysunek" expanded, the spin edits at 0.
        QStringList captions;
        for (Band* band : FBox.BandPanel1->bands()) {
            captions << band->caption();
            QVERIFY(!band->isHidden());
            QCOMPARE(isOpen(band), band == FBox.Rysunek);
        }
        QCOMPARE(captions, (QStringList{"Rozmiar", "Położenie", "Nawigacja", "Rysunek"}));
        for (SpinEdit* edit : {FBox.Szer, FBox.Wys, FBox.Top, FBox.Left}) {
            QCOMPARE(edit->text(), QStringLiteral("0"));
        }
        QCOMPARE(FBox.Top->geometry(), QRect(66, 32, 57, 21));
        QCOMPARE(FBox.Left->mapTo(FBox.Miejsce, QPoint(0, 0)), QPoint(162, 32));
        QCOMPARE(FBox.BitBtn1->geometry(), QRect(88, 24, 25, 25));
        QCOMPARE(FBox.BitBtn2->geometry(), QRect(120, 24, 25, 25));
        QVERIFY(FBox.BitBtn1->text().isEmpty());
        QVERIFY(!FBox.BitBtn1->icon().isNull());
        QCOMPARE(FBox.MP1->geometry(), QRect(80, 29, 113, 21));
        QCOMPARE(FBox.MP2->geometry(), QRect(80, 53, 113, 21));
        QCOMPARE(FBox.Label7->text(), QStringLiteral("MouseOut"));
        QCOMPARE(FBox.Label8->text(), QStringLiteral("Mouse Over"));
        // Nothing moved on start-up.
        QCOMPARE(p.F().PC1->geometry(), QRect(24, 144, 209, 153));

        // The four edits step by five and have no limits (this resizes and
        // moves the page control, so it comes last).
        for (SpinEdit* edit : {FBox.Szer, FBox.Wys, FBox.Top, FBox.Left}) {
            QTest::keyClick(edit->lineEdit(), Qt::Key_Down);
            QCOMPARE(edit->value(), -5);
            edit->setValue(-100000);
            QCOMPARE(edit->value(), -100000);
        }
    }

    void pictureEditsUseThePictureDialog()
    {
        testing::TestProgram p;
        TFBox& FBox = p.FBox();
        testing::ScriptedDialogs& dialogs = *p.dialogs;
        FBox.MP2->browse();
        QCOMPARE(dialogs.fileDialogs.size(), 1);
        const FileDialogOptions& options = dialogs.fileDialogs.first();
        QCOMPARE(options.kind, FileDialogOptions::Kind::OpenPicture);
        QCOMPARE(options.defaultExtension, QStringLiteral("bmp"));
        QVERIFY(options.fileMustExist);
        QCOMPARE(options.filters.size(), 5);
        QCOMPARE(options.filters[0].patterns,
                 QStringLiteral("*.gif;*.pcx;*.ani;*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf"));
        QCOMPARE(options.filters[3].description, QStringLiteral("ANI Image (*.ani)"));
        QCOMPARE(options.filters[4].description, QStringLiteral("CompuServe GIF Image (*.gif)"));
    }

    // The schema names each component's control; the control table binds
    // the same one, its sections follow the catalogue, and each button's
    // picture lies on its control.
    void schemaAndControlTableAgree()
    {
        testing::TestProgram program;
        const auto sections = SkinSections();
        QCOMPARE(sections.size(), std::size_t(CatalogueSize) + 1);
        QCOMPARE(QString::fromLatin1(sections[0].name.data()), QStringLiteral("Skin"));
        for (int index = 0; index < CatalogueSize; ++index) {
            const CatalogueEntry& entry = Catalogue()[std::size_t(index)];
            QCOMPARE(entry.section, sections[std::size_t(index) + 1].name);
            QCOMPARE(ComponentIndex(entry.section), index);
            QWidget* control = entry.moved(program.F());
            QCOMPARE(control->objectName().toStdString(), std::string(entry.schema->control));
            if (PictureBox* image = entry.image(program.F())) {
                QCOMPARE(image->parentWidget(), control);
                QVERIFY(entry.schema->has(PicturesGroup));
                QVERIFY(!entry.schema->builtInPicture.empty());
            } else {
                QVERIFY(!entry.schema->has(PicturesGroup));
            }
            // The start geometry is the empty skin's.
            QCOMPARE(control->pos(),
                     QPoint(DefaultNumber(entry.section, "L"), DefaultNumber(entry.section, "T")));
            // Every key says what it holds, and the bands and sheet the
            // entry offers are those its keys call for.
            const SkinSection& section = ComponentSection(index);
            bool styled = false;
            for (const SkinKey& key : section.keys) {
                QVERIFY2(key.role != KeyRole::Other, std::string(key.name).c_str());
                styled = styled || key.isAppearance();
            }
            const auto has = [&section](KeyRole role) { return section.key(role) != nullptr; };
            QCOMPARE(has(KeyRole::Width) && has(KeyRole::Height), entry.schema->has(SizeGroup));
            QCOMPARE(has(KeyRole::Width) || has(KeyRole::Height), entry.schema->has(SizeGroup));
            QCOMPARE(has(KeyRole::Top) && has(KeyRole::Left), entry.schema->has(PlaceGroup));
            QCOMPARE(has(KeyRole::MouseOut), entry.schema->has(PicturesGroup));
            // The warning sign's section knows a mouse-over picture that
            // other programs write; nothing here shows it.
            QVERIFY(has(KeyRole::MouseOver) || !entry.schema->has(MouseOverGroup));
            QCOMPARE(styled, entry.schema->appearance != AppearanceSheet::None);
        }
    }

    void settingTheChooserFromCodeSelectsNothing()
    {
        testing::TestProgram p;
        TFBox& FBox = p.FBox();
        FBox.componentChooser()->setCurrentIndex(5);
        QCOMPARE(FBox.PCTRL->currentWidget(), FBox.Plik);
        QVERIFY(!FBox.Rozmiar->isHidden());
    }

    void selectingFromCodeMovesAMadeChooser()
    {
        testing::TestProgram p;
        TFBox& FBox = p.FBox();
        QComboBox* chooser = FBox.componentChooser();
        QSignalSpy changed(&FBox, &TFBox::currentComponentChanged);
        // A press on the preview selects without the chooser: it must follow.
        FBox.SelectComponent(3);
        QCOMPARE(chooser->currentIndex(), 3);
        QCOMPARE(FBox.currentComponent(), 3);
        QCOMPARE(changed.count(), 1);
        FBox.SelectComponent(3);
        QCOMPARE(changed.count(), 1);
        choose(FBox, 0);
        QCOMPARE(FBox.currentComponent(), 0);
        QCOMPARE(changed.count(), 2);
    }

    void selectionShowsTheBandsOfTheEntry_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < CatalogueSize; ++i)
            QTest::addRow("%d", i) << i;
    }
    void selectionShowsTheBandsOfTheEntry()
    {
        QFETCH(int, index);
        testing::TestProgram p;
        TFBox& FBox = p.FBox();
        TF& F = p.F();
        // Start from the warning picture, which hides the mouse-over edit.
        choose(FBox, 16);
        QVERIFY(FBox.MP2->isHidden());
        FBox.PCTRL->setCurrentWidget(FBox.Plik);

        choose(FBox, index);
        QCOMPARE(FBox.PCTRL->currentWidget(), FBox.Comps);
        QCOMPARE(FBox.currentComponent(), index);
        const bool sized = index <= 2 || index == 17 || index == 23;
        QCOMPARE(!FBox.Rozmiar->isHidden(), sized);
        QVERIFY(!FBox.Miejsce->isHidden());
        QCOMPARE(!FBox.Nawigacja->isHidden(), index == 0);
        QCOMPARE(!FBox.Rysunek->isHidden(), index >= 3 && index <= 16);
        QCOMPARE(FBox.MP2->isHidden(), index == 16);
        QVERIFY(!FBox.MP1->isHidden());
        QCOMPARE(F.Selection->target(), Catalogue()[std::size_t(index)].moved(F));
    }

    void indexesOutsideTheCatalogueOnlyShowTheTab()
    {
        testing::TestProgram p;
        TFBox& FBox = p.FBox();
        choose(FBox, 16);
        FBox.PCTRL->setCurrentWidget(FBox.Plik);
        for (int index : {-1, 24, 1000}) {
            FBox.SelectComponent(index);
            QCOMPARE(FBox.PCTRL->currentWidget(), FBox.Comps);
            QCOMPARE(FBox.currentComponent(), 16);
            QVERIFY(!FBox.MP2->isHidden()); // shown before the index is checked
            QVERIFY(!FBox.Rysunek->isHidden());
            QVERIFY(FBox.Rozmiar->isHidden());
        }
    }

    void fetchesMeasureTheCatalogueControls_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("left");
        QTest::newRow("below the catalogue") << -1 << 5 << 5 << 5 << 5;
        QTest::newRow("above the catalogue") << 24 << 5 << 5 << 5 << 5;
        QTest::newRow("close button has no size") << 3 << 5 << 5 << 16 << 464;
        QTest::newRow("path label has no size") << 18 << 5 << 5 << 12 << 42;
        QTest::newRow("move strip") << 17 << 361 << 25 << 16 << 24;
        QTest::newRow("picture area") << 2 << 241 << 249 << 48 << 248;
        QTest::newRow("page control") << 0 << 209 << 153 << 144 << 24;
    }
    void fetchesMeasureTheCatalogueControls()
    {
        QFETCH(int, index);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, top);
        QFETCH(int, left);
        testing::TestProgram p;
        const TFBox& FBox = p.FBox();
        QCOMPARE(FBox.ComponentWidth(index), width);
        QCOMPARE(FBox.ComponentHeight(index), height);
        QCOMPARE(FBox.ComponentTop(index), top);
        QCOMPARE(FBox.ComponentLeft(index), left);
    }

    void expandingFetchesAndNeverMoves()
    {
        testing::TestProgram p;
        TFBox& FBox = p.FBox();
        TF& F = p.F();
        choose(FBox, 18);
        FBox.Miejsce->setExpanded(true);
        QCOMPARE(FBox.Top->value(), 12);
        QCOMPARE(FBox.Left->value(), 42);
        QCOMPARE(F.L1->pos(), QPoint(42, 12));

        choose(FBox, 17);
        FBox.Rozmiar->setExpanded(true);
        QVERIFY(!isOpen(FBox.Miejsce));
        QCOMPARE(FBox.Szer->value(), 361);
        QCOMPARE(FBox.Wys->value(), 25);
        QCOMPARE(F.PMove->geometry(), QRect(24, 16, 361, 25));

        // "G" fetches again after a change made elsewhere.
        F.PMove->resize(300, 40);
        QTest::mouseClick(FBox.Button3, Qt::LeftButton);
        QCOMPARE(FBox.Szer->value(), 300);
        QCOMPARE(FBox.Wys->value(), 40);
        QCOMPARE(F.PMove->size(), QSize(300, 40));
    }

    void adjustingWritesThePreviewAtOnce()
    {
        testing::TestProgram p;
        TFBox& FBox = p.FBox();
        TF& F = p.F();
        choose(FBox, 5);
        typeInto(FBox.Top, QStringLiteral("-20"));
        QCOMPARE(F.PMenu->pos(), QPoint(396, -20));

        typeInto(FBox.Left, QString());
        QCOMPARE(F.PMenu->pos(), QPoint(0, -20));
        QTest::mouseClick(FBox.Left->upButton(), Qt::LeftButton);
        QCOMPARE(F.PMenu->pos(), QPoint(5, -20));

        // A size typed for an entry without one changes nothing.
        const QSize before = F.PMenu->size();
        typeInto(FBox.Szer, QStringLiteral("100"));
        QCOMPARE(F.PMenu->size(), before);

        choose(FBox, 23);
        QTest::mouseClick(FBox.Wys->upButton(), Qt::LeftButton);
        QCOMPARE(F.LB->size(), QSize(97, 5));
        // The document is untouched by editing: only a capture fills it.
        std::vector<std::string> lines;
        p.builder->document()->getStrings(lines);
        QVERIFY(lines.empty());
    }

    void adjustingAfterSwitchingAppliesTheShownValueToTheNewEntry()
    {
        testing::TestProgram p;
        TFBox& FBox = p.FBox();
        TF& F = p.F();
        choose(FBox, 17);
        FBox.Rozmiar->setExpanded(true); // 361 x 25 fetched
        choose(FBox, 23);
        QVERIFY(isOpen(FBox.Rozmiar)); // still open: no new fetch
        QTest::mouseClick(FBox.Szer->upButton(), Qt::LeftButton);
        QCOMPARE(F.LB->width(), 366);
        QCOMPARE(F.LB->height(), 249); // the other spin edit is not applied
        QCOMPARE(F.PMove->size(), QSize(361, 25));
    }

    void positionsFarOutsideTheWindowAreTaken()
    {
        testing::TestProgram p;
        TFBox& FBox = p.FBox();
        TF& F = p.F();
        choose(FBox, 3);
        typeInto(FBox.Left, QStringLiteral("100000"));
        QCOMPARE(F.PClose->x(), 100000);
        QCOMPARE(FBox.ComponentLeft(3), 100000);
        // A value whose edge would overflow is held at a distance no screen reaches.
        typeInto(FBox.Top, QStringLiteral("2147483647"));
        QCOMPARE(F.PClose->y(), QWIDGETSIZE_MAX);
        QVERIFY(F.PClose->geometry().bottom() > F.PClose->y());
    }

    void pageNavigationStopsAtBothEnds()
    {
        testing::TestProgram p;
        TFBox& FBox = p.FBox();
        TF& F = p.F();
        choose(FBox, 0);
        FBox.BitBtn1->click();
        QCOMPARE(F.PC1->activePageIndex(), 0);
        const QWidget* pages[] = {F.Sytuacje, F.Kierunki, F.Koniec, F.Przedm};
        for (int i = 1; i <= 3; ++i) {
            FBox.BitBtn2->click();
            QCOMPARE(F.PC1->activePageIndex(), i);
            QVERIFY(pages[i]->isVisible());
        }
        FBox.BitBtn2->click();
        QCOMPARE(F.PC1->page(F.PC1->activePageIndex()), F.Przedm);
        FBox.BitBtn1->click();
        QCOMPARE(F.PC1->page(F.PC1->activePageIndex()), F.Koniec);

        // Only for the page control.
        choose(FBox, 1);
        FBox.BitBtn1->click();
        QCOMPARE(F.PC1->page(F.PC1->activePageIndex()), F.Koniec);
        FBox.BitBtn2->click();
        QCOMPARE(F.PC1->page(F.PC1->activePageIndex()), F.Koniec);
    }

    void selectionFrameFollowsItsComponent()
    {
        testing::TestProgram p;
        TFBox& FBox = p.FBox();
        TF& F = p.F();
        SelectionFrame* frame = F.Selection;
        const int m = SelectionFrame::Margin;

        choose(FBox, 22);
        QVERIFY(frame->isVisible());
        QCOMPARE(frame->geometry(), F.LM->geometry().adjusted(-m, -m, m, m));
        typeInto(FBox.Left, QStringLiteral("100"));
        QCOMPARE(frame->geometry(), F.LM->geometry().adjusted(-m, -m, m, m));

        // A component on another page is not marked until its page shows.
        choose(FBox, 10);
        QVERIFY(!frame->isVisible());
        F.PC1->setActivePageIndex(1);
        QVERIFY(frame->isVisible());
        const QRect onWindow(F.PG->mapTo(&F, QPoint(0, 0)), F.PG->size());
        QCOMPARE(frame->geometry(), onWindow.adjusted(-m, -m, m, m));
        // Moving the page control carries the mark with the button.
        F.PC1->move(F.PC1->pos() + QPoint(10, 7));
        QCOMPARE(frame->geometry(), onWindow.adjusted(-m, -m, m, m).translated(10, 7));
        F.PC1->setActivePageIndex(0);
        QVERIFY(!frame->isVisible());

        // The mark follows a resize too, and never takes presses.
        choose(FBox, 0);
        FBox.Rozmiar->setExpanded(true);
        QTest::mouseClick(FBox.Szer->upButton(), Qt::LeftButton);
        QCOMPARE(frame->geometry(), F.PC1->geometry().adjusted(-m, -m, m, m));
        QVERIFY(frame->testAttribute(Qt::WA_TransparentForMouseEvents));
    }
};

FSB_PROGRAM_TEST_MAIN(ComponentsTest)

#include "test_components.moc"
