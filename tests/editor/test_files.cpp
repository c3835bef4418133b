// Opening and saving without the "Plik" tab's buttons: a skin file named on
// the command line, files dropped onto either window, Ctrl+O and Ctrl+S, the
// recent skins, and the editor's --help and --version. And what a save meets
// on disk: a file another program changed, a full disk, symbolic links, and
// names that are no UTF-8.

#include "app/CommandLine.h"
#include "editor/RecentSkins.h"
#include "editor/SettingsWindow.h"
#include "editor/Steps.h"
#include "pictures/TransparentForm.h"
#include "skinfile/SkinEntry.h"
#include "support/TestData.h"
#include "support/TestProgram.h"
#include "widgets/FileNameEdit.h"
#include "widgets/FileNames.h"
#include "widgets/Panel.h"
#include "widgets/PictureBox.h"
#include "widgets/SpinEdit.h"
#include "widgets/StaticText.h"
#include "widgets/WindowGeometry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>
#include <QUrl>

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace fabulor;
using fabulor::testing::TestProgram;

namespace {

const QString Jpeg = testing::TestData::Jpeg320x240;
const QString Mask400x300 = testing::TestData::Mask400x300;

// A skin whose menu button sits at left, top: enough to tell skins apart.
void WriteSkin(const QString& path, QPoint menu)
{
    const std::string text =
        "[PMenu]\r\nT=" + std::to_string(menu.y()) + "\r\nL=" + std::to_string(menu.x()) + "\r\n\r\n";
    TZipKit zip;
    MemoryStream stream;
    stream.write(text);
    SaveSkinEntry(QFile::encodeName(path).toStdString(), stream, zip);
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

std::string Hex(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toHex().toUpper().toStdString();
}

// Moves the close button as a drag does: one step of the history.
void MakeUnsavedEdit(TestProgram& program, QPoint to = {100, 100})
{
    TFBox& box = program.FBox();
    box.history().begin(QStringLiteral("przesunięcie PClose"), StepParts::geometry(3, false));
    program.F().PClose->move(to);
    box.history().end();
}

QMimeData* Files(const QStringList& paths)
{
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << (path.contains(QLatin1String("://")) ? QUrl(path) : QUrl::fromLocalFile(path));
    data->setUrls(urls);
    // File managers offer the names as plain text too, which line edits take.
    data->setText(paths.join(QLatin1Char('\n')));
    return data;
}

constexpr Qt::DropActions Offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;

// Drags data over target to at (target's coordinates), as the window system
// delivers it: whether the window would take it there.
bool DragOver(QWidget* target, QPoint at, const QMimeData* data, Qt::KeyboardModifiers modifiers = {})
{
    QDragEnterEvent enter(at, Offered, data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Offered, data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(target, &move);
    QDragLeaveEvent leave;
    QApplication::sendEvent(target, &leave);
    // The file stays where it is: only a copy is taken.
    return move.isAccepted() && move.dropAction() == Qt::CopyAction;
}

// Drags data there and drops it; whatever the drop does runs before this
// returns. Whether the drop was taken.
bool Drop(QWidget* target, QPoint at, const QMimeData* data, Qt::KeyboardModifiers modifiers = {})
{
    QDragEnterEvent enter(at, Offered, data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Offered, data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(at, Offered, data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(target, &drop);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents(); // a failure reaches the error box from a queued call
    return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}

// The preview's picture boxes by name.
PictureBox* PictureNamed(TF& f, const QString& name)
{
    const QHash<QString, PictureBox*> boxes{{"BClose", f.BClose}, {"BMini", f.BMini}, {"BUwaga", f.BUwaga}};
    return boxes.value(name);
}

bool Activate(QWidget& window)
{
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

QStringList Names(const QListWidget* list)
{
    QStringList names;
    for (int row = 0; row < list->count(); ++row)
        names << list->item(row)->text();
    return names;
}

// What is at a path now, as bytes; empty when nothing is.
QByteArray Bytes(const std::string& path)
{
    QFile file;
    std::FILE* stream = std::fopen(path.c_str(), "rb");
    if (!stream || !file.open(stream, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) return {};
    return file.readAll();
}

struct timespec ModificationTime(const QString& path)
{
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mtim;
}

void SetModificationTime(const QString& path, struct timespec when)
{
    const struct timespec times[2] = {{0, UTIME_OMIT}, when};
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

// Empties a folder by its bytes when it ends: QTemporaryDir goes by Qt's
// listing, which leaves out names that are no UTF-8, and could not remove it.
struct EmptiedAtEnd {
    std::string folder;
    ~EmptiedAtEnd()
    {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(folder, ignored))
            std::filesystem::remove_all(entry.path(), ignored);
    }
};

void ClickRecent(TestProgram& program, int row)
{
    QListWidget* list = program.FBox().recentSkins().RecentList;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

} // namespace

class FilesTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QSettings(QStringLiteral("Fabulor"), QStringLiteral("Skin Builder")).clear();
    }

    // --- The command line ----------------------------------------------

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<CommandLine::Action>("action");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("text"); // what the text starts with
        const QString usage = QStringLiteral("Usage: skinbuilder [options] [FILE.ski]\n");
        QTest::newRow("nothing") << QStringList{} << CommandLine::Action::Start << QString() << QString();
        QTest::newRow("a file") << QStringList{"a b.ski"} << CommandLine::Action::Start << "a b.ski"
                                << QString();
        QTest::newRow("a file after --")
            << QStringList{"--", "-dash.ski"} << CommandLine::Action::Start << "-dash.ski" << QString();
        QTest::newRow("--help") << QStringList{"--help"} << CommandLine::Action::Help << QString() << usage;
        QTest::newRow("-h") << QStringList{"-h"} << CommandLine::Action::Help << QString() << usage;
        QTest::newRow("help wins") << QStringList{"a.ski", "b.ski", "--bogus", "--help"}
                                   << CommandLine::Action::Help << QString() << usage;
        QTest::newRow("--version") << QStringList{"--version"} << CommandLine::Action::Version << QString()
                                   << QStringLiteral("skinbuilder " FSB_PROJECT_VERSION "\n");
        QTest::newRow("-v") << QStringList{"x.ski", "-v"} << CommandLine::Action::Version << QString()
                            << QStringLiteral("skinbuilder " FSB_PROJECT_VERSION "\n");
        QTest::newRow("two files") << QStringList{"a.ski", "b.ski"} << CommandLine::Action::Error << QString()
                                   << "skinbuilder: Only one skin file can be opened.\n\n" + usage;
        QTest::newRow("unknown option") << QStringList{"--bogus"} << CommandLine::Action::Error << QString()
                                        << "skinbuilder: " + UnknownOption("bogus") + "\n\n" + usage;
        // Qt's own options are single-dash words: one holding an h is no -h.
        QTest::newRow("a word, not letters") << QStringList{"-stylesheet"} << CommandLine::Action::Error
                                             << QString() << "skinbuilder: " + UnknownOption("stylesheet");
    }
    // Qt's parser words its errors in the language of the translations
    // loaded; the tests' program has loaded the Polish ones.
    static QString UnknownOption(const char* name)
    {
        return QCoreApplication::translate("QCommandLineParser", "Unknown option '%1'.")
            .arg(QLatin1String(name));
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(CommandLine::Action, action);
        QFETCH(QString, file);
        QFETCH(QString, text);
        const CommandLine line = ParseCommandLine(QStringList{"/usr/bin/skinbuilder"} + arguments);
        QCOMPARE(line.action, action);
        QCOMPARE(line.skinFile, file);
        QVERIFY2(line.text.startsWith(text), qPrintable(line.text));
        if (action == CommandLine::Action::Help || action == CommandLine::Action::Error) {
            QVERIFY(line.text.contains(QLatin1String("--version")));
            QVERIFY(line.text.contains(QLatin1String("FILE.ski")));
        }
    }

    // The executable answers without a display: nothing of the window
    // system is reached.
    void executableAnswersWithoutADisplay_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::newRow("--version") << "--version" << 0 << "skinbuilder " FSB_PROJECT_VERSION "\n"
                                   << "";
        QTest::newRow("--help") << "--help" << 0 << "Usage: skinbuilder [options] [FILE.ski]\n"
                                << "";
    }
    void executableAnswersWithoutADisplay()
    {
        QFETCH(QString, option);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(FSB_SKINBUILDER), {option});
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), exitCode);
        QVERIFY(QString::fromLocal8Bit(process.readAllStandardOutput()).startsWith(out));
        QCOMPARE(QString::fromLocal8Bit(process.readAllStandardError()), err);
    }

    void fileNamedAtStart_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("error"); // after the file's full name
        QTest::newRow("a skin") << "skin" << QString();
        QTest::newRow("missing") << "missing"
                                 << "Cannot open file %1.";
        QTest::newRow("not a skin file") << "foreign"
                                         << "Invalid file - not a PKZip file.";
        QTest::newRow("a folder") << "folder"
                                  << "Cannot open file %1.";
    }
    void fileNamedAtStart()
    {
        QFETCH(QString, kind);
        QFETCH(QString, error);
        const QString path = m_dir.filePath(kind + QStringLiteral(".ski"));
        if (kind == QLatin1String("skin")) WriteSkin(path, {11, 12});
        if (kind == QLatin1String("foreign")) WriteFile(path, "just some notes, not an archive");
        if (kind == QLatin1String("folder")) QVERIFY(QDir(m_dir.path()).mkpath(path));

        TestProgram program;
        const std::string defaultText = program.text();
        program.builder->openAtStart(path);
        // Reported once the event loop runs, as a handler's failure is.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();

        error.replace(QLatin1String("%1"), path);
        QCOMPARE(program.dialogs->errors, error.isEmpty() ? QStringList() : QStringList{error});
        QCOMPARE(program.dialogs->errorCaptions.size(), program.dialogs->errors.size());
        QVERIFY(program.dialogs->saveChangesQuestions.isEmpty());
        QVERIFY(program.dialogs->fileDialogs.isEmpty());
        QCOMPARE(program.FBox().history().stack().count(), 0);
        QVERIFY(!program.FBox().isWindowModified());
        if (error.isEmpty()) {
            QCOMPARE(program.F().PMenu->pos(), QPoint(11, 12));
            // As the load button loads the same file.
            TestProgram button;
            button.dialogs->answerFile(path);
            QTest::mouseClick(button.FBox().Button1, Qt::LeftButton);
            QCOMPARE(program.text(), button.text());
            QCOMPARE(RecentSkinFiles(), QStringList{path});
        } else {
            QCOMPARE(program.F().PMenu->pos(), QPoint(396, 16));
            QCOMPARE(program.text(), defaultText);
            QVERIFY(RecentSkinFiles().isEmpty());
        }
    }

    // --- Drops ------------------------------------------------------------

    void droppedSkinFileOpens_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<SaveChangesAnswer>("answer"); // to the unsaved-changes question
        QTest::addColumn<bool>("loads");
        for (const char* where : {"preview", "preview button", "settings", "settings editor"}) {
            QTest::addRow("%s", where) << where << SaveChangesAnswer::Discard << true;
            QTest::addRow("%s, question cancelled", where) << where << SaveChangesAnswer::Cancel << false;
        }
    }
    void droppedSkinFileOpens()
    {
        QFETCH(QString, where);
        QFETCH(SaveChangesAnswer, answer);
        QFETCH(bool, loads);
        const QString path = m_dir.filePath(QStringLiteral("Dropped.SKI"));
        WriteSkin(path, {11, 12});

        TestProgram program;
        MakeUnsavedEdit(program);
        program.dialogs->saveChangesAnswers.push_back(answer);
        QWidget* target = &program.F();
        QPoint at(550, 25);
        if (where == QLatin1String("preview button")) {
            target = program.F().BClose;
            at = {5, 5};
        } else if (where == QLatin1String("settings")) {
            target = &program.FBox();
            at = {140, 200};
        } else if (where == QLatin1String("settings editor")) {
            // A line edit would take the file's name as text.
            program.FBox().PCTRL->setCurrentWidget(program.FBox().Rozm);
            target = program.FBox().FW->lineEdit();
            at = {3, 3};
        }
        const QString editorText = program.FBox().FW->text();
        const std::unique_ptr<QMimeData> data(Files({path}));
        QVERIFY(DragOver(target, at, data.get()));
        QVERIFY(Drop(target, at, data.get()));

        QCOMPARE(program.dialogs->saveChangesQuestions.size(), 1);
        QVERIFY(program.dialogs->fileDialogs.isEmpty());
        QVERIFY(program.dialogs->errors.isEmpty());
        QCOMPARE(program.FBox().FW->text(), editorText);
        if (loads) {
            QCOMPARE(program.F().PMenu->pos(), QPoint(11, 12));
            QCOMPARE(program.F().PClose->pos(), QPoint(464, 16));
            QCOMPARE(program.FBox().history().stack().count(), 0);
            QCOMPARE(RecentSkinFiles(), QStringList{path});
        } else {
            QCOMPARE(program.F().PMenu->pos(), QPoint(396, 16));
            QCOMPARE(program.F().PClose->pos(), QPoint(100, 100));
            QCOMPARE(program.FBox().history().stack().count(), 1);
            QVERIFY(RecentSkinFiles().isEmpty());
        }
    }

    void droppedDamagedSkinFileKeepsTheSkin()
    {
        const QString path = m_dir.filePath(QStringLiteral("damaged.ski"));
        WriteFile(path, "just some notes, not an archive");
        TestProgram program;
        MakeUnsavedEdit(program);
        const std::string before = program.text();
        const std::unique_ptr<QMimeData> data(Files({path}));
        QVERIFY(Drop(&program.F(), {550, 25}, data.get()));
        QCOMPARE(program.dialogs->errors, QStringList{"Invalid file - not a PKZip file."});
        QCOMPARE(program.text(), before);
        QCOMPARE(program.F().PClose->pos(), QPoint(100, 100));
        QCOMPARE(program.FBox().history().stack().count(), 1);
        QVERIFY(RecentSkinFiles().isEmpty());
    }

    // A picture dropped onto a button is the picture band's choice, made for
    // the button a press selects.
    void droppedPictureOnAButton_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("step");
        QTest::newRow("mouse-out") << "BClose" << false << 3 << "PClose"
                                   << "obrazek MouseOut PClose";
        QTest::newRow("mouse-over") << "BMini" << true << 4 << "PMini"
                                    << "obrazek Mouse Over PMini";
        QTest::newRow("warning, mouse-out") << "BUwaga" << false << 16 << "PUwaga"
                                            << "obrazek MouseOut PUwaga";
    }
    void droppedPictureOnAButton()
    {
        QFETCH(QString, button);
        QFETCH(bool, shift);
        QFETCH(int, index);
        QFETCH(QString, section);
        QFETCH(QString, step);
        TestProgram program;
        TFBox& box = program.FBox();
        PictureBox* target = PictureNamed(program.F(), button);
        QVERIFY(target);
        QWidget* panel = target->parentWidget();
        const QSize sizeBefore = panel->size();
        const std::string before = program.text();
        const Qt::KeyboardModifiers modifiers = shift ? Qt::ShiftModifier : Qt::NoModifier;
        const std::unique_ptr<QMimeData> data(Files({Jpeg}));
        QVERIFY(DragOver(target, {4, 4}, data.get(), modifiers));
        QVERIFY(Drop(target, {4, 4}, data.get(), modifiers));

        QVERIFY(program.dialogs->errors.isEmpty());
        QVERIFY(program.dialogs->fileDialogs.isEmpty());
        // Selected as a press selects it.
        QCOMPARE(box.currentComponent(), index);
        QCOMPARE(box.PCTRL->currentWidget(), box.Comps);
        const std::string key = section.toStdString();
        QCOMPARE(program.doc().readString(key, shift ? "MP2" : "MP1", ""), Hex(Jpeg));
        QCOMPARE(program.doc().readString(key, shift ? "MP1" : "MP2", "none"), std::string("none"));
        QCOMPARE((shift ? box.MP2 : box.MP1)->text(), Jpeg);
        QCOMPARE(bool(target->picture().jpeg()), !shift);
        QCOMPARE(panel->size(), shift ? sizeBefore : QSize(320, 240));

        // One step, which undo takes back whole.
        QCOMPARE(box.history().stack().count(), 1);
        QCOMPARE(box.history().stack().undoText(), step);
        box.history().stack().undo();
        QCOMPARE(program.doc().readString(key, shift ? "MP2" : "MP1", "none"), std::string("none"));
        QCOMPARE((shift ? box.MP2 : box.MP1)->text(), QString());
        QVERIFY(!target->picture().jpeg());
        QCOMPARE(panel->size(), sizeBefore);
        QCOMPARE(program.text(), before);
    }

    void droppedBitmapSetsTheMask_data()
    {
        QTest::addColumn<bool>("onTheTab");
        QTest::addColumn<bool>("skinOn"); // "Użyj skóry" before the drop
        QTest::newRow("the tab, skin off") << true << false;
        QTest::newRow("the tab, skin on") << true << true;
        QTest::newRow("the mask field, skin on") << false << true;
        QTest::newRow("the page, skin off") << false << false;
    }
    void droppedBitmapSetsTheMask()
    {
        QFETCH(bool, onTheTab);
        QFETCH(bool, skinOn);
        TestProgram program;
        TFBox& box = program.FBox();
        if (skinOn) {
            box.CheckBox2->setChecked(true);
            box.history().stack().clear();
        }
        const QSize sizeBefore = outerSize(&program.F());
        QWidget* target = box.PCTRL->tabBar();
        QPoint at = box.PCTRL->tabBar()->tabRect(box.PCTRL->indexOf(box.Skora)).center();
        if (!onTheTab) {
            box.PCTRL->setCurrentWidget(box.Skora);
            target = skinOn ? static_cast<QWidget*>(box.Maska->lineEdit()) : box.Skora;
            at = skinOn ? QPoint(3, 3) : QPoint(20, 230);
        }
        const std::unique_ptr<QMimeData> data(Files({Mask400x300}));
        QVERIFY(DragOver(target, at, data.get()));
        QVERIFY(Drop(target, at, data.get()));

        QVERIFY(program.dialogs->errors.isEmpty());
        QCOMPARE(box.PCTRL->currentWidget(), box.Skora);
        QVERIFY(box.CheckBox2->isChecked());
        QVERIFY(box.Panel1->isEnabled());
        QCOMPARE(box.Maska->text(), Mask400x300);
        QCOMPARE(program.doc().readString("Skin", "Maska", ""), Hex(Mask400x300));
        QVERIFY(program.F().Mask->active());
        QCOMPARE(outerSize(&program.F()), QSize(400, 300));
        QCOMPARE(box.history().stack().count(), 1);
        QCOMPARE(box.history().stack().undoText(), QStringLiteral("maska"));

        box.history().stack().undo();
        QCOMPARE(box.CheckBox2->isChecked(), skinOn);
        QCOMPARE(box.Panel1->isEnabled(), skinOn);
        QCOMPARE(box.Maska->text(), QString());
        QCOMPARE(program.doc().readString("Skin", "Maska", "none"), std::string("none"));
        QVERIFY(!program.F().Mask->active());
        QCOMPARE(outerSize(&program.F()), sizeBefore);
        box.history().stack().redo();
        QVERIFY(box.CheckBox2->isChecked());
        QVERIFY(program.F().Mask->active());
    }

    // What no drop target takes: the drag is refused where it is, and
    // dropping anyway changes nothing.
    void refusedDrops_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("where");
        QTest::addColumn<bool>("shift");
        QTest::newRow("picture on the background") << "jpeg"
                                                   << "background" << false;
        QTest::newRow("picture on a label") << "jpeg"
                                            << "label" << false;
        QTest::newRow("picture on the settings window") << "jpeg"
                                                        << "settings" << false;
        // A line edit would take the file's name as its text.
        QTest::newRow("picture on an editor") << "jpeg"
                                              << "editor" << false;
        QTest::newRow("mouse-over of the warning sign") << "jpeg"
                                                        << "BUwaga" << true;
        QTest::newRow("text file on a button") << "text"
                                               << "BClose" << false;
        QTest::newRow("bitmap on another tab") << "mask"
                                               << "Rozmiar tab" << false;
        QTest::newRow("bitmap on the skin picture's field") << "mask"
                                                            << "skin field" << false;
        QTest::newRow("mask on the preview background") << "mask"
                                                        << "background" << false;
        QTest::newRow("a folder named .ski") << "folder.ski"
                                             << "background" << false;
        QTest::newRow("a pipe named .jpg") << "pipe.jpg"
                                           << "BClose" << false;
        QTest::newRow("a pipe named .ski") << "pipe.ski"
                                           << "settings" << false;
        QTest::newRow("a file that is gone") << "gone.ski"
                                             << "background" << false;
        QTest::newRow("two skin files") << "two"
                                        << "background" << false;
        QTest::newRow("a remote skin") << "remote"
                                       << "background" << false;
    }
    void refusedDrops()
    {
        QFETCH(QString, file);
        QFETCH(QString, where);
        QFETCH(bool, shift);
        QStringList files;
        if (file == QLatin1String("jpeg")) files << Jpeg;
        if (file == QLatin1String("mask")) files << Mask400x300;
        if (file == QLatin1String("text")) {
            files << m_dir.filePath(QStringLiteral("notes.txt"));
            WriteFile(files.front(), "notes");
        }
        if (file.startsWith(QLatin1String("folder"))) {
            files << m_dir.filePath(file);
            QVERIFY(QDir(m_dir.path()).mkpath(files.front()));
        }
        if (file.startsWith(QLatin1String("pipe"))) {
            files << m_dir.filePath(file);
            QFile::remove(files.front());
            QCOMPARE(::mkfifo(QFile::encodeName(files.front()).constData(), 0600), 0);
        }
        if (file == QLatin1String("gone.ski")) files << m_dir.filePath(file);
        if (file == QLatin1String("two")) {
            files << m_dir.filePath(QStringLiteral("one.ski")) << m_dir.filePath(QStringLiteral("two.ski"));
            WriteSkin(files[0], {1, 1});
            WriteSkin(files[1], {2, 2});
        }
        if (file == QLatin1String("remote")) files << QStringLiteral("https://example.org/skin.ski");

        TestProgram program;
        TFBox& box = program.FBox();
        const std::string before = program.text();
        QWidget* target = &program.F();
        QPoint at(550, 25);
        if (where == QLatin1String("label")) {
            target = program.F().L1;
            at = {2, 2};
        } else if (where == QLatin1String("settings")) {
            target = &box;
            at = {140, 200};
        } else if (where == QLatin1String("editor")) {
            target = box.MP1->lineEdit();
            at = {3, 3};
        } else if (where == QLatin1String("skin field")) {
            box.CheckBox2->setChecked(true);
            box.history().stack().clear();
            box.PCTRL->setCurrentWidget(box.Skora);
            target = box.Skin->lineEdit();
            at = {3, 3};
        } else if (where == QLatin1String("Rozmiar tab")) {
            target = box.PCTRL->tabBar();
            at = box.PCTRL->tabBar()->tabRect(box.PCTRL->indexOf(box.Rozm)).center();
        } else if (where != QLatin1String("background")) {
            target = PictureNamed(program.F(), where);
            at = {4, 4};
        }
        QVERIFY(target);
        QWidget* const page = box.PCTRL->currentWidget();
        const Qt::KeyboardModifiers modifiers = shift ? Qt::ShiftModifier : Qt::NoModifier;
        const std::unique_ptr<QMimeData> data(Files(files));
        QVERIFY(!DragOver(target, at, data.get(), modifiers));
        Drop(target, at, data.get(), modifiers);

        QCOMPARE(program.text(), before);
        QCOMPARE(box.history().stack().count(), 0);
        QCOMPARE(box.PCTRL->currentWidget(), page);
        QCOMPARE(box.MP1->text(), QString());
        QCOMPARE(box.Maska->text(), QString());
        QVERIFY(program.dialogs->errors.isEmpty());
        QVERIFY(program.dialogs->saveChangesQuestions.isEmpty());
        QVERIFY(RecentSkinFiles().isEmpty());
    }

    // --- Ctrl+O and Ctrl+S -------------------------------------------------

    void fileKeys_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("preview") << "preview";
        QTest::newRow("settings window") << "settings";
        QTest::newRow("an editor with the focus") << "editor";
    }
    void fileKeys()
    {
        QFETCH(QString, where);
        TestProgram program;
        TFBox& box = program.FBox();
        QWidget* target = &program.F();
        if (where != QLatin1String("preview")) target = &box;
        if (where == QLatin1String("editor")) {
            box.PCTRL->setCurrentWidget(box.Rozm);
            box.FW->lineEdit()->setFocus();
            target = box.FW->lineEdit();
        }
        QVERIFY(Activate(*target->window()));

        // Ctrl+S saves as "Zapisz do pliku" does.
        MakeUnsavedEdit(program);
        const QString path = m_dir.filePath(QStringLiteral("keys.ski"));
        QFile::remove(path);
        program.dialogs->answerFile(path);
        QTest::keyClick(target, Qt::Key_S, Qt::ControlModifier);
        QCoreApplication::processEvents();
        QCOMPARE(program.dialogs->fileDialogs.size(), 1);
        QCOMPARE(program.dialogs->fileDialogs.at(0).kind, FileDialogOptions::Kind::Save);
        QVERIFY(QFileInfo::exists(path));
        QVERIFY(box.history().stack().isClean());

        // Ctrl+O loads as "Wczytaj z pliku" does, asking first.
        WriteSkin(path, {11, 12});
        MakeUnsavedEdit(program, {50, 50});
        program.dialogs->saveChangesAnswers.push_back(SaveChangesAnswer::Discard);
        program.dialogs->answerFile(path);
        QTest::keyClick(target, Qt::Key_O, Qt::ControlModifier);
        QCoreApplication::processEvents();
        QCOMPARE(program.dialogs->saveChangesQuestions.size(), 1);
        QCOMPARE(program.dialogs->fileDialogs.size(), 2);
        QCOMPARE(program.dialogs->fileDialogs.at(1).kind, FileDialogOptions::Kind::Open);
        QCOMPARE(program.F().PMenu->pos(), QPoint(11, 12));
        QCOMPARE(box.history().stack().count(), 0);

        // Failures reach the error box as the buttons' do.
        WriteFile(path, "just some notes, not an archive");
        program.dialogs->answerFile(path);
        QTest::keyClick(target, Qt::Key_O, Qt::ControlModifier);
        QCoreApplication::processEvents();
        QCOMPARE(program.dialogs->errors, QStringList{"Invalid file - not a PKZip file."});
        QCOMPARE(program.F().PMenu->pos(), QPoint(11, 12));
        if (where == QLatin1String("editor")) QCOMPARE(box.FW->lineEdit()->text(), box.FW->text());
    }

    // --- Recent skins -----------------------------------------------------

    void recentSkinsOnThePlikTab()
    {
        TestProgram program;
        TFBox& box = program.FBox();
        QCOMPARE(box.recentSkins().RecentLabel->text(), QStringLiteral("Ostatnie skórki:"));
        QCOMPARE(box.recentSkins().RecentList->count(), 0);
        // Below "Cofnij" and "Ponów", inside the tab.
        QVERIFY(box.recentSkins().RecentLabel->geometry().top() >=
                box.historyButtons().UndoButton->geometry().bottom());
        QVERIFY(box.Plik->rect().contains(box.recentSkins().RecentLabel->geometry()));
        QVERIFY2(box.Plik->rect().contains(box.recentSkins().RecentList->geometry()),
                 qPrintable(QStringLiteral("page %1x%2").arg(box.Plik->width()).arg(box.Plik->height())));

        // Opened and saved, by every route, newest first, each once, five at most.
        QStringList paths;
        for (int i = 0; i < 7; ++i) {
            paths << m_dir.filePath(QStringLiteral("recent%1.ski").arg(i));
            WriteSkin(paths.back(), {i, i});
        }
        program.dialogs->answerFile(paths[0]);
        QTest::mouseClick(box.Button1, Qt::LeftButton);
        program.dialogs->answerFile(paths[1]);
        QTest::mouseClick(box.Button2, Qt::LeftButton);
        program.builder->openAtStart(paths[2]);
        const std::unique_ptr<QMimeData> data(Files({paths[3]}));
        Drop(&program.F(), {550, 25}, data.get());
        program.dialogs->answerFile(paths[0]);
        QTest::mouseClick(box.Button1, Qt::LeftButton);
        QCOMPARE(Names(box.recentSkins().RecentList),
                 (QStringList{"recent0.ski", "recent3.ski", "recent2.ski", "recent1.ski"}));
        QCOMPARE(box.recentSkins().RecentList->item(0)->toolTip(), paths[0]);
        QCOMPARE(RecentSkinFiles(), (QStringList{paths[0], paths[3], paths[2], paths[1]}));

        for (int i = 4; i < 7; ++i)
            program.builder->openAtStart(paths[i]);
        QCOMPARE(Names(box.recentSkins().RecentList),
                 (QStringList{"recent6.ski", "recent5.ski", "recent4.ski", "recent0.ski", "recent3.ski"}));

        // Neither a cancelled save nor a failed load is remembered.
        program.dialogs->cancelFile();
        QTest::mouseClick(box.Button2, Qt::LeftButton);
        const QString foreign = m_dir.filePath(QStringLiteral("foreign.ski"));
        WriteFile(foreign, "just some notes, not an archive");
        program.dialogs->answerFile(foreign);
        QTest::mouseClick(box.Button1, Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(RecentSkinFiles().size(), RecentSkinCount);
        QCOMPARE(RecentSkinFiles().front(), paths[6]);

        // Kept for the next run, under the program's own settings.
        QCOMPARE(QSettings(QStringLiteral("Fabulor"), QStringLiteral("Skin Builder"))
                     .value(QStringLiteral("recentSkins"))
                     .toStringList(),
                 RecentSkinFiles());
        TestProgram next;
        QCOMPARE(Names(next.FBox().recentSkins().RecentList), Names(box.recentSkins().RecentList));
    }

    void clickingARecentSkinOpensIt()
    {
        const QString first = m_dir.filePath(QStringLiteral("first.ski"));
        const QString second = m_dir.filePath(QStringLiteral("second.ski"));
        WriteSkin(first, {11, 12});
        WriteSkin(second, {21, 22});
        RememberSkinFile(first);
        RememberSkinFile(second);

        TestProgram program;
        TFBox& box = program.FBox();
        QCOMPARE(Names(box.recentSkins().RecentList), (QStringList{"second.ski", "first.ski"}));
        MakeUnsavedEdit(program);

        // The question first; cancelled, nothing happens.
        program.dialogs->saveChangesAnswers.push_back(SaveChangesAnswer::Cancel);
        ClickRecent(program, 1);
        QCOMPARE(program.dialogs->saveChangesQuestions.size(), 1);
        QCOMPARE(program.F().PClose->pos(), QPoint(100, 100));
        QCOMPARE(box.history().stack().count(), 1);
        QCOMPARE(Names(box.recentSkins().RecentList), (QStringList{"second.ski", "first.ski"}));

        program.dialogs->saveChangesAnswers.push_back(SaveChangesAnswer::Discard);
        ClickRecent(program, 1);
        QCOMPARE(program.F().PMenu->pos(), QPoint(11, 12));
        QCOMPARE(program.F().PClose->pos(), QPoint(464, 16));
        QCOMPARE(box.history().stack().count(), 0);
        QCOMPARE(Names(box.recentSkins().RecentList), (QStringList{"first.ski", "second.ski"}));

        // Enter opens the one the keyboard reached.
        box.recentSkins().RecentList->setCurrentRow(1);
        QTest::keyClick(box.recentSkins().RecentList, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(program.F().PMenu->pos(), QPoint(21, 22));
        QVERIFY(program.dialogs->errors.isEmpty());
        QVERIFY(program.dialogs->fileDialogs.isEmpty());
    }

    void aRecentSkinThatIsGone()
    {
        const QString kept = m_dir.filePath(QStringLiteral("kept.ski"));
        const QString gone = m_dir.filePath(QStringLiteral("gone.ski"));
        WriteSkin(kept, {11, 12});
        WriteSkin(gone, {21, 22});
        RememberSkinFile(gone);
        RememberSkinFile(kept);

        TestProgram program;
        TFBox& box = program.FBox();
        const QColor normal = box.recentSkins().RecentList->item(1)->foreground().color();
        const QColor grey = box.recentSkins().RecentList->palette().color(QPalette::Disabled, QPalette::Text);
        QVERIFY(normal != grey);
        // Read again as the window is activated, by the press that may be
        // about to click an entry: an unchanged list keeps its items.
        const QListWidgetItem* first = box.recentSkins().RecentList->item(0);
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&box, &activate);
        QCOMPARE(box.recentSkins().RecentList->item(0), first);
        // Gone while the program runs: greyed when the tab comes into view again.
        QVERIFY(QFile::remove(gone));
        box.PCTRL->setCurrentWidget(box.Rozm);
        box.PCTRL->setCurrentWidget(box.Plik);
        QCOMPARE(box.recentSkins().RecentList->item(1)->foreground().color(), grey);
        QVERIFY(box.recentSkins().RecentList->item(0)->foreground().color() != grey);

        MakeUnsavedEdit(program);
        const std::string before = program.text();
        ClickRecent(program, 1);
        QCOMPARE(program.dialogs->errors, QStringList{"Plik nie istnieje: " + gone + "."});
        QCOMPARE(program.dialogs->errorCaptions, QStringList{"Fabulor Skin Builder"});
        // Nothing asked, nothing loaded, the name forgotten.
        QVERIFY(program.dialogs->saveChangesQuestions.isEmpty());
        QCOMPARE(program.text(), before);
        QCOMPARE(box.history().stack().count(), 1);
        QCOMPARE(Names(box.recentSkins().RecentList), QStringList{"kept.ski"});
        QCOMPARE(RecentSkinFiles(), QStringList{kept});
    }

    // The settings file is the user's to edit: whatever it holds, the list
    // stays a list of at most five absolute names, each once.
    void damagedSettingsAreReadSafely_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("one name, not a list")
            << QVariant(QStringLiteral("/a/b.ski")) << QStringList{"/a/b.ski"};
        QTest::newRow("a number") << QVariant(42) << QStringList{};
        QTest::newRow("relative and empty names")
            << QVariant(QStringList{"", "b.ski", "/a/./c/../b.ski"}) << QStringList{"/a/b.ski"};
        QTest::newRow("repeated names")
            << QVariant(QStringList{"/x.ski", "/y.ski", "//x.ski"}) << QStringList{"/x.ski", "/y.ski"};
        QTest::newRow("too many") << QVariant(QStringList{"/1", "/2", "/3", "/4", "/5", "/6", "/7"})
                                  << QStringList{"/1", "/2", "/3", "/4", "/5"};
    }
    void damagedSettingsAreReadSafely()
    {
        QFETCH(QVariant, stored);
        QFETCH(QStringList, listed);
        QSettings(QStringLiteral("Fabulor"), QStringLiteral("Skin Builder")).setValue("recentSkins", stored);
        QCOMPARE(RecentSkinFiles(), listed);
        TestProgram program;
        QCOMPARE(program.FBox().recentSkins().RecentList->count(), listed.size());
        RememberSkinFile(QStringLiteral("/new.ski"));
        QCOMPARE(RecentSkinFiles(), (QStringList{"/new.ski"} + listed).mid(0, RecentSkinCount));
    }

    // --- What a save finds on disk ------------------------------------------

    // Another program changed the file since it was loaded (or saved): the
    // save asks before it replaces that work, and only then.
    void savingOverAFileChangedOnDisk_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("savedTo"); // "same", "other", "link"
        QTest::addColumn<bool>("asks");
        QTest::addColumn<bool>("replace"); // the answer, when asked
        QTest::newRow("nothing changed") << "none"
                                         << "same" << false << true;
        QTest::newRow("rewritten, replaced") << "rewritten"
                                             << "same" << true << true;
        QTest::newRow("rewritten, cancelled") << "rewritten"
                                              << "same" << true << false;
        QTest::newRow("same size and time, other bytes") << "bytes"
                                                         << "same" << true << false;
        QTest::newRow("only its time changed") << "time"
                                               << "same" << false << true;
        QTest::newRow("replaced by another file") << "renamed over"
                                                  << "same" << true << false;
        QTest::newRow("removed") << "removed"
                                 << "same" << false << true;
        QTest::newRow("saved through a link to it") << "rewritten"
                                                    << "link" << true << false;
        QTest::newRow("another file saved over") << "rewritten"
                                                 << "other" << false << true;
        QTest::newRow("changed after the last save") << "after a save"
                                                     << "same" << true << false;
    }
    void savingOverAFileChangedOnDisk()
    {
        QFETCH(QString, change);
        QFETCH(QString, savedTo);
        QFETCH(bool, asks);
        QFETCH(bool, replace);
        const QString path = m_dir.filePath(QStringLiteral("changing.ski"));
        const QString other = m_dir.filePath(QStringLiteral("other.ski"));
        const QString link = m_dir.filePath(QStringLiteral("link.ski"));
        QFile::remove(path);
        QFile::remove(link);
        WriteSkin(path, {11, 12});
        WriteSkin(other, {1, 2});
        QVERIFY(QFile::link(path, link));

        TestProgram program;
        TFBox& box = program.FBox();
        program.dialogs->answerFile(path);
        QTest::mouseClick(box.Button1, Qt::LeftButton);
        if (change == QLatin1String("after a save")) {
            program.dialogs->answerFile(path);
            QVERIFY(box.Button2Click());
        }
        MakeUnsavedEdit(program);

        const struct timespec loaded = ModificationTime(path);
        if (change == QLatin1String("rewritten") || change == QLatin1String("after a save")) {
            WriteSkin(path, {1234, 5678});
        } else if (change == QLatin1String("bytes")) {
            // One byte of the entry's time, written in place, and the file's
            // time put back: only the bytes tell.
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.seek(10));
            char byte = 0;
            QVERIFY(file.getChar(&byte));
            QVERIFY(file.seek(10));
            QVERIFY(file.putChar(char(byte ^ 1)));
            file.close();
            SetModificationTime(path, loaded);
        } else if (change == QLatin1String("time")) {
            SetModificationTime(path, {loaded.tv_sec + 10, loaded.tv_nsec});
        } else if (change == QLatin1String("renamed over")) {
            const QString fresh = m_dir.filePath(QStringLiteral("fresh.ski"));
            WriteSkin(fresh, {21, 22});
            QVERIFY(::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(path).constData()) == 0);
        } else if (change == QLatin1String("removed")) {
            QVERIFY(QFile::remove(path));
        }
        const QString target = savedTo == QLatin1String("link")    ? link
                               : savedTo == QLatin1String("other") ? other
                                                                   : path;
        const std::string before = Hex(target);

        program.dialogs->replaceChangedAnswers.push_back(replace);
        program.dialogs->answerFile(target);
        QTest::mouseClick(box.Button2, Qt::LeftButton);

        QCOMPARE(program.dialogs->replaceChangedQuestions,
                 asks ? QStringList{"Plik " + target + " zmienił się na dysku od wczytania. Zastąpić go?"}
                      : QStringList());
        QCOMPARE(program.dialogs->replaceChangedCaptions,
                 asks ? QStringList{"Fabulor Skin Builder"} : QStringList());
        QVERIFY(program.dialogs->errors.isEmpty());
        const bool saved = !asks || replace;
        QCOMPARE(box.history().stack().isClean(), saved);
        if (saved) {
            TestProgram reader;
            reader.builder->openAtStart(target);
            QCOMPARE(reader.F().PClose->pos(), QPoint(100, 100));
            // Now it holds what this save wrote: the next asks nothing.
            MakeUnsavedEdit(program, {50, 50});
            program.dialogs->answerFile(target);
            QTest::mouseClick(box.Button2, Qt::LeftButton);
            QCOMPARE(program.dialogs->replaceChangedQuestions.size(), asks ? 1 : 0);
            QVERIFY(box.history().stack().isClean());
        } else {
            // The other program's work stays.
            QCOMPARE(Hex(target), before);
        }
    }

    // A save that cannot write leaves what was there, and nothing where
    // nothing was; a symbolic link is followed to the file it names, and
    // refused when it names none.
    void savingWhereTheFileCannotGo_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("error"); // %1: the name chosen
        QTest::newRow("new name, disk full") << "new, full"
                                             << "Stream write error.";
        QTest::newRow("existing skin, disk full") << "skin, full"
                                                  << "Stream write error.";
        QTest::newRow("link to a skin") << "link to skin" << QString();
        QTest::newRow("dangling link") << "dangling link"
                                       << "Cannot create file %1.";
        QTest::newRow("link into no folder") << "link into no folder"
                                             << "Cannot create file %1.";
    }
    void savingWhereTheFileCannotGo()
    {
        QFETCH(QString, target);
        QFETCH(QString, error);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString name = dir.filePath(QStringLiteral("target.ski"));
        const QString real = dir.filePath(QStringLiteral("real.ski"));
        QString linkedTo;
        if (target.startsWith(QLatin1String("skin")) || target == QLatin1String("link to skin"))
            WriteSkin(target == QLatin1String("link to skin") ? real : name, {11, 12});
        if (target == QLatin1String("link to skin")) linkedTo = QStringLiteral("real.ski");
        if (target == QLatin1String("dangling link")) linkedTo = QStringLiteral("missing.ski");
        if (target == QLatin1String("link into no folder"))
            linkedTo = QStringLiteral("no/folder/missing.ski");
        if (!linkedTo.isEmpty()) QVERIFY(QFile::link(linkedTo, name));
        const QStringList files =
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
        const std::string before = Hex(name);

        TestProgram program;
        TFBox& box = program.FBox();
        MakeUnsavedEdit(program);
        // The "disk" takes 10 bytes and no more.
        if (target.endsWith(QLatin1String("full"))) box.Zip.setWriteLimit(10);
        program.dialogs->answerFile(name);
        QTest::mouseClick(box.Button2, Qt::LeftButton);
        QCoreApplication::processEvents();

        error.replace(QLatin1String("%1"), name);
        QCOMPARE(program.dialogs->errors, error.isEmpty() ? QStringList() : QStringList{error});
        QCOMPARE(box.history().stack().isClean(), error.isEmpty());
        QCOMPARE(
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot),
            files);
        if (!linkedTo.isEmpty()) QCOMPARE(QFile::symLinkTarget(name), dir.filePath(linkedTo));
        if (error.isEmpty()) {
            TestProgram reader;
            reader.builder->openAtStart(real);
            QCOMPARE(reader.F().PClose->pos(), QPoint(100, 100));
        } else {
            QCOMPARE(Hex(name), before);
        }
    }

    // Names are bytes: one that is no UTF-8 names its file, from the
    // command line, the dialogs, a drop and the recent skins alike.
    void fileNamesKeepEveryByte_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("utf8");
        QTest::newRow("letters") << QByteArray("/a/skin.ski") << true;
        QTest::newRow("Polish") << QByteArray("/skórki/żółw.ski") << true;
        QTest::newRow("four bytes") << QByteArray("/\xF0\x9F\x8E\xA8.ski") << true;
        QTest::newRow("a byte no UTF-8 uses") << QByteArray("/bad\xFF"
                                                            "byte.ski")
                                              << false;
        QTest::newRow("a Latin-1 name") << QByteArray("/sk\xF3rka.ski") << false;
        QTest::newRow("cut short") << QByteArray("/a\xC5") << false;
        QTest::newRow("overlong slash") << QByteArray("/a\xC0\xAF"
                                                      "b")
                                        << false;
        QTest::newRow("a surrogate spelt out") << QByteArray("/\xED\xB3\xBF") << false;
        QTest::newRow("past U+10FFFF") << QByteArray("/\xF4\x90\x80\x80") << false;
        QTest::newRow("continuation bytes alone") << QByteArray("/\x80\xBF") << false;
    }
    void fileNamesKeepEveryByte()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, utf8);
        const QString name = FileNameFromBytes(bytes.toStdString());
        QCOMPARE(QByteArray::fromStdString(FileNameBytes(name)), bytes);
        // Shown as Qt shows it; a name of UTF-8 is Qt's own.
        QCOMPARE(FileNameShown(name), QString::fromUtf8(bytes));
        QCOMPARE(name == QString::fromUtf8(bytes), utf8);
        QCOMPARE(AbsoluteFileName(name), name);
    }

    void namesThatAreNoUtf8_data()
    {
        QTest::addColumn<QString>("route");
        for (const char* route : {"command line", "open dialog", "recent list", "drop", "save dialog"})
            QTest::newRow(route) << route;
    }
    void namesThatAreNoUtf8()
    {
        QFETCH(QString, route);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const std::string path = QFile::encodeName(dir.path()).toStdString() + "/bad\xFF"
                                                                               "byte.ski";
        const EmptiedAtEnd emptied{QFile::encodeName(dir.path()).toStdString()};
        const QString name = FileNameFromBytes(path);
        // Written under the name Qt cannot spell, through the program's own save.
        TZipKit zip;
        MemoryStream stream;
        stream.write(std::string("[PMenu]\r\nT=12\r\nL=11\r\n\r\n"));
        if (route != QLatin1String("save dialog")) SaveSkinEntry(path, stream, zip);

        TestProgram program;
        TFBox& box = program.FBox();
        if (route == QLatin1String("command line")) {
            const QByteArray word = QByteArray::fromStdString(path);
            const char* argv[] = {"skinbuilder", word.constData()};
            const CommandLine line = ParseCommandLine(ProgramWords(2, argv));
            QCOMPARE(line.action, CommandLine::Action::Start);
            program.builder->openAtStart(line.skinFile);
        } else if (route == QLatin1String("open dialog")) {
            program.dialogs->answerFile(name);
            QTest::mouseClick(box.Button1, Qt::LeftButton);
        } else if (route == QLatin1String("recent list")) {
            RememberSkinFile(name);
            TestProgram next;
            QCOMPARE(Names(next.FBox().recentSkins().RecentList), QStringList{QString::fromUtf8("bad\xFF"
                                                                                                "byte.ski")});
            // Not taken for gone.
            QVERIFY(!next.FBox().recentSkins().RecentList->item(0)->data(Qt::UserRole + 1).toBool());
            ClickRecent(next, 0);
            QVERIFY(next.dialogs->errors.isEmpty());
            QCOMPARE(next.F().PMenu->pos(), QPoint(11, 12));
            program.builder->openAtStart(RecentSkinFiles().value(0));
        } else if (route == QLatin1String("drop")) {
            const QByteArray url = "file://" + QByteArray::fromStdString(path).toPercentEncoding("/");
            const std::unique_ptr<QMimeData> data(Files({QString::fromLatin1(url)}));
            QVERIFY(Drop(&program.F(), {550, 25}, data.get()));
        } else {
            MakeUnsavedEdit(program, {11, 12});
            program.dialogs->answerFile(name);
            QTest::mouseClick(box.Button2, Qt::LeftButton);
            QVERIFY(box.history().stack().isClean());
            QVERIFY(!Bytes(path).isEmpty());
            TestProgram reader;
            reader.dialogs->answerFile(name);
            QTest::mouseClick(reader.FBox().Button1, Qt::LeftButton);
            QCOMPARE(reader.F().PClose->pos(), QPoint(11, 12));
        }
        QVERIFY2(program.dialogs->errors.isEmpty(),
                 qPrintable(program.dialogs->errors.join(QLatin1Char('|'))));
        if (route != QLatin1String("save dialog")) QCOMPARE(program.F().PMenu->pos(), QPoint(11, 12));
        // Remembered by its bytes, shown as best it can be.
        QCOMPARE(RecentSkinFiles(), QStringList{name});
        QCOMPARE(Names(box.recentSkins().RecentList), QStringList{QString::fromUtf8("bad\xFF"
                                                                                    "byte.ski")});
    }

private:
    QTemporaryDir m_dir;
};

FSB_PROGRAM_TEST_MAIN(FilesTest)
#include "test_files.moc"
