// Both windows as a screen reader meets them through Qt's accessibility
// interfaces: every control says what it is for, not what it holds; the side
// tabs and band headers are tabs and expandable headers whose actions do what
// a click does; spin edits are spin boxes; and each component of the preview
// carries the chooser's name and an action that selects it.

#include "editor/Catalogue.h"
#include "preview/PreviewControls.h"
#include "preview/PreviewWindow.h"
#include "preview/SelectionFrame.h"
#include "support/TestProgram.h"
#include "widgets/BandPanel.h"
#include "widgets/ColourPicker.h"
#include "widgets/FileNameEdit.h"
#include "widgets/FontPicker.h"
#include "widgets/ListView.h"
#include "widgets/Memo.h"
#include "widgets/PageControl.h"
#include "widgets/Panel.h"
#include "widgets/PictureBox.h"
#include "widgets/SideTabWidget.h"
#include "widgets/SizePicker.h"
#include "widgets/SpinEdit.h"
#include "widgets/StaticText.h"
#include "widgets/WindowGeometry.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <limits>

using namespace fabulor;

namespace {

QAccessibleInterface* Iface(QObject* object)
{
    return QAccessible::queryAccessibleInterface(object);
}

QString Name(QObject* object)
{
    return Iface(object)->text(QAccessible::Name);
}

QString Describe(QAccessibleInterface* node)
{
    const QObject* object = node->object();
    return QStringLiteral("%1 \"%2\" (role 0x%3, value \"%4\")")
        .arg(object ? QString::fromLatin1(object->metaObject()->className()) + QLatin1Char(' ') +
                          object->objectName()
                    : QStringLiteral("entry"),
             node->text(QAccessible::Name), QString::number(int(node->role()), 16),
             node->text(QAccessible::Value));
}

// What a user operates, as opposed to what only shows or holds things.
bool IsControl(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::Button:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::SpinBox:
    case QAccessible::EditableText:
    case QAccessible::PageTab:
    case QAccessible::ButtonDropDown:
    case QAccessible::ButtonMenu:
    case QAccessible::Slider:
    case QAccessible::ScrollBar:
    case QAccessible::List:
        return true;
    default:
        return false;
    }
}

// Every node a reader reaches from a window by walking children, skipping
// pop-ups (other windows). Each child must name the node it was reached from
// as its parent: a reader walking up must come back the same way.
struct Walk {
    explicit Walk(QWidget* window) : m_window(window) { visit(Iface(window)); }

    QList<QAccessibleInterface*> nodes;
    QStringList strayChildren;

private:
    void visit(QAccessibleInterface* node)
    {
        if (!node || nodes.contains(node)) return;
        const auto* widget = qobject_cast<const QWidget*>(node->object());
        if (widget && widget->window() != m_window) return;
        nodes << node;
        for (int i = 0; i < node->childCount(); ++i) {
            QAccessibleInterface* child = node->child(i);
            if (!child) continue;
            if (child->parent() != node || node->indexOfChild(child) != i)
                strayChildren << Describe(child) + QStringLiteral(" under ") + Describe(node);
            visit(child);
        }
    }

    QWidget* m_window;
};

QStringList Objects(const QList<QAccessibleInterface*>& nodes)
{
    QStringList names;
    for (QAccessibleInterface* node : nodes)
        if (node->object()) names << node->object()->objectName();
    return names;
}

QString Chooser(int index)
{
    const std::string_view text = SkinComponents()[std::size_t(index)].chooserText;
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT
private slots:
    void everyControlSaysWhatItIsFor()
    {
        testing::TestProgram p;
        TFBox& FBox = p.FBox();
        FBox.ensurePropertiesTab();
        int controls = 0;
        QStringList faults;
        // Each tab in turn, so what shows only on it (a scroll bar) is met too.
        for (int tab = 0; tab < FBox.PCTRL->count(); ++tab) {
            FBox.PCTRL->setCurrentIndex(tab);
            QCoreApplication::processEvents(); // the layouts settle
            for (QWidget* window : {static_cast<QWidget*>(&FBox), static_cast<QWidget*>(&p.F())}) {
                const Walk walk(window);
                faults << walk.strayChildren;
                for (QAccessibleInterface* node : walk.nodes) {
                    if (!IsControl(node->role())) continue;
                    ++controls;
                    const QString name = node->text(QAccessible::Name);
                    const QString value = node->text(QAccessible::Value);
                    // Qt's lists report their name as their value too; a
                    // name given on purpose is no value shown.
                    const auto* widget = qobject_cast<const QWidget*>(node->object());
                    const bool named = widget && !widget->accessibleName().isEmpty();
                    if (name.trimmed().isEmpty() || (name == value && !named)) faults << Describe(node);
                }
            }
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        // Both windows, five times over: the walk did meet the controls. (An
        // edit on a page not shown yet has no parts to meet.)
        QVERIFY2(controls > 5 * 85, qPrintable(QString::number(controls)));
    }

    void controlsAreNamedAfterTheirCaptionLabels()
    {
        testing::TestProgram p;
        TFBox& FBox = p.FBox();
        FBox.ensurePropertiesTab();
        const QList<std::pair<SpinEdit*, QString>> spins{
            {FBox.FW, "Szerokość"}, {FBox.FH, "Wysokość"}, {FBox.Szer, "Szer"},
            {FBox.Wys, "Wys"},      {FBox.Top, "Top"},     {FBox.Left, "Left"},
        };
        for (const auto& [spin, caption] : spins) {
            QCOMPARE(Name(spin), caption);
            // Where the focus goes when the field is entered.
            QCOMPARE(Name(spin->lineEdit()), caption);
            QCOMPARE(Name(spin->upButton()), caption + ": zwiększ");
            QCOMPARE(Name(spin->downButton()), caption + ": zmniejsz");
        }
        const QList<std::pair<FileNameEdit*, QString>> files{
            {FBox.Maska, "Maska"}, {FBox.Skin, "Skóra"}, {FBox.MP1, "MouseOut"}, {FBox.MP2, "Mouse Over"}};
        for (const auto& [file, caption] : files) {
            QCOMPARE(Name(file->lineEdit()), caption);
            QCOMPARE(Name(file->browseButton()), caption + ": wybierz plik");
        }
        // The labels lead to their controls (their mnemonics, a reader's
        // relations) as well as naming them.
        for (QLabel* label : FBox.findChildren<QLabel*>()) {
            if (!label->buddy()) continue;
            QCOMPARE(Name(label->buddy()), label->text().remove(QLatin1Char(':')));
        }
        QCOMPARE(FBox.Label7->buddy(), static_cast<QWidget*>(FBox.MP1));
        QCOMPARE(FBox.Label10->buddy(), static_cast<QWidget*>(FBox.FW));

        // The chooser's list, made only as it first drops down, is named then.
        FBox.PCTRL->setCurrentWidget(FBox.Comps);
        FBox.componentChooser()->showPopup();
        QCOMPARE(FBox.componentChooser()->view()->accessibleName(), QStringLiteral("Komponent"));
        FBox.componentChooser()->hidePopup();

        QCOMPARE(Name(FBox.BitBtn1), QStringLiteral("Poprzednia strona"));
        QCOMPARE(Name(FBox.BitBtn2), QStringLiteral("Następna strona"));
        QCOMPARE(Name(FBox.BRefr), QStringLiteral("Odśwież rysunki"));
        QCOMPARE(Name(FBox.Button3), QStringLiteral("Pobierz rozmiar"));
    }

    void dropDownsAreNamedForTheirPurposeAndShowTheirEntry()
    {
        testing::TestProgram p;
        TFBox& FBox = p.FBox();
        FBox.ensurePropertiesTab();
        QAccessibleInterface* chooser = Iface(FBox.componentChooser());
        QCOMPARE(chooser->role(), QAccessible::ComboBox);
        QCOMPARE(chooser->text(QAccessible::Name), QStringLiteral("Komponent"));
        QCOMPARE(chooser->text(QAccessible::Value), Chooser(0));
        FBox.componentChooser()->setCurrentIndex(3);
        QCOMPARE(chooser->text(QAccessible::Value), QStringLiteral("Przycisk [Zamknij]"));
        QCOMPARE(chooser->text(QAccessible::Name), QStringLiteral("Komponent"));

        FBox.O_color->setValue(0x000000FFu); // clRed
        QCOMPARE(Name(FBox.O_color), QStringLiteral("Kolor tła"));
        QCOMPARE(Iface(FBox.O_color)->text(QAccessible::Value), QStringLiteral("Red"));
        QCOMPARE(Name(FBox.R_pcolor), QStringLiteral("Kolor ramki"));
        QCOMPARE(Name(FBox.K_font), QStringLiteral("Czcionka"));

        // An editable size box: its field, where the typing goes, is named too.
        QAccessibleInterface* size = Iface(FBox.K_fontsize);
        QCOMPARE(size->text(QAccessible::Name), QStringLiteral("Rozmiar czcionki"));
        QCOMPARE(size->childCount(), 2);
        QCOMPARE(size->child(1)->object(), FBox.K_fontsize->lineEdit());
        QCOMPARE(size->focusChild(), size->child(1));
        QCOMPARE(size->child(1)->text(QAccessible::Name), QStringLiteral("Rozmiar czcionki"));
        FBox.K_fontsize->setSize(14);
        QCOMPARE(size->text(QAccessible::Value), QStringLiteral("14"));
        QVERIFY(size->state().editable);

        // The action opens and closes the list, as Qt's own drop-downs do.
        FBox.PCTRL->setCurrentWidget(FBox.Comps);
        QVERIFY(chooser->state().collapsed);
        chooser->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
        QVERIFY(FBox.componentChooser()->view()->isVisible());
        QVERIFY(chooser->state().expanded);
        chooser->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
        QVERIFY(!FBox.componentChooser()->view()->isVisible());
    }

    // A drop-down named for its purpose still lets a reader learn the entry
    // it shows, by every way one asks: its value, its text, the list's
    // selected item and its description (a colour picker's is its tooltip).
    void dropDownsShowTheirEntryToReaders_data()
    {
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("caption");
        QTest::newRow("component chooser") << "CB"
                                           << "Komponent";
        QTest::newRow("description font") << "O_font"
                                          << "Czcionka";
        QTest::newRow("item list font") << "B_font"
                                        << "Czcionka";
        QTest::newRow("path label font") << "D_font"
                                         << "Czcionka";
        QTest::newRow("message font") << "K_font"
                                      << "Czcionka";
        QTest::newRow("a colour picker") << "O_color"
                                         << "Kolor tła";
    }
    void dropDownsShowTheirEntryToReaders()
    {
        QFETCH(QString, object);
        QFETCH(QString, caption);
        testing::TestProgram p;
        TFBox& FBox = p.FBox();
        FBox.ensurePropertiesTab();
        FBox.componentChooser();
        auto* combo = FBox.findChild<QComboBox*>(object);
        QVERIFY(combo);
        if (combo->count() < 3) QSKIP("fewer than three fonts are installed here");
        QAccessibleInterface* node = Iface(combo);
        // Twice: the list, made by the first reading, follows the entry too.
        for (const int entry : {1, 2}) {
            if (auto* colour = qobject_cast<ColourPicker*>(combo))
                colour->setValue(colour->itemData(entry, ColourPicker::ColourRole).value<quint32>());
            else
                combo->setCurrentIndex(entry);
            const QString shown = combo->itemText(entry);
            QCOMPARE(node->text(QAccessible::Name), caption);
            QCOMPARE(node->text(QAccessible::Value), shown);
            QVERIFY2(node->text(QAccessible::Description).contains(shown), qPrintable(Describe(node)));
            QAccessibleTextInterface* text = node->textInterface();
            QVERIFY(text);
            QCOMPARE(text->text(0, text->characterCount()), shown);
            QCOMPARE(text->text(0, -1), shown); // all of it, as readers ask
            QAccessibleInterface* list = node->child(0);
            QStringList selected;
            for (int row = 0; row < list->childCount(); ++row)
                if (list->child(row)->state().selected) selected << list->child(row)->text(QAccessible::Name);
            QCOMPARE(selected, QStringList{shown});
        }
        // A drop-down with a field of its own shows the entry there.
        QVERIFY(!Iface(FBox.K_fontsize)->textInterface());
    }

    void sideTabsAreTabsThatShowTheirPage()
    {
        testing::TestProgram p;
        TFBox& FBox = p.FBox();
        FBox.ensurePropertiesTab();
        SideTabWidget* sheets = FBox.PageControl1;
        const QStringList captions{
            "Opis", "PageControl", "Przedmioty", "Rysunek", "Label \"Droga nr [x]\"", "Komunikat"};
        QCOMPARE(sheets->count(), captions.size());
        // From the last sheet back, so each press changes the sheet.
        for (int index = sheets->count() - 1; index >= 0; --index) {
            QAccessibleInterface* tab = Iface(sheets->tabButton(index));
            QCOMPARE(tab->role(), QAccessible::PageTab);
            QCOMPARE(tab->text(QAccessible::Name), captions.at(index));
            QAccessibleActionInterface* actions = tab->actionInterface();
            QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
            QVERIFY(!actions->actionNames().contains(QAccessibleActionInterface::toggleAction()));
            actions->doAction(QAccessibleActionInterface::pressAction());
            QCOMPARE(sheets->currentIndex(), index);
            for (int other = 0; other < sheets->count(); ++other)
                QCOMPARE(Iface(sheets->tabButton(other))->state().selected, other == index);
        }
    }

    void bandHeadersUnfoldAndFoldTheirBand()
    {
        testing::TestProgram p;
        TFBox& FBox = p.FBox();
        FBox.ensurePropertiesTab();
        p.F().SelectComponent(0); // the page control
        for (Band* band : FBox.BandPanel1->bands()) {
            QAccessibleInterface* header = Iface(band->header());
            QCOMPARE(header->role(), QAccessible::Button);
            QCOMPARE(header->text(QAccessible::Name), band->caption());
            QVERIFY(header->state().expandable);
            QAccessibleActionInterface* actions = header->actionInterface();
            const QString press = QAccessibleActionInterface::pressAction();
            if (band->isExpanded()) actions->doAction(press);
            QVERIFY(!band->isExpanded());
            QVERIFY(header->state().collapsed && !header->state().expanded);
            QCOMPARE(actions->localizedActionName(press), QStringLiteral("Rozwiń"));

            actions->doAction(press);
            QVERIFY(band->isExpanded());
            QVERIFY(header->state().expanded && !header->state().collapsed);
            QCOMPARE(actions->localizedActionName(press), QStringLiteral("Zwiń"));
            for (Band* other : FBox.BandPanel1->bands())
                if (other != band) QVERIFY(!other->isExpanded());
        }
        // Unfolding "Rozmiar" fetched the size, as a click on its header does.
        QCOMPARE(FBox.Szer->value(), p.F().PC1->width());
        QVERIFY(FBox.Szer->value() > 0);
    }

    void spinEditsAreSpinBoxesThatStep()
    {
        testing::TestProgram p;
        TFBox& FBox = p.FBox();
        FBox.ensurePropertiesTab();
        QAccessibleInterface* width = Iface(FBox.FW);
        QCOMPARE(width->role(), QAccessible::SpinBox);
        QCOMPARE(width->text(QAccessible::Value), QStringLiteral("623"));
        QAccessibleValueInterface* value = width->valueInterface();
        QVERIFY(value);
        QCOMPARE(value->currentValue().toInt(), 623);
        QCOMPARE(value->minimumValue().toInt(), 0);
        QCOMPARE(value->maximumValue().toInt(), 5000);
        QCOMPARE(value->minimumStepSize().toInt(), 5);

        // Stepping is the arrows' step: the edit changes, and so does the window.
        width->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
        QCOMPARE(FBox.FW->value(), 628);
        QCOMPARE(outerSize(&p.F()).width(), 628);
        width->actionInterface()->doAction(QAccessibleActionInterface::decreaseAction());
        QCOMPARE(FBox.FW->value(), 623);
        value->setCurrentValue(9000);
        QCOMPARE(FBox.FW->value(), 5000);

        // A spin edit without limits offers the whole range.
        QCOMPARE(Iface(FBox.Left)->valueInterface()->minimumValue().toInt(), std::numeric_limits<int>::min());

        // A disabled spin edit offers no steps.
        FBox.Szer->setEnabled(false);
        QVERIFY(!Iface(FBox.Szer)->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::increaseAction()));
        Iface(FBox.Szer)->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
        QCOMPARE(FBox.Szer->value(), 0);
    }

    void previewComponentsCarryTheChoosersNamesAndSelect()
    {
        testing::TestProgram p;
        TF& F = p.F();
        TFBox& FBox = p.FBox();
        FBox.ensurePropertiesTab();
        using R = QAccessible::Role;
        const R roles[CatalogueSize] = {
            R::Pane,       R::StaticText, R::Graphic,    R::Button,     R::Button,     R::Button,
            R::Button,     R::Button,     R::Button,     R::Button,     R::Button,     R::Button,
            R::Button,     R::Button,     R::Button,     R::Button,     R::Graphic,    R::Pane,
            R::StaticText, R::StaticText, R::StaticText, R::StaticText, R::StaticText, R::List,
        };
        const Walk walk(&F);
        QVERIFY2(walk.strayChildren.isEmpty(), qPrintable(walk.strayChildren.join(QLatin1Char('\n'))));
        const QStringList reached = Objects(walk.nodes);
        // From the last one back: the chooser starts on the first.
        for (int index = CatalogueSize - 1; index >= 0; --index) {
            QWidget* control = ComponentControl(F, index);
            QAccessibleInterface* component = Iface(control);
            QCOMPARE(component->text(QAccessible::Name), Chooser(index));
            QCOMPARE(component->role(), roles[index]);
            QCOMPARE(reached.count(control->objectName()), 1);

            QAccessibleActionInterface* actions = component->actionInterface();
            const QString press = QAccessibleActionInterface::pressAction();
            QVERIFY(actions->actionNames().contains(press));
            QCOMPARE(actions->localizedActionName(press), QStringLiteral("Wybierz"));
            QVERIFY(!component->state().selected);
            actions->doAction(press);
            QCOMPARE(FBox.currentComponent(), index);
            QCOMPARE(FBox.PCTRL->currentWidget(), FBox.Comps);
            QVERIFY(component->state().selected);
            QCOMPARE(Iface(F.Selection)->text(QAccessible::Value), Chooser(index));
        }
        // A button is one thing to a reader, not a panel with a picture in it.
        QCOMPARE(Iface(F.PClose)->childCount(), 0);
        for (QAccessibleInterface* node : walk.nodes)
            QVERIFY2(node->object() != F.BClose && node->object() != F.Rys &&
                         node->object() != F.Op1->viewport(),
                     qPrintable(Describe(node)));
        QCOMPARE(Iface(F.L1)->text(QAccessible::Value), QStringLiteral("Droga nr 1"));
        QCOMPARE(Iface(F.Op1)->text(QAccessible::Value), QStringLiteral("Tu znajduje się opis"));
    }

    void theDescriptionBoxIsReadAsItsEditorOnceItTakesTyping()
    {
        testing::TestProgram p;
        TF& F = p.F();
        QAccessibleInterface* box = Iface(F.Op1);
        QCOMPARE(box->childCount(), 0);
        F.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&F));
        F.Op1->setFocus(Qt::TabFocusReason);
        QVERIFY(F.Op1->editor());

        // The reader meets the editor with the focus, under the box, by the box's name.
        QCOMPARE(box->childCount(), 1);
        QAccessibleInterface* editor = box->child(0);
        QCOMPARE(editor->object(), static_cast<QObject*>(F.Op1->editor()));
        QCOMPARE(editor->role(), QAccessible::EditableText);
        QCOMPARE(editor->text(QAccessible::Name), Chooser(1));
        QCOMPARE(editor->parent(), box);
        QCOMPARE(box->indexOfChild(editor), 0);
        QCOMPARE(box->focusChild(), editor);
        const QPoint middle = F.Op1->mapToGlobal(F.Op1->rect().center());
        QCOMPARE(box->childAt(middle.x(), middle.y()), editor);
        const Walk walk(&F);
        QVERIFY2(walk.strayChildren.isEmpty(), qPrintable(walk.strayChildren.join(QLatin1Char('\n'))));

        QTest::keyClicks(F.Op1->editor(), QStringLiteral("Nowy "));
        QCOMPARE(box->text(QAccessible::Value), QStringLiteral("Nowy Tu znajduje się opis"));
        QVERIFY(editor->textInterface());
    }

    void itemListShowsItsEntries()
    {
        testing::TestProgram p;
        ListView* list = p.F().LB;
        QAccessibleInterface* items = Iface(list);
        QCOMPARE(items->childCount(), list->count());
        QCOMPARE(items->childCount(), 7);
        for (int row = 0; row < list->count(); ++row) {
            QAccessibleInterface* entry = items->child(row);
            QCOMPARE(entry->role(), QAccessible::ListItem);
            QCOMPARE(entry->text(QAccessible::Name), list->item(row)->text());
            QCOMPARE(entry->parent(), items);
            QCOMPARE(items->indexOfChild(entry), row);
            // The same entry each time a reader asks.
            QCOMPARE(items->child(row), entry);
        }
        QCOMPARE(items->child(list->count()), nullptr);
        const QRect first = items->child(0)->rect();
        QVERIFY(!first.isEmpty());
        QCOMPARE(items->childAt(first.center().x(), first.center().y()), items->child(0));
    }
};

FSB_PROGRAM_TEST_MAIN(AccessibilityTest)
#include "test_accessibility.moc"
