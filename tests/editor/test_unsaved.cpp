// No silent loss of work: the question before unsaved changes would be lost
// (closing either window, loading another skin), the modified mark in the
// title, the "Cofnij" and "Ponów" buttons and the undo and redo keys.

#include "editor/SettingsWindow.h"
#include "editor/Steps.h"
#include "preview/PreviewWindow.h"
#include "skinfile/SkinEntry.h"
#include "support/TestProgram.h"
#include "widgets/Memo.h"
#include "widgets/Panel.h"
#include "widgets/SideTabWidget.h"
#include "widgets/SpinEdit.h"

#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <QWindow>

using namespace fabulor;
using fabulor::testing::TestProgram;

namespace {

const QString Question = QStringLiteral("Skórka ma niezapisane zmiany. Zapisać je?");

// Moves the close button as a drag does: one step of the history.
void MakeUnsavedEdit(TestProgram& program, QPoint to = {100, 100})
{
    TFBox& box = program.FBox();
    const int before = box.history().stack().count();
    box.history().begin(QStringLiteral("przesunięcie PClose"), StepParts::geometry(3, false));
    program.F().PClose->move(to);
    box.history().end();
    QCOMPARE(box.history().stack().count(), before + 1);
}

void Click(QPushButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
    // A failure reaches the error box from a queued call.
    QCoreApplication::processEvents();
}

void Close(QWidget& window)
{
    window.close();
    QCoreApplication::processEvents();
}

std::string EntryText(const QString& path)
{
    TZipKit zip;
    MemoryStream stream = LoadSkinEntry(QFile::encodeName(path).toStdString(), zip);
    const auto bytes = stream.bytes();
    return std::string(bytes.begin(), bytes.end());
}

void WriteForeignFile(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("just some notes, not an archive");
}

// How the save offered by the question goes.
enum class SaveGoes { NotOffered, Written, Cancelled, Fails };

void ScriptAnswer(TestProgram& program, SaveChangesAnswer answer, SaveGoes save, const QString& path)
{
    program.dialogs->saveChangesAnswers.push_back(answer);
    if (save == SaveGoes::Cancelled) program.dialogs->cancelFile();
    if (save == SaveGoes::Written || save == SaveGoes::Fails) program.dialogs->answerFile(path);
}

bool Activate(QWidget& window)
{
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

} // namespace

Q_DECLARE_METATYPE(SaveChangesAnswer)
Q_DECLARE_METATYPE(SaveGoes)

class UnsavedTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void closingWithUnsavedChanges_data()
    {
        QTest::addColumn<bool>("viaPreview");
        QTest::addColumn<SaveChangesAnswer>("answer");
        QTest::addColumn<SaveGoes>("save");
        QTest::addColumn<bool>("ends");
        for (const bool viaPreview : {false, true}) {
            const char* window = viaPreview ? "preview" : "settings";
            const auto row = [&](const char* what) -> QTestData& {
                return QTest::addRow("%s: %s", window, what);
            };
            row("save") << viaPreview << SaveChangesAnswer::Save << SaveGoes::Written << true;
            row("save, dialog cancelled")
                << viaPreview << SaveChangesAnswer::Save << SaveGoes::Cancelled << false;
            row("save fails") << viaPreview << SaveChangesAnswer::Save << SaveGoes::Fails << false;
            row("do not save") << viaPreview << SaveChangesAnswer::Discard << SaveGoes::NotOffered << true;
            row("cancel") << viaPreview << SaveChangesAnswer::Cancel << SaveGoes::NotOffered << false;
        }
    }
    void closingWithUnsavedChanges()
    {
        QFETCH(bool, viaPreview);
        QFETCH(SaveChangesAnswer, answer);
        QFETCH(SaveGoes, save);
        QFETCH(bool, ends);

        TestProgram program;
        const QString path = m_dir.filePath(QStringLiteral("closing.ski"));
        QFile::remove(path);
        if (save == SaveGoes::Fails) WriteForeignFile(path);
        MakeUnsavedEdit(program);
        ScriptAnswer(program, answer, save, path);
        QSignalSpy closing(&program.F(), &TF::closing);

        Close(viaPreview ? static_cast<QWidget&>(program.F()) : program.FBox());

        // Asked once, also when the settings window hands the close on.
        QCOMPARE(program.dialogs->saveChangesQuestions, QStringList{Question});
        QCOMPARE(program.dialogs->saveChangesCaptions, QStringList{"Fabulor Skin Builder"});
        QCOMPARE(program.dialogs->fileDialogs.size(), save == SaveGoes::NotOffered ? 0 : 1);
        if (save == SaveGoes::Written)
            QVERIFY(EntryText(path).find("[PClose]\r\nT=100\r\nL=100\r\n") != std::string::npos);
        if (save == SaveGoes::Fails) {
            QCOMPARE(program.dialogs->errors, QStringList{"Invalid file - not a PKZip file."});
            QCOMPARE(QFileInfo(path).size(), 31); // the foreign file is untouched
        } else {
            QVERIFY(program.dialogs->errors.isEmpty());
        }
        if (save != SaveGoes::Written && save != SaveGoes::Fails) QVERIFY(!QFileInfo::exists(path));

        QCOMPARE(closing.count(), ends ? 1 : 0);
        QCOMPARE(program.F().isVisible(), !ends);
        QCOMPARE(program.FBox().isVisible(), !ends);
        QCOMPARE(program.builder->document().has_value(), !ends);
        if (!ends) {
            // Kept exactly as it was, still marked unsaved.
            QCOMPARE(program.F().PClose->pos(), QPoint(100, 100));
            QCOMPARE(program.FBox().history().stack().count(), 1);
            QVERIFY(!program.FBox().history().stack().isClean());
            QVERIFY(program.FBox().isWindowModified());
            // And the program can still end: the question comes again.
            program.dialogs->saveChangesAnswers.push_back(SaveChangesAnswer::Discard);
            Close(program.FBox());
            QCOMPARE(closing.count(), 1);
            QVERIFY(!program.F().isVisible());
        }
    }

    void loadingWithUnsavedChanges_data()
    {
        QTest::addColumn<SaveChangesAnswer>("answer");
        QTest::addColumn<SaveGoes>("save");
        QTest::addColumn<bool>("loads");
        QTest::newRow("save") << SaveChangesAnswer::Save << SaveGoes::Written << true;
        QTest::newRow("save, dialog cancelled") << SaveChangesAnswer::Save << SaveGoes::Cancelled << false;
        QTest::newRow("save fails") << SaveChangesAnswer::Save << SaveGoes::Fails << false;
        QTest::newRow("do not save") << SaveChangesAnswer::Discard << SaveGoes::NotOffered << true;
        QTest::newRow("cancel") << SaveChangesAnswer::Cancel << SaveGoes::NotOffered << false;
    }
    void loadingWithUnsavedChanges()
    {
        QFETCH(SaveChangesAnswer, answer);
        QFETCH(SaveGoes, save);
        QFETCH(bool, loads);

        const QString other = m_dir.filePath(QStringLiteral("other.ski"));
        {
            TestProgram maker;
            maker.F().PMenu->move(11, 12);
            maker.dialogs->answerFile(other);
            Click(maker.FBox().Button2);
        }
        const QString path = m_dir.filePath(QStringLiteral("edited.ski"));
        QFile::remove(path);
        if (save == SaveGoes::Fails) WriteForeignFile(path);

        TestProgram program;
        MakeUnsavedEdit(program);
        const std::string before = program.text();
        ScriptAnswer(program, answer, save, path);
        program.dialogs->answerFile(other); // the skin to load, if it comes to that
        Click(program.FBox().Button1);

        QCOMPARE(program.dialogs->saveChangesQuestions, QStringList{Question});
        if (save == SaveGoes::Written)
            QVERIFY(EntryText(path).find("[PClose]\r\nT=100\r\nL=100\r\n") != std::string::npos);
        QCOMPARE(program.dialogs->errors.size(), save == SaveGoes::Fails ? 1 : 0);
        // The open dialog comes only once the changes are settled.
        const qsizetype saveDialogs = save == SaveGoes::NotOffered ? 0 : 1;
        QCOMPARE(program.dialogs->fileDialogs.size(), saveDialogs + (loads ? 1 : 0));
        if (loads) {
            QCOMPARE(program.F().PMenu->pos(), QPoint(11, 12));
            QCOMPARE(program.F().PClose->pos(), QPoint(464, 16));
            QCOMPARE(program.FBox().history().stack().count(), 0); // a new history
            QVERIFY(!program.FBox().isWindowModified());
        } else {
            QCOMPARE(program.F().PMenu->pos(), QPoint(396, 16));
            QCOMPARE(program.F().PClose->pos(), QPoint(100, 100));
            QCOMPARE(program.FBox().history().stack().count(), 1);
            QVERIFY(program.FBox().isWindowModified());
            if (save != SaveGoes::Cancelled && save != SaveGoes::Fails) QCOMPARE(program.text(), before);
        }
    }

    void loadingThatComesToNothingKeepsTheSkinAndItsHistory()
    {
        TestProgram program;
        MakeUnsavedEdit(program);
        const std::string before = program.text();

        // The changes may go, but the open dialog is cancelled.
        program.dialogs->cancelFile();
        Click(program.FBox().Button1);
        QCOMPARE(program.dialogs->saveChangesQuestions.size(), 1);
        QCOMPARE(program.F().PClose->pos(), QPoint(100, 100));
        QCOMPARE(program.text(), before);
        QCOMPARE(program.FBox().history().stack().count(), 1);
        QVERIFY(program.FBox().isWindowModified());

        // A damaged file is refused: nothing changed, so nothing is forgotten.
        const QString foreign = m_dir.filePath(QStringLiteral("foreign.ski"));
        WriteForeignFile(foreign);
        program.dialogs->answerFile(foreign);
        Click(program.FBox().Button1);
        QCOMPARE(program.dialogs->errors, QStringList{"Invalid file - not a PKZip file."});
        QCOMPARE(program.F().PClose->pos(), QPoint(100, 100));
        QCOMPARE(program.FBox().history().stack().count(), 1);
        QVERIFY(program.FBox().history().stack().canUndo());
        QVERIFY(program.FBox().isWindowModified());
    }

    void nothingIsAskedWhileTheSkinIsAsLastSaved()
    {
        TestProgram program;
        const QString path = m_dir.filePath(QStringLiteral("clean.ski"));
        MakeUnsavedEdit(program);
        program.dialogs->answerFile(path);
        Click(program.FBox().Button2);
        MakeUnsavedEdit(program, {50, 50});
        program.FBox().history().stack().undo(); // back to the saved skin, a step to redo

        program.dialogs->answerFile(path);
        Click(program.FBox().Button1);
        QCOMPARE(program.FBox().history().stack().count(), 0); // a new history
        QVERIFY(!program.FBox().historyButtons().RedoButton->isEnabled());
        Close(program.FBox());
        QVERIFY(program.dialogs->saveChangesQuestions.isEmpty());
        QVERIFY(!program.F().isVisible());
        QVERIFY(!program.FBox().isVisible());
    }

    void titleMarksUnsavedChanges()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        QCOMPARE(box.windowHandle()->title(), QStringLiteral("Ustawienia"));
        MakeUnsavedEdit(program);
        QCOMPARE(box.windowHandle()->title(), QStringLiteral("Ustawienia*"));
        box.history().stack().undo();
        QVERIFY(!box.isWindowModified());
        box.history().stack().redo();
        QVERIFY(box.isWindowModified());

        program.dialogs->answerFile(m_dir.filePath(QStringLiteral("title.ski")));
        Click(box.Button2);
        QVERIFY(!box.isWindowModified());
        // Stepping back behind the saved skin is a change again.
        box.history().stack().undo();
        QVERIFY(box.isWindowModified());

        // A cancelled save changes nothing.
        program.dialogs->cancelFile();
        Click(box.Button2);
        QVERIFY(box.isWindowModified());
    }

    void undoAndRedoButtons()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        QPushButton* undo = box.Plik->findChild<QPushButton*>(QStringLiteral("UndoButton"));
        QPushButton* redo = box.Plik->findChild<QPushButton*>(QStringLiteral("RedoButton"));
        QCOMPARE(undo, box.historyButtons().UndoButton);
        QCOMPARE(redo, box.historyButtons().RedoButton);
        QCOMPARE(undo->text(), QStringLiteral("Cofnij"));
        QCOMPARE(redo->text(), QStringLiteral("Ponów"));
        QCOMPARE(undo->geometry(), QRect(56, 104, 70, 25));
        QCOMPARE(redo->geometry(), QRect(131, 104, 70, 25));

        const auto state = [&] {
            return QStringList{undo->isEnabled() ? "on" : "off", undo->toolTip(),
                               redo->isEnabled() ? "on" : "off", redo->toolTip()};
        };
        QCOMPARE(state(), (QStringList{"off", "Cofnij", "off", "Ponów"}));

        MakeUnsavedEdit(program);
        QCOMPARE(state(), (QStringList{"on", "Cofnij: przesunięcie PClose", "off", "Ponów"}));
        Click(undo);
        QCOMPARE(program.F().PClose->pos(), QPoint(464, 16));
        QCOMPARE(state(), (QStringList{"off", "Cofnij", "on", "Ponów: przesunięcie PClose"}));
        Click(redo);
        QCOMPARE(program.F().PClose->pos(), QPoint(100, 100));
        QCOMPARE(state(), (QStringList{"on", "Cofnij: przesunięcie PClose", "off", "Ponów"}));
        QVERIFY(program.dialogs->errors.isEmpty());
    }

    // Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo, in either window and
    // whatever has the focus, except a text field with typing of its own to
    // take back or do again: as in every editor, the keys are the field's
    // then. A field with nothing of its own leaves them to the skin's steps.
    void undoAndRedoKeys_data()
    {
        QTest::addColumn<QString>("field"); // "", "border" (a spin edit) or "description"
        QTest::addColumn<bool>("typed");    // the field has typing of its own
        QTest::addColumn<bool>("shiftZ");   // redo with Ctrl+Shift+Z rather than Ctrl+Y
        QTest::newRow("preview window, Ctrl+Y") << "" << false << false;
        QTest::newRow("preview window, Ctrl+Shift+Z") << "" << false << true;
        QTest::newRow("a spin edit with nothing typed, Ctrl+Y") << "border" << false << false;
        QTest::newRow("a spin edit with nothing typed, Ctrl+Shift+Z") << "border" << false << true;
        QTest::newRow("a spin edit's typing, Ctrl+Y") << "border" << true << false;
        QTest::newRow("a spin edit's typing, Ctrl+Shift+Z") << "border" << true << true;
        QTest::newRow("the description box, nothing typed") << "description" << false << true;
        QTest::newRow("the description box's typing, Ctrl+Y") << "description" << true << false;
        QTest::newRow("the description box's typing, Ctrl+Shift+Z") << "description" << true << true;
    }
    void undoAndRedoKeys()
    {
        QFETCH(QString, field);
        QFETCH(bool, typed);
        QFETCH(bool, shiftZ);

        TestProgram program;
        QWidget* target = program.F().PClose;
        QLineEdit* line = nullptr;
        QPlainTextEdit* box = nullptr;
        if (field == "border") {
            program.FBox().PCTRL->setCurrentWidget(program.FBox().Prop);
            program.FBox().PageControl1->setCurrentWidget(program.FBox().TabSheet2);
            line = program.FBox().P_border->lineEdit();
            target = line;
        } else if (field == "description") {
            QVERIFY(Activate(program.F()));
            program.F().Op1->setFocus(); // its editor is laid over it now
            box = program.F().Op1->editor();
            QVERIFY(box);
            target = box;
        }
        const auto text = [&] { return line ? line->text() : box ? box->toPlainText() : QString(); };
        const QString untyped = text();
        QVERIFY(Activate(*target->window()));
        target->setFocus();
        if (typed) {
            if (line) line->selectAll();
            QTest::keyClick(target, Qt::Key_3);
            QVERIFY(text() != untyped);
        }
        const QString before = text();
        const int stepsBefore = program.FBox().history().stack().count();
        MakeUnsavedEdit(program);
        const auto redo = [&] {
            if (shiftZ)
                QTest::keyClick(target, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            else
                QTest::keyClick(target, Qt::Key_Y, Qt::ControlModifier);
        };

        QTest::keyClick(target, Qt::Key_Z, Qt::ControlModifier);
        if (typed) {
            // The field's typing goes; the skin's step stays.
            QCOMPARE(text(), untyped);
            QCOMPARE(program.F().PClose->pos(), QPoint(100, 100));
            redo();
            QCOMPARE(text(), before);
            QCOMPARE(program.F().PClose->pos(), QPoint(100, 100));
            QVERIFY(program.dialogs->errors.isEmpty());
            return;
        }
        QCOMPARE(program.F().PClose->pos(), QPoint(464, 16));
        QCOMPARE(program.FBox().history().stack().index(), stepsBefore);
        QCOMPARE(text(), before);

        redo();
        QCOMPARE(program.F().PClose->pos(), QPoint(100, 100));
        QCOMPARE(program.FBox().history().stack().index(), stepsBefore + 1);

        // With nothing to undo (a new history, as after a load) the key does
        // nothing, in the field too.
        program.FBox().history().stack().clear();
        QTest::keyClick(target, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(program.F().PClose->pos(), QPoint(100, 100));
        QCOMPARE(text(), before);
        QVERIFY(program.dialogs->errors.isEmpty());
    }

    // The real question box: its look, and each way of answering it.
    void questionBox_data()
    {
        QTest::addColumn<QString>("press");
        QTest::addColumn<SaveChangesAnswer>("answer");
        QTest::newRow("Zapisz") << "Zapisz" << SaveChangesAnswer::Save;
        QTest::newRow("Nie zapisuj") << "Nie zapisuj" << SaveChangesAnswer::Discard;
        QTest::newRow("Anuluj") << "Anuluj" << SaveChangesAnswer::Cancel;
        QTest::newRow("Enter") << "Enter" << SaveChangesAnswer::Save;
        QTest::newRow("Escape") << "Escape" << SaveChangesAnswer::Cancel;
    }
    void questionBox()
    {
        QFETCH(QString, press);
        QFETCH(SaveChangesAnswer, answer);

        QStringList seen;
        QTimer answering;
        answering.setInterval(10);
        connect(&answering, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) return;
            answering.stop();
            seen << box->windowTitle() << box->text();
            // Sorted: each platform lays them out in its own order.
            QStringList buttons;
            for (QAbstractButton* button : box->buttons())
                buttons << button->text();
            buttons.sort();
            seen << buttons << QString::number(int(box->icon() == QMessageBox::Question))
                 << QString::number(int(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint)))
                 << box->defaultButton()->text();
            if (press == QLatin1String("Enter"))
                QTest::keyClick(box, Qt::Key_Return);
            else if (press == QLatin1String("Escape"))
                QTest::keyClick(box, Qt::Key_Escape);
            else
                for (QAbstractButton* button : box->buttons())
                    if (button->text() == press) button->click();
        });
        answering.start();
        const SaveChangesAnswer got =
            StandardDialogs().askSaveChanges(QStringLiteral("Fabulor Skin Builder"), Question);
        QCOMPARE(got, answer);
        QCOMPARE(seen, (QStringList{"Fabulor Skin Builder", Question, "Anuluj", "Nie zapisuj", "Zapisz", "1",
                                    "1", "Zapisz"}));
    }

private:
    QTemporaryDir m_dir;
};

FSB_PROGRAM_TEST_MAIN(UnsavedTest)
#include "test_unsaved.moc"
