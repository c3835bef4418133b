// The skin check in the editor: the findings list and where its rows lead,
// its refresh as the skin changes, the question before a skin with errors is
// saved, and the mask area shown in the preview.

#include "editor/FindingsWindow.h"
#include "editor/SettingsWindow.h"
#include "editor/SkinChecker.h"
#include "editor/Steps.h"
#include "pictures/TransparentForm.h"
#include "preview/MaskAreaOverlay.h"
#include "preview/Overlays.h"
#include "preview/PreviewControls.h"
#include "skinfile/SkinEntry.h"
#include "support/LoadSkin.h"
#include "support/TestProgram.h"
#include "widgets/BandPanel.h"
#include "widgets/PageControl.h"
#include "widgets/Panel.h"
#include "widgets/SideTabWidget.h"

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTreeWidget>
#include <QUndoStack>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>

using namespace fabulor;
using fabulor::testing::Load;
using fabulor::testing::TestProgram;

namespace {

constexpr int PCloseIndex = 3;
constexpr int PMiniIndex = 4;

// Moves a component as a drag does: one step of the history.
void Drag(TestProgram& program, int component, QPoint to)
{
    TFBox& box = program.FBox();
    box.history().begin(QStringLiteral("przesunięcie"), StepParts::geometry(component, false));
    ComponentControl(program.F(), component)->move(to);
    box.history().end();
}

QStringList Rows(const FindingsWindow& window)
{
    QStringList rows;
    for (int row = 0; row < window.List->topLevelItemCount(); ++row)
        rows << window.List->topLevelItem(row)->text(0);
    return rows;
}

// A check that reports where the close button is in the copy it was given,
// so a row tells which state of the skin was checked.
std::vector<Finding> ReportClosePlace(const IniStore& document, const CheckEnvironment&, CheckPictureCache*)
{
    return {
        {Severity::Warning, "L=" + document.readString("PClose", "L", "none"), "PClose", "L", PCloseIndex}};
}

SkinChecker::CheckFunction Returning(const std::vector<Finding>& findings)
{
    return [findings](const IniStore&, const CheckEnvironment&, CheckPictureCache*) { return findings; };
}

Finding Error(std::string section = "Skin", std::string key = "Maska", int component = -1)
{
    return {Severity::Error, "błąd", std::move(section), std::move(key), component};
}

Finding Warning()
{
    return {Severity::Warning, "ostrzeżenie", "PClose", "L", PCloseIndex};
}

Finding Note()
{
    return {Severity::Note, "Zamiast czcionki „Arial” zostanie użyta „Liberation Sans”", "OP1", "FName", 1};
}

void OpenList(TestProgram& program)
{
    QTest::mouseClick(program.FBox().check().CheckButton, Qt::LeftButton);
    QVERIFY(program.FBox().check().findingsWindow().isVisible());
    QTRY_VERIFY(!program.FBox().check().Checker->busy());
}

// A mask of 500 x 300 whose black shows nothing: what it shows is the
// rectangle Visible.
const QRect Visible(10, 10, 300, 280);

std::string MaskHex()
{
    QImage mask(500, 300, QImage::Format_RGB888);
    mask.fill(Qt::black);
    QPainter(&mask).fillRect(Visible, Qt::white);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    mask.save(&buffer, "BMP");
    return bytes.toHex().toUpper().toStdString();
}

std::string MaskedSkin(bool shaped)
{
    return std::string("[Skin]\r\nEn=") + (shaped ? "1" : "0") + "\r\nW=623\r\nH=364\r\nMaska=" + MaskHex() +
           "\r\n";
}

// A skin, unshaped and of the mask's size, whose mask is a checkerboard of
// one-pixel squares whose black (hidden) squares include the top-left one: a
// region of one rectangle per shown pixel.
std::string CheckerboardSkin(int side)
{
    QImage mask(side, side, QImage::Format_Mono);
    mask.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < side; ++y)
        std::memset(mask.scanLine(y), (y & 1) ? 0xAA : 0x55, std::size_t(mask.bytesPerLine()));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    mask.save(&buffer, "BMP");
    const std::string size = std::to_string(side);
    return "[Skin]\r\nEn=0\r\nW=" + size + "\r\nH=" + size +
           "\r\nMaska=" + bytes.toHex().toUpper().toStdString() + "\r\n";
}

// Grabs are compared with each other exactly: the same drawing on the same
// machine gives the same pixels, whichever routines Qt picks for the processor.
QImage Grab(TestProgram& program)
{
    QCoreApplication::processEvents();
    return program.F().grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRect Box(TestProgram& program, int component)
{
    QWidget* control = ComponentControl(program.F(), component);
    return {control->mapTo(&program.F(), QPoint(0, 0)), control->size()};
}

} // namespace

class FindingsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    // The list

    void buttonOpensTheListWithOneRowPerFinding()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        QCOMPARE(box.check().CheckButton->text(), QStringLiteral("Sprawdź"));
        QVERIFY(!box.check().CheckButton->toolTip().isEmpty());
        QVERIFY(box.Plik->isAncestorOf(box.check().CheckButton));
        box.check().Checker->setCheckFunction(
            Returning({Error(), Warning(), Error("PMini", "MP2", PMiniIndex), Note()}));
        // Made on the first check, not at start.
        QVERIFY(!box.check().findingsWindowBuilt());
        OpenList(program);
        FindingsWindow& list = box.check().findingsWindow();
        QCOMPARE(Rows(list),
                 QStringList({"błąd", "ostrzeżenie", "błąd", QString::fromStdString(Note().message)}));
        // Where: the section and key, or the component as the chooser names it.
        QCOMPARE(list.List->topLevelItem(0)->text(1), QStringLiteral("[Skin] Maska"));
        QCOMPARE(list.List->topLevelItem(2)->text(1), QStringLiteral("Przycisk [Minimalizuj], MP2"));
        // The icons tell errors, warnings and notes apart (one icon drawn
        // twice by the same calls is the same to the bit).
        const auto icon = [&](int row) { return list.List->topLevelItem(row)->icon(0).pixmap(16).toImage(); };
        QVERIFY(!icon(0).isNull());
        QCOMPARE(icon(2), icon(0));
        QVERIFY(icon(1) != icon(0));
        QVERIFY(icon(3) != icon(0) && icon(3) != icon(1));
        // A note, the font that stands in for another, is no warning.
        QCOMPARE(list.Summary->text(), QStringLiteral("2 błędy, 1 ostrzeżenie."));
        QVERIFY(!list.List->accessibleName().isEmpty());
        QVERIFY(
            list.List->topLevelItem(1)->data(0, Qt::AccessibleTextRole).toString().startsWith("Ostrzeżenie"));
        QVERIFY(list.List->topLevelItem(3)
                    ->data(0, Qt::AccessibleTextRole)
                    .toString()
                    .startsWith("Informacja: "));
        QCOMPARE(list.List->topLevelItem(3)->toolTip(0), QString::fromStdString(Note().message));

        // Notes alone: nothing is wrong.
        box.check().Checker->setCheckFunction(Returning({Note()}));
        box.check().Checker->checkNow();
        QTRY_COMPARE(list.List->topLevelItemCount(), 1);
        QCOMPARE(list.Summary->text(), QStringLiteral("Brak błędów i ostrzeżeń — skórka jest w porządku."));

        // A clean skin says so.
        box.check().Checker->setCheckFunction(Returning({}));
        box.check().Checker->checkNow();
        QTRY_COMPARE(list.List->topLevelItemCount(), 0);
        QCOMPARE(list.Summary->text(), QStringLiteral("Brak uwag — skórka jest w porządku."));
    }

    // The editor's check runs on a worker thread with its own copy of the
    // installed families; fonts of the same widths still stand in there.
    void editorsCheckKnowsFontsOfTheSameWidths()
    {
        if (QFontDatabase::hasFamily(QStringLiteral("Arial"))) QSKIP("Arial itself is installed here");
        if (!QFontDatabase::hasFamily(QStringLiteral("Liberation Sans")))
            QSKIP("Liberation Sans is not installed (Debian: fonts-liberation2)");
        TestProgram program;
        TFBox& box = program.FBox();
        auto standIn = std::make_shared<std::string>("unset");
        box.check().Checker->setCheckFunction(
            [standIn](const IniStore&, const CheckEnvironment& environment, CheckPictureCache*) {
                if (environment.fontSubstitute) *standIn = environment.fontSubstitute("Arial");
                return std::vector<Finding>{};
            });
        OpenList(program);
        QCOMPARE(*standIn, std::string("Liberation Sans"));
    }

    void activatingARowShowsWhereItIsFixed_data()
    {
        QTest::addColumn<int>("component");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("tab");
        QTest::addColumn<QString>("where"); // a band of "Komponenty" or a sheet of "Właściwości"
        QTest::newRow("window size") << -1 << "Skin"
                                     << "W"
                                     << "Rozm"
                                     << "";
        QTest::newRow("mask") << -1 << "Skin"
                              << "Maska"
                              << "Skora"
                              << "";
        QTest::newRow("whole skin") << -1 << ""
                                    << ""
                                    << "Skora"
                                    << "";
        QTest::newRow("button place") << PCloseIndex << "PClose"
                                      << "L"
                                      << "Comps"
                                      << "Miejsce";
        QTest::newRow("button, no key") << PCloseIndex << "PClose"
                                        << ""
                                        << "Comps"
                                        << "Miejsce";
        QTest::newRow("mouse-over picture") << PCloseIndex << "PClose"
                                            << "MP2"
                                            << "Comps"
                                            << "Rysunek";
        QTest::newRow("picture frame size") << 2 << "PRys"
                                            << "S"
                                            << "Comps"
                                            << "Rozmiar";
        QTest::newRow("description colour") << 1 << "OP1"
                                            << "FColor"
                                            << "Prop"
                                            << "TabSheet1";
        QTest::newRow("message font size") << 22 << "LM"
                                           << "FSize"
                                           << "Prop"
                                           << "TabSheet6";
        QTest::newRow("third path label font") << 20 << "L3"
                                               << "FName"
                                               << "Prop"
                                               << "TabSheet5";
        QTest::newRow("item list colour") << 23 << "LB"
                                          << "Color"
                                          << "Prop"
                                          << "TabSheet3";
        QTest::newRow("button on a page behind") << 14 << "PEnd"
                                                 << "MP1"
                                                 << "Comps"
                                                 << "Rysunek";
    }
    void activatingARowShowsWhereItIsFixed()
    {
        QFETCH(int, component);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, tab);
        QFETCH(QString, where);
        TestProgram program;
        TFBox& box = program.FBox();
        TF& F = program.F();
        box.check().Checker->setCheckFunction(Returning(
            {Warning(), {Severity::Error, "x", section.toStdString(), key.toStdString(), component}}));
        OpenList(program);
        // Start from elsewhere: another component, another tab.
        F.SelectComponent(17);
        box.PCTRL->setCurrentWidget(box.Plik);
        const int selectedBefore = F.SelectedComponent();

        QTreeWidget* list = box.check().findingsWindow().List;
        list->setCurrentItem(list->topLevelItem(1));
        QTest::keyClick(list, Qt::Key_Return);

        QCOMPARE(box.PCTRL->currentWidget()->objectName(), tab);
        if (component < 0) {
            // Nothing in the preview changes for the window's own keys.
            QCOMPARE(F.SelectedComponent(), selectedBefore);
            return;
        }
        // As a press: the chooser, its bands and the frame in the preview.
        QCOMPARE(F.SelectedComponent(), component);
        QCOMPARE(box.currentComponent(), component);
        QVERIFY(ComponentControl(F, component)->isVisibleTo(&F));
        if (tab == "Prop") {
            QCOMPARE(box.PageControl1->currentWidget()->objectName(), where);
        } else {
            Band* band = box.BandPanel1->findChild<Band*>(where);
            QVERIFY(band);
            QVERIFY(band->isExpanded());
        }
    }

    void realCheckListsKnownFaultsAndSavingAsksAboutThem()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        // Shaped without a mask; the close button far outside the window.
        Load(program, m_dir, "[Skin]\r\nEn=1\r\n[PClose]\r\nL=2000\r\nT=10\r\n");
        OpenList(program);
        FindingsWindow& list = box.check().findingsWindow();
        const auto rowOf = [&](const QString& place) {
            for (int row = 0; row < list.List->topLevelItemCount(); ++row)
                if (list.List->topLevelItem(row)->text(1) == place) return row;
            return -1;
        };
        QVERIFY2(rowOf("[Skin] Maska") >= 0, qPrintable(Rows(list).join('\n')));
        const int outside = rowOf("Przycisk [Zamknij]");
        QVERIFY2(outside >= 0, qPrintable(Rows(list).join('\n')));
        QCOMPARE(list.findings()[std::size_t(outside)].severity, Severity::Error);

        list.List->setCurrentItem(list.List->topLevelItem(outside));
        QTest::keyClick(list.List, Qt::Key_Return);
        QCOMPARE(box.PCTRL->currentWidget(), box.Comps);
        QCOMPARE(program.F().SelectedComponent(), PCloseIndex);

        // Saving asks, counting the errors the list shows.
        int errors = 0;
        for (const Finding& finding : list.findings())
            errors += finding.severity == Severity::Error;
        const QString path = m_dir.filePath(QStringLiteral("faulty.ski"));
        program.dialogs->answerFile(path);
        program.dialogs->saveAnywayAnswers.push_back(false);
        QVERIFY(!box.Button2Click());
        QCOMPARE(program.dialogs->saveAnywayQuestions,
                 QStringList(QStringLiteral("Skórka ma %1. Zapisać ją mimo to?").arg(ErrorCount(errors))));
        QVERIFY(!QFile::exists(path));

        // Dragged back into the window, the button's finding goes.
        Drag(program, PCloseIndex, {100, 10});
        QTRY_COMPARE(rowOf("Przycisk [Zamknij]"), -1);
        QVERIFY(rowOf("[Skin] Maska") >= 0);
    }

    // Refresh

    void listFollowsEditsOnACopyOfTheSkin()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        std::atomic<bool> onGuiThread = false;
        std::atomic<int> calls = 0;
        box.check().Checker->setCheckFunction(
            [&](const IniStore& document, const CheckEnvironment& environment, CheckPictureCache* cache) {
                ++calls;
                if (QThread::currentThread() == QCoreApplication::instance()->thread()) onGuiThread = true;
                return ReportClosePlace(document, environment, cache);
            });
        OpenList(program);
        const QString start = Rows(box.check().findingsWindow()).value(0);
        QVERIFY(start.startsWith("L="));
        QVERIFY(start != "L=none"); // the preview's state was captured into the copy

        // A burst of edits, as typing makes them: one check once they stop.
        const int before = calls;
        for (int x = 200; x <= 240; x += 10)
            Drag(program, PCloseIndex, {x, 30});
        QTRY_COMPARE(Rows(box.check().findingsWindow()), QStringList("L=240"));
        QTRY_VERIFY(!box.check().Checker->busy());
        QCOMPARE(calls - before, 1);
        QVERIFY(!onGuiThread);
        // Undo counts as a change too.
        box.history().undo();
        QTRY_COMPARE(Rows(box.check().findingsWindow()), QStringList("L=230"));

        // The skin's own document was never captured into.
        QVERIFY(program.text().empty());
        // Closed, the list costs nothing while the user edits.
        box.check().findingsWindow().close();
        const int closedAt = calls;
        Drag(program, PCloseIndex, {50, 30});
        QVERIFY(!box.check().Checker->busy());
        QCOMPARE(int(calls), closedAt);
    }

    void resultsOfAnOutdatedSkinAreDropped()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        QSemaphore gate;
        std::atomic<int> calls = 0;
        std::atomic<int> running = 0;
        std::atomic<int> mostAtOnce = 0;
        box.check().Checker->setCheckFunction(
            [&](const IniStore& document, const CheckEnvironment& environment, CheckPictureCache* cache) {
                mostAtOnce = std::max(int(mostAtOnce), ++running);
                // The first check waits until the test lets it go.
                if (++calls == 1) gate.acquire();
                --running;
                return ReportClosePlace(document, environment, cache);
            });
        QStringList shown;
        connect(box.check().Checker, &SkinChecker::checked, this,
                [&] { shown << QString::fromStdString(box.check().Checker->findings().at(0).message); });

        Drag(program, PCloseIndex, {111, 30});
        QTest::mouseClick(box.check().CheckButton, Qt::LeftButton);
        QTRY_COMPARE(int(calls), 1);
        // The user edits on while the check is under way: nothing waits.
        Drag(program, PCloseIndex, {222, 30});
        gate.release();
        QTRY_COMPARE(Rows(box.check().findingsWindow()), QStringList("L=222"));
        QTRY_VERIFY(!box.check().Checker->busy());
        QCOMPARE(shown, QStringList("L=222"));
        QCOMPARE(box.check().Checker->droppedResults(), 1);
        QCOMPARE(int(mostAtOnce), 1); // one picture cache, one check at a time
    }

    // Saving

    void savingAskedOnlyWithErrors_data()
    {
        QTest::addColumn<QList<int>>("severities"); // 1 error, 0 warning
        QTest::addColumn<QString>("question");      // empty: not asked
        QTest::newRow("clean") << QList<int>{} << "";
        QTest::newRow("warnings only") << QList<int>{0, 0} << "";
        QTest::newRow("one error") << QList<int>{1, 0} << "Skórka ma 1 błąd. Zapisać ją mimo to?";
        QTest::newRow("three errors") << QList<int>{1, 1, 0, 1} << "Skórka ma 3 błędy. Zapisać ją mimo to?";
    }
    void savingAskedOnlyWithErrors()
    {
        QFETCH(QList<int>, severities);
        QFETCH(QString, question);
        for (const bool anyway : {false, true}) {
            TestProgram program;
            TFBox& box = program.FBox();
            std::vector<Finding> findings;
            for (const int severity : severities)
                findings.push_back(severity ? Error() : Warning());
            box.check().Checker->setCheckFunction(Returning(findings));
            Drag(program, PCloseIndex, {100, 100});
            const QString path = m_dir.filePath(QStringLiteral("saved%1.ski").arg(++m_saves));
            program.dialogs->answerFile(path);
            program.dialogs->saveAnywayAnswers.push_back(anyway);

            const bool saved = box.Button2Click();

            const bool asked = !question.isEmpty();
            QCOMPARE(program.dialogs->saveAnywayQuestions, asked ? QStringList(question) : QStringList());
            const bool written = !asked || anyway;
            QCOMPARE(saved, written);
            QCOMPARE(QFile::exists(path), written);
            QCOMPARE(box.history().stack().isClean(), written);
            // Refused before the file dialog: no name was asked for.
            QCOMPARE(program.dialogs->fileDialogs.size(), written ? 1 : 0);
        }
    }

    // The check before a save runs on a worker, and a save whose check is
    // overtaken goes ahead without the question.
    void savingChecksOnAWorkerAndWaitsOnlySoLong()
    {
        // Made before the program: a check left running ends before they go.
        std::atomic<bool> onGuiThread = false;
        std::atomic<bool> hold = false;
        QSemaphore gate;
        TestProgram program;
        TFBox& box = program.FBox();
        box.check().Checker->setCheckFunction(
            [&](const IniStore&, const CheckEnvironment&, CheckPictureCache*) {
                if (QThread::currentThread() == QCoreApplication::instance()->thread()) onGuiThread = true;
                if (hold) gate.tryAcquire(1, 10000);
                return std::vector<Finding>{Error()};
            });
        Drag(program, PCloseIndex, {100, 100});
        program.dialogs->saveAnywayAnswers.push_back(false);
        QVERIFY(!box.Button2Click());
        QCOMPARE(program.dialogs->saveAnywayQuestions.size(), 1);
        QVERIFY(!onGuiThread);

        box.check().Checker->setSaveLimit(std::chrono::milliseconds(50));
        hold = true;
        const QString path = m_dir.filePath(QStringLiteral("overtaken.ski"));
        program.dialogs->answerFile(path);
        QVERIFY(box.Button2Click());
        QCOMPARE(program.dialogs->saveAnywayQuestions.size(), 1);
        QVERIFY(QFile::exists(path));
        QVERIFY(box.history().stack().isClean());
        gate.release();
    }

    void closingWithErrorsAndUnsavedChangesAsksBothQuestions()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        box.check().Checker->setCheckFunction(Returning({Error(), Error(), Error(), Error(), Error()}));
        Drag(program, PCloseIndex, {100, 100});
        program.dialogs->saveChangesAnswers.push_back(SaveChangesAnswer::Save);
        program.dialogs->saveAnywayAnswers.push_back(false);
        program.F().close();
        QCoreApplication::processEvents();
        // "Anuluj" keeps the unsaved skin open.
        QCOMPARE(program.dialogs->saveAnywayQuestions,
                 QStringList("Skórka ma 5 błędów. Zapisać ją mimo to?"));
        QVERIFY(program.F().isVisible());
        QVERIFY(!box.history().stack().isClean());
        QVERIFY(program.dialogs->fileDialogs.isEmpty());
    }

    void errorCountsInPolish_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("errors");
        QTest::addColumn<QString>("warnings");
        QTest::newRow("0") << 0 << "0 błędów"
                           << "0 ostrzeżeń";
        QTest::newRow("1") << 1 << "1 błąd"
                           << "1 ostrzeżenie";
        QTest::newRow("2") << 2 << "2 błędy"
                           << "2 ostrzeżenia";
        QTest::newRow("4") << 4 << "4 błędy"
                           << "4 ostrzeżenia";
        QTest::newRow("5") << 5 << "5 błędów"
                           << "5 ostrzeżeń";
        QTest::newRow("11") << 11 << "11 błędów"
                            << "11 ostrzeżeń";
        QTest::newRow("12") << 12 << "12 błędów"
                            << "12 ostrzeżeń";
        QTest::newRow("14") << 14 << "14 błędów"
                            << "14 ostrzeżeń";
        QTest::newRow("21") << 21 << "21 błędów"
                            << "21 ostrzeżeń";
        QTest::newRow("22") << 22 << "22 błędy"
                            << "22 ostrzeżenia";
        QTest::newRow("101") << 101 << "101 błędów"
                             << "101 ostrzeżeń";
        QTest::newRow("112") << 112 << "112 błędów"
                             << "112 ostrzeżeń";
        QTest::newRow("1003") << 1003 << "1003 błędy"
                              << "1003 ostrzeżenia";
    }
    void errorCountsInPolish()
    {
        QFETCH(int, count);
        QFETCH(QString, errors);
        QFETCH(QString, warnings);
        QCOMPARE(ErrorCount(count), errors);
        QCOMPARE(WarningCount(count), warnings);
    }

    // The mask area

    void maskAreaTintsWhatTheMaskHides()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        Load(program, m_dir, MaskedSkin(false));
        QVERIFY(!program.F().Mask->active());
        const QImage plain = Grab(program);
        const int steps = box.history().stack().count();
        const std::string text = program.text();

        box.check().MaskAreaCheck->setChecked(true);
        const QImage tinted = Grab(program);
        QCOMPARE(tinted.size(), plain.size());
        // Every hidden pixel is tinted; a pixel the mask shows changes only
        // where a component reaching in is outlined.
        std::vector<QRect> outlined;
        for (const int index : box.check().MaskArea->reachingComponents())
            outlined.push_back(Box(program, index));
        const auto onOutline = [&](QPoint p) {
            for (const QRect& r : outlined)
                if (r.contains(p) && !r.adjusted(2, 2, -2, -2).contains(p)) return true;
            return false;
        };
        int hiddenSeen = 0;
        for (int y = 0; y < plain.height(); y += 3) {
            for (int x = 0; x < plain.width(); x += 3) {
                const QPoint p(x, y);
                const bool changed = plain.pixel(p) != tinted.pixel(p);
                if (!Visible.contains(p)) {
                    ++hiddenSeen;
                    QVERIFY2(changed, qPrintable(QStringLiteral("hidden %1,%2 not tinted").arg(x).arg(y)));
                } else if (changed) {
                    QVERIFY2(onOutline(p), qPrintable(QStringLiteral("shown %1,%2 changed").arg(x).arg(y)));
                }
            }
        }
        QVERIFY(hiddenSeen > 1000);
        // A view option: no step, nothing written.
        QCOMPARE(box.history().stack().count(), steps);
        QCOMPARE(program.text(), text);
        // Hidden from anything that draws the skin's look.
        {
            const OverlaysHidden hidden(program.F());
            QCOMPARE(Grab(program), plain);
        }
        QCOMPARE(Grab(program), tinted);

        box.check().MaskAreaCheck->setChecked(false);
        QCOMPARE(Grab(program), plain);
    }

    // Masks of millions of rectangles, up to the region builder's limit, and
    // one past it, which gives no region and so hides nothing.
    void busyMaskAreasAreTinted_data()
    {
        QTest::addColumn<int>("side");
        QTest::addColumn<bool>("hides");
        QTest::newRow("1500: a million rectangles") << 1500 << true;
        QTest::newRow("4096: the region builder's limit") << 4096 << true;
        QTest::newRow("4097: past it") << 4097 << false;
    }
    void busyMaskAreasAreTinted()
    {
        QFETCH(int, side);
        QFETCH(bool, hides);
        TestProgram program;
        TFBox& box = program.FBox();
        Load(program, m_dir, CheckerboardSkin(side));
        QVERIFY(!program.F().Mask->active());
        const QImage plain = Grab(program);
        box.check().MaskAreaCheck->setChecked(true);
        QCOMPARE(box.check().MaskArea->hidesAnything(), hides);
        QCOMPARE(box.check().MaskArea->isVisible(), hides);
        const QImage tinted = Grab(program);

        // Every component reaches into a checkerboard's hidden squares; their
        // outlines are left out.
        std::vector<QRect> outlined;
        for (const int index : box.check().MaskArea->reachingComponents())
            outlined.push_back(Box(program, index));
        QCOMPARE(outlined.empty(), !hides);
        const auto onOutline = [&](QPoint p) {
            return std::any_of(outlined.begin(), outlined.end(), [&](const QRect& r) {
                return r.contains(p) && !r.adjusted(2, 2, -2, -2).contains(p);
            });
        };
        // Hidden pixels take the tint over what was there, shown ones stay;
        // Qt blends the tint, so a few steps per channel are allowed.
        const QColor tint = MaskAreaOverlay::tint();
        const double a = tint.alphaF();
        int hiddenSeen = 0;
        for (int y = 0; y < plain.height(); y += 7) {
            for (int x = 0; x < plain.width(); x += 5) {
                const QPoint p(x, y);
                if (onOutline(p)) continue;
                const QColor was = plain.pixelColor(p), is = tinted.pixelColor(p);
                const bool hidden = hides && (x + y) % 2 == 0;
                hiddenSeen += hidden;
                const auto near = [&](double expected, int value) { return std::abs(expected - value) <= 3; };
                const auto expect = [&](int tintPart, int wasPart) {
                    return hidden ? a * tintPart + (1 - a) * wasPart : double(wasPart);
                };
                if (!near(expect(tint.red(), was.red()), is.red()) ||
                    !near(expect(tint.green(), was.green()), is.green()) ||
                    !near(expect(tint.blue(), was.blue()), is.blue()))
                    QFAIL(qPrintable(QStringLiteral("%1 pixel %2,%3: %4 over %5")
                                         .arg(hidden ? "hidden" : "shown")
                                         .arg(x)
                                         .arg(y)
                                         .arg(is.name(), was.name())));
            }
        }
        if (hides) QVERIFY(hiddenSeen > 1000);
    }

    void noTintWhileShapedOrWithoutAMask()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        // No mask: nothing is hidden.
        QImage plain = Grab(program);
        box.check().MaskAreaCheck->setChecked(true);
        QCOMPARE(Grab(program), plain);
        box.check().MaskAreaCheck->setChecked(false);

        Load(program, m_dir, MaskedSkin(true));
        QVERIFY(program.F().Mask->active());
        plain = Grab(program);
        box.check().MaskAreaCheck->setChecked(true);
        QVERIFY(!box.check().MaskArea->isVisible());
        QCOMPARE(Grab(program), plain);

        // Shaping switched off: the same mask now shows as a tint.
        box.CheckBox2->setChecked(false);
        QVERIFY(!program.F().Mask->active());
        QTRY_VERIFY(box.check().MaskArea->isVisible());
        QVERIFY(box.check().MaskArea->hidesAnything());
    }

    void outlinesMarkExactlyTheComponentsReachingIn()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        box.check().MaskAreaCheck->setChecked(true);
        // Loaded while the option is on: the new skin's mask is taken.
        Load(program, m_dir, MaskedSkin(false));
        QTRY_VERIFY(box.check().MaskArea->isVisible());
        TF& F = program.F();
        ComponentControl(F, PCloseIndex)->move(400, 100); // wholly hidden
        ComponentControl(F, PMiniIndex)->move(50, 50);    // wholly shown

        const auto expected = [&] {
            std::vector<int> reaching;
            for (int index = 0; index < int(ComponentCount); ++index)
                if (ComponentControl(F, index)->isVisibleTo(&F) && !Visible.contains(Box(program, index)))
                    reaching.push_back(index);
            return reaching;
        };
        QCOMPARE(box.check().MaskArea->reachingComponents(), expected());
        QVERIFY(!expected().empty());
        // The outline is opaque and not smoothed: its pixels are exactly its colour.
        const auto red = [&](int index) {
            const QRect r = Box(program, index);
            return QColor(Grab(program).pixel(r.left() + r.width() / 2, r.top())) ==
                   MaskAreaOverlay::outline();
        };
        QVERIFY(red(PCloseIndex));
        QVERIFY(!red(PMiniIndex));

        // Follows a component as it moves: half a pixel row across the edge is enough.
        ComponentControl(F, PMiniIndex)->move(Visible.right() - 5, 50);
        QCOMPARE(box.check().MaskArea->reachingComponents(), expected());
        QVERIFY(red(PMiniIndex));
        ComponentControl(F, PCloseIndex)->move(100, 100);
        QCOMPARE(box.check().MaskArea->reachingComponents(), expected());
        QVERIFY(!red(PCloseIndex));
    }

private:
    QTemporaryDir m_dir;
    int m_saves = 0;
};

FSB_PROGRAM_TEST_MAIN(FindingsTest)
#include "test_findings.moc"
