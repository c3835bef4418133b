// What only a real window system shows: frames and outer sizes, focus while
// typing, the window's place through shape switches, the window system's
// limit on a shape, and where error boxes open. Runs on a private Xvfb
// screen with openbox (tests/support/with-window-manager.sh) and skips with
// the reason where either is missing.

#include "editor/FindingsWindow.h"
#include "editor/SettingsWindow.h"
#include "pictures/TransparentForm.h"
#include "skinfile/SkinEntry.h"
#include "support/TestProgram.h"
#include "widgets/Dialogs.h"
#include "widgets/FileNameEdit.h"
#include "widgets/SpinEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <QWindow>

#include <functional>
#include <optional>

using namespace fabulor;
using fabulor::testing::TestProgram;

namespace {

constexpr int Patience = 5000; // ms for the window manager to answer
// The window manager announces itself before it has finished starting; on a
// busy machine it may take many seconds more before it frames a window.
constexpr int StartPatience = 60000;

QString g_skipReason;

// A white mask with a black edge two pixels wide (the top-left pixel is
// black, so black is what the window hides); with `round`, its bottom
// corners are rounded off, as a shaped skin's often are.
QString WriteMask(const QString& path, int width, int height, int round = 0)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    for (int y = 2; y < height - 2; ++y)
        for (int x = 2; x < width - 2; ++x) {
            const int dy = y - (height - 2 - round);
            const int dx = x < round + 2 ? round + 2 - x : x - (width - 3 - round);
            if (round > 0 && dy > 0 && dx > 0 && dx * dx + dy * dy > round * round) continue;
            image.setPixel(x, y, qRgb(255, 255, 255));
        }
    image.save(path, "BMP");
    return path;
}

// One-pixel squares: the region needs one rectangle per visible pixel.
QString WriteCheckerboard(const QString& path, int side)
{
    QImage image(side, side, QImage::Format_Mono);
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            image.setPixel(x, y, (x + y) % 2);
    image.save(path, "BMP");
    return path;
}

void WriteSkinFile(const QString& path, const std::string& text)
{
    TZipKit zip;
    MemoryStream stream;
    stream.write(text);
    SaveSkinEntry(QFile::encodeName(path).toStdString(), stream, zip);
}

std::string HexOfFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toHex().toUpper().toStdString();
}

void Load(TestProgram& program, const QString& path)
{
    program.dialogs->answerFile(path);
    program.FBox().Button1Click();
}

// Measured on the X server itself rather than through Qt or the program's
// helpers (Qt keeps the frame it last read until the window is configured
// again): where the client area is on the screen, and the frame that the
// window manager has put around it now.
QString Ask(const QString& tool, const QStringList& arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(Patience)) return {};
    return QString::fromLatin1(process.readAllStandardOutput());
}

int Field(const QString& text, const QString& name)
{
    const QRegularExpression field(QRegularExpression::escape(name) + QStringLiteral(":\\s*(-?\\d+)"));
    return field.match(text).captured(1).toInt();
}

QRect ClientRect(const QWidget* window)
{
    const QString info =
        Ask(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window->winId())});
    return QRect(Field(info, QStringLiteral("Absolute upper-left X")),
                 Field(info, QStringLiteral("Absolute upper-left Y")), Field(info, QStringLiteral("Width")),
                 Field(info, QStringLiteral("Height")));
}

QMargins Frame(const QWidget* window)
{
    const QString out = Ask(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window->winId()),
                                                      QStringLiteral("_NET_FRAME_EXTENTS")});
    const qsizetype equals = out.indexOf(QLatin1Char('='));
    if (equals < 0) return {};
    const QStringList sides = out.mid(equals + 1).split(QLatin1Char(','));
    if (sides.size() != 4) return {};
    // Left, right, top, bottom.
    return QMargins(sides[0].trimmed().toInt(), sides[2].trimmed().toInt(), sides[1].trimmed().toInt(),
                    sides[3].trimmed().toInt());
}

QRect OuterRect(const QWidget* window)
{
    return ClientRect(window).marginsAdded(Frame(window));
}

QString Describe(const QWidget* window)
{
    const QRect client = ClientRect(window);
    const QMargins frame = Frame(window);
    return QStringLiteral("client %1,%2 %3x%4, frame %5 %6 %7 %8")
        .arg(client.x())
        .arg(client.y())
        .arg(client.width())
        .arg(client.height())
        .arg(frame.left())
        .arg(frame.top())
        .arg(frame.right())
        .arg(frame.bottom());
}

// Waits until the window manager has framed a decorated window.
bool WaitForFrame(QWidget* window)
{
    return QTest::qWaitFor([window] { return Frame(window).top() > 0; }, Patience);
}

// Lets the window manager answer what was asked of it.
void Settle()
{
    for (int i = 0; i < 5; ++i)
        QTest::qWait(60);
}

// The client windows in the window manager's stacking order, bottom first.
QList<WId> Stacking()
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"),
                {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")});
    xprop.waitForFinished(Patience);
    const QString out = QString::fromLatin1(xprop.readAllStandardOutput());
    QList<WId> ids;
    const qsizetype hash = out.indexOf(QLatin1Char('#'));
    if (hash < 0) return ids;
    for (const QString& item : out.mid(hash + 1).split(QLatin1Char(','), Qt::SkipEmptyParts))
        ids << item.trimmed().toULongLong(nullptr, 16);
    return ids;
}

// The extents of the window's shape as the X server has it; none for a
// window without a shape.
std::optional<QRect> ServerShapeExtents(const QWidget* window)
{
    QProcess xwininfo;
    xwininfo.start(QStringLiteral("xwininfo"),
                   {QStringLiteral("-id"), QString::number(window->winId()), QStringLiteral("-shape")});
    xwininfo.waitForFinished(Patience);
    const QString out = QString::fromLatin1(xwininfo.readAllStandardOutput());
    const QRegularExpressionMatch extents =
        QRegularExpression(QStringLiteral(R"(Window shape extents:\s+(\d+)x(\d+)\+(-?\d+)\+(-?\d+))"))
            .match(out);
    if (!extents.hasMatch()) return std::nullopt;
    return QRect(extents.captured(3).toInt(), extents.captured(4).toInt(), extents.captured(1).toInt(),
                 extents.captured(2).toInt());
}

} // namespace

class RealWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        g_skipReason = QString::fromLocal8Bit(qgetenv("FSB_NO_WINDOW_MANAGER"));
        if (g_skipReason.isEmpty() && QGuiApplication::platformName() != QLatin1String("xcb"))
            g_skipReason = QStringLiteral("needs an X server with a window manager; run it through CTest "
                                          "(tests/support/with-window-manager.sh)");
        if (!g_skipReason.isEmpty())
            QSKIP(qPrintable(QStringLiteral("No real window system: ") + g_skipReason));
        QVERIFY(m_dir.isValid());
        // One window framed says that the window manager is ready: the cases
        // then wait for it no longer than usual.
        QWidget first;
        first.resize(60, 40);
        first.show();
        QVERIFY2(QTest::qWaitFor([&] { return Frame(&first).top() > 0; }, StartPatience),
                 "the window manager framed no window within a minute of starting");
    }

    // Switching shaping off leaves the window's outer size as it was while
    // shaped (the frame now inside it), and a save writes that size: however
    // the shape came on, and whether or not the size tab was ever shown.
    void switchingShapingOffKeepsTheOuterSize_data()
    {
        QTest::addColumn<QString>("shapedBy");
        QTest::addColumn<QSize>("maskSize");
        QTest::addColumn<bool>("lookAtSizeTab");
        for (const char* way :
             {"choosing the mask", "checking with the mask named", "loading a shaped skin"}) {
            QTest::addRow("%s, 400x300", way) << QString::fromLatin1(way) << QSize(400, 300) << false;
            QTest::addRow("%s, 400x300, size tab shown", way)
                << QString::fromLatin1(way) << QSize(400, 300) << true;
            QTest::addRow("%s, 640x400", way) << QString::fromLatin1(way) << QSize(640, 400) << false;
        }
    }

    void switchingShapingOffKeepsTheOuterSize()
    {
        QFETCH(QString, shapedBy);
        QFETCH(QSize, maskSize);
        QFETCH(bool, lookAtSizeTab);
        const QString mask = WriteMask(m_dir.filePath(QStringLiteral("m%1.bmp").arg(maskSize.width())),
                                       maskSize.width(), maskSize.height(), maskSize.width() > 400 ? 40 : 0);
        TestProgram program;
        TF& F = program.F();
        TFBox& box = program.FBox();
        QVERIFY(QTest::qWaitForWindowExposed(&F));
        QVERIFY(WaitForFrame(&F));
        QTRY_COMPARE_WITH_TIMEOUT(OuterRect(&F).size(), QSize(623, 364), Patience);

        if (shapedBy == QLatin1String("loading a shaped skin")) {
            const QString skin = m_dir.filePath(QStringLiteral("shaped%1.ski").arg(maskSize.width()));
            WriteSkinFile(skin, "[Skin]\r\nEn=1\r\nMaska=" + HexOfFile(mask) + "\r\n\r\n");
            Load(program, skin);
        } else if (shapedBy == QLatin1String("checking with the mask named")) {
            box.Maska->setText(mask);
            box.CheckBox2->setChecked(true);
        } else {
            box.CheckBox2->setChecked(true);
            program.dialogs->answerFile(mask);
            box.Maska->browse();
        }
        QTRY_VERIFY_WITH_TIMEOUT(F.Mask->active(), Patience);
        QTRY_COMPARE_WITH_TIMEOUT(OuterRect(&F).size(), maskSize, Patience);
        Settle();
        if (lookAtSizeTab) {
            box.PCTRL->setCurrentWidget(box.Rozm); // shows the shaped window's size
            QCOMPARE(box.FW->value(), maskSize.width());
            QCOMPARE(box.FH->value(), maskSize.height());
        }

        box.CheckBox2->setChecked(false);
        QVERIFY(WaitForFrame(&F));
        QTRY_COMPARE_WITH_TIMEOUT(OuterRect(&F).size(), maskSize, Patience);
        Settle();
        QVERIFY2(OuterRect(&F).size() == maskSize, qPrintable(Describe(&F)));

        box.SaveStateToDocument();
        QCOMPARE(program.doc().readInteger("Skin", "W", 0), maskSize.width());
        QCOMPARE(program.doc().readInteger("Skin", "H", 0), maskSize.height());
        QVERIFY(program.dialogs->errors.isEmpty());
    }

    // Taking the switch back gives back exactly the shaped window (its place,
    // its size, no frame), and doing it again gives exactly the unshaped one:
    // the same clicks give the same window and the same saved size, however
    // often they are taken back and done again. Checking the box again shapes
    // the window again, also by the mask a loaded skin brought.
    void undoingTheSwitchIsExact_data()
    {
        QTest::addColumn<bool>("loaded"); // else the mask is chosen in its field
        QTest::addColumn<QSize>("maskSize");
        QTest::addColumn<int>("round");
        QTest::newRow("a loaded skin, 640x400 with a rounded bottom") << true << QSize(640, 400) << 40;
        QTest::newRow("a loaded skin, 400x300") << true << QSize(400, 300) << 0;
        QTest::newRow("a chosen mask, 640x400 with a rounded bottom") << false << QSize(640, 400) << 40;
    }

    void undoingTheSwitchIsExact()
    {
        QFETCH(bool, loaded);
        QFETCH(QSize, maskSize);
        QFETCH(int, round);
        const QString mask = WriteMask(m_dir.filePath(QStringLiteral("u%1.bmp").arg(maskSize.width())),
                                       maskSize.width(), maskSize.height(), round);
        TestProgram program;
        TF& F = program.F();
        TFBox& box = program.FBox();
        QVERIFY(QTest::qWaitForWindowExposed(&F));
        QVERIFY(WaitForFrame(&F));
        F.move(180, 140); // away from the corner a lost place falls back to
        QTRY_COMPARE_WITH_TIMEOUT(OuterRect(&F).topLeft(), QPoint(180, 140), Patience);

        if (loaded) {
            const QString skin = m_dir.filePath(QStringLiteral("undo%1.ski").arg(maskSize.width()));
            WriteSkinFile(skin, "[Skin]\r\nEn=1\r\nMaska=" + HexOfFile(mask) + "\r\n\r\n");
            Load(program, skin);
        } else {
            box.CheckBox2->click();
            program.dialogs->answerFile(mask);
            box.Maska->browse();
        }
        QVERIFY(F.Mask->active());
        QTRY_VERIFY_WITH_TIMEOUT(Frame(&F).isNull() && ClientRect(&F).size() == maskSize, Patience);
        Settle();
        const QRect shaped = ClientRect(&F);
        QVERIFY2(Frame(&F).isNull() && shaped.size() == maskSize, qPrintable(Describe(&F)));
        QCOMPARE(F.geometry(), shaped); // where the program has it too
        const QRegion shape = F.mask();
        QVERIFY(!shape.isEmpty());

        const auto expectShaped = [&](const char* after) {
            QVERIFY(box.CheckBox2->isChecked());
            QVERIFY(F.Mask->active());
            (void)QTest::qWaitFor([&] { return Frame(&F).isNull() && ClientRect(&F) == shaped; }, Patience);
            Settle(); // and it stays there
            QVERIFY2(Frame(&F).isNull() && ClientRect(&F) == shaped,
                     qPrintable(QStringLiteral("after %1: %2").arg(QLatin1String(after), Describe(&F))));
            QVERIFY2(F.geometry() == shaped, qPrintable(QStringLiteral("after %1: the program has %2,%3")
                                                            .arg(QLatin1String(after))
                                                            .arg(F.geometry().x())
                                                            .arg(F.geometry().y())));
            QCOMPARE(F.mask(), shape);
        };
        QRect plainOuter;
        const auto expectPlain = [&](const char* after) {
            QVERIFY(!box.CheckBox2->isChecked());
            QVERIFY(!F.Mask->active());
            (void)QTest::qWaitFor([&] { return Frame(&F).top() > 0 && OuterRect(&F).size() == maskSize; },
                                  Patience);
            Settle();
            const QRect outer = OuterRect(&F);
            QVERIFY2(Frame(&F).top() > 0 && outer.size() == maskSize &&
                         ClientRect(&F).topLeft() == shaped.topLeft(),
                     qPrintable(QStringLiteral("after %1: %2").arg(QLatin1String(after), Describe(&F))));
            if (plainOuter.isNull()) plainOuter = outer;
            QCOMPARE(outer, plainOuter);
            QVERIFY(F.mask().isEmpty());
            box.SaveStateToDocument();
            QCOMPARE(program.doc().readInteger("Skin", "W", 0), maskSize.width());
            QCOMPARE(program.doc().readInteger("Skin", "H", 0), maskSize.height());
        };

        const auto click = [&] { box.CheckBox2->click(); };
        const auto undo = [&] { box.history().undo(); };
        const auto redo = [&] { box.history().redo(); };
        const struct {
            const char* name;
            std::function<void()> act;
            bool shapedAfter;
        } steps[] = {
            {"the first untick", click, false}, {"undoing it", undo, true},
            {"unticking again", click, false},  {"undoing that", undo, true},
            {"redoing it", redo, false},        {"undoing the redo", undo, true},
            {"redoing again", redo, false},     {"ticking again", click, true},
        };
        for (const auto& step : steps) {
            step.act();
            if (step.shapedAfter)
                expectShaped(step.name);
            else
                expectPlain(step.name);
            if (QTest::currentTestFailed()) return;
            if (loaded && &step == &steps[1]) QVERIFY(box.history().stack().isClean()); // as loaded
        }
        QVERIFY(program.dialogs->errors.isEmpty());
    }

    // Loading an unshaped skin after a shaped one: the screen, the editors and
    // the saved file agree on the outer size.
    void anUnshapedSkinAfterAShapedOne()
    {
        const QString mask = WriteMask(m_dir.filePath(QStringLiteral("m400.bmp")), 400, 300);
        const QString shaped = m_dir.filePath(QStringLiteral("shaped.ski"));
        const QString plain = m_dir.filePath(QStringLiteral("plain.ski"));
        WriteSkinFile(shaped, "[Skin]\r\nEn=1\r\nMaska=" + HexOfFile(mask) + "\r\n\r\n");
        WriteSkinFile(plain, "[Skin]\r\nEn=0\r\nW=623\r\nH=364\r\n\r\n");

        TestProgram program;
        TF& F = program.F();
        QVERIFY(QTest::qWaitForWindowExposed(&F));
        QVERIFY(WaitForFrame(&F));

        Load(program, shaped);
        QTRY_COMPARE_WITH_TIMEOUT(OuterRect(&F).size(), QSize(400, 300), Patience);
        Settle();
        Load(program, plain);
        QVERIFY(WaitForFrame(&F));
        QTRY_COMPARE_WITH_TIMEOUT(OuterRect(&F).size(), QSize(623, 364), Patience);
        Settle();
        QCOMPARE(OuterRect(&F).size(), QSize(623, 364));
        QCOMPARE(program.FBox().FW->value(), 623);
        QCOMPARE(program.FBox().FH->value(), 364);
        program.FBox().SaveStateToDocument();
        QCOMPARE(program.doc().readInteger("Skin", "W", 0), 623);
        QCOMPARE(program.doc().readInteger("Skin", "H", 0), 364);
    }

    // Real key presses into the height editor: every digit lands there, even
    // while the height passes below the frame's own height.
    void typingAHeightKeepsTheFocus()
    {
        TestProgram program;
        TF& F = program.F();
        TFBox& box = program.FBox();
        QVERIFY(QTest::qWaitForWindowExposed(&F));
        QVERIFY(WaitForFrame(&F));
        box.PCTRL->setCurrentWidget(box.Rozm);
        box.activateWindow();
        box.raise();
        QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeWindow() == &box, Patience);
        box.FH->lineEdit()->setFocus();
        box.FH->lineEdit()->selectAll();

        QProcess xdotool;
        xdotool.start(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("--delay"),
                                                  QStringLiteral("150"), QStringLiteral("400")});
        QVERIFY2(xdotool.waitForStarted(),
                 "xdotool is needed for real key presses (scripts/setup.sh installs it)");
        QTRY_VERIFY_WITH_TIMEOUT(xdotool.state() == QProcess::NotRunning, 10000);
        Settle();

        QCOMPARE(box.FH->text(), QStringLiteral("400"));
        QCOMPARE(QApplication::activeWindow(), &box);
        QTRY_COMPARE_WITH_TIMEOUT(OuterRect(&F).height(), 400, Patience);
        QVERIFY(F.isVisible());
    }

    // One on/off cycle of shaping brings the window back to where it was.
    void aShapeCycleLeavesTheWindowInPlace()
    {
        TestProgram program;
        TF& F = program.F();
        TFBox& box = program.FBox();
        QVERIFY(QTest::qWaitForWindowExposed(&F));
        QVERIFY(WaitForFrame(&F));
        box.activateWindow();
        QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeWindow() == &box, Patience);
        Settle();
        const QRect frameBefore = OuterRect(&F);
        const QRect clientBefore = ClientRect(&F);

        box.CheckBox2->setChecked(true);
        program.dialogs->answerFile(WriteMask(m_dir.filePath(QStringLiteral("cycle.bmp")), 623, 364));
        box.Maska->browse();
        QTRY_VERIFY_WITH_TIMEOUT(F.Mask->active(), Patience);
        Settle();
        QCOMPARE(ClientRect(&F).topLeft(), clientBefore.topLeft()); // the content stays in place
        box.CheckBox2->setChecked(false);
        QVERIFY(WaitForFrame(&F));
        Settle();
        box.CheckBox2->setChecked(true);
        Settle();
        box.CheckBox2->setChecked(false);
        QVERIFY(WaitForFrame(&F));
        Settle();

        QCOMPARE(OuterRect(&F).topLeft(), frameBefore.topLeft());
        QCOMPARE(ClientRect(&F).topLeft(), clientBefore.topLeft());
        QCOMPARE(QApplication::activeWindow(), &box); // re-shown without taking the focus
    }

    // A mask whose region is more than one plain request to the X server can
    // carry gives no region: the window shows whole rather than not at all
    // (the server reads a longer shape request as an empty shape). The
    // program and its connection stay up.
    void aShapeBeyondTheServersLimitGivesNoRegion_data()
    {
        QTest::addColumn<int>("side"); // of a checkerboard of one-pixel squares
        QTest::addColumn<bool>("shaped");
        QTest::newRow("2048: two million rectangles") << 2048 << false;
        QTest::newRow("256: 32768, three past the limit") << 256 << false;
        QTest::newRow("250: 31250, under it") << 250 << true;
    }
    void aShapeBeyondTheServersLimitGivesNoRegion()
    {
        QFETCH(int, side);
        QFETCH(bool, shaped);
        TestProgram program;
        TF& F = program.F();
        TFBox& box = program.FBox();
        QVERIFY(QTest::qWaitForWindowExposed(&F));

        box.CheckBox2->setChecked(true);
        program.dialogs->answerFile(
            WriteCheckerboard(m_dir.filePath(QStringLiteral("c%1.bmp").arg(side)), side));
        box.Maska->browse();
        QVERIFY(F.Mask->active());
        Settle();
        QCOMPARE(!F.mask().isEmpty(), shaped);
        // What the server has: the checkerboard's shape, or none; never an
        // empty one, which leaves nothing of the window on the screen. Dropping
        // the frame shows the window anew, and its shape reaches the server
        // with it: on a busy machine, later than the settling above.
        std::optional<QRect> extents = ServerShapeExtents(&F);
        if (shaped)
            static_cast<void>(QTest::qWaitFor(
                [&] {
                    extents = ServerShapeExtents(&F);
                    return extents.has_value();
                },
                Patience));
        const QRect had = extents.value_or(QRect());
        QVERIFY2(
            extents.has_value() == shaped && (!shaped || !had.isEmpty()),
            qPrintable(
                extents
                    ? QStringLiteral("the server has a shape of %1 x %2").arg(had.width()).arg(had.height())
                    : QStringLiteral("the server has no shape")));
        QVERIFY(program.dialogs->errors.isEmpty());
    }

    // "Sprawdź" opens the findings list beside the settings window, wholly on
    // the screen wherever the settings window has been moved, and not over it.
    void findingsOpenWhollyOnTheScreen_data()
    {
        QTest::addColumn<QString>("settingsAt");
        QTest::newRow("where it starts") << QStringLiteral("start");
        QTest::newRow("moved to the right") << QStringLiteral("right");
        QTest::newRow("in the bottom-right corner") << QStringLiteral("corner");
    }

    void findingsOpenWhollyOnTheScreen()
    {
        QFETCH(QString, settingsAt);
        TestProgram program;
        TFBox& box = program.FBox();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QVERIFY(WaitForFrame(&box));
        const QRect screen = box.screen()->availableGeometry();
        if (settingsAt != QLatin1String("start")) {
            const QSize outer = OuterRect(&box).size();
            const QPoint to = settingsAt == QLatin1String("right")
                                  ? QPoint(880, 158)
                                  : screen.bottomRight() - QPoint(outer.width() - 1, outer.height() - 1);
            box.move(to); // by its frame
            QTRY_COMPARE_WITH_TIMEOUT(OuterRect(&box).topLeft(), to, Patience);
        }
        Settle();

        box.check().CheckButtonClick();
        FindingsWindow& findings = box.check().findingsWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&findings));
        QVERIFY(WaitForFrame(&findings));
        Settle();
        const QRect list = OuterRect(&findings);
        const QRect settings = OuterRect(&box);
        const QString where =
            QStringLiteral("findings: %1; settings: %2").arg(Describe(&findings), Describe(&box));
        QVERIFY2(screen.contains(list), qPrintable(where));
        QVERIFY2(!list.intersects(settings), qPrintable(where));
        if (settingsAt == QLatin1String("start")) { // below it, where there is room
            QVERIFY(list.top() > settings.bottom());
            QCOMPARE(list.left(), settings.left());
        }
    }

    // An error box opens above both windows, wholly on the screen, centred on
    // the window the user was working in.
    void errorBoxesOpenAboveBothWindows_data()
    {
        QTest::addColumn<bool>("fromPreview");
        QTest::addColumn<bool>("atScreenEdge");
        QTest::newRow("from the preview") << true << false;
        QTest::newRow("from the settings window") << false << false;
        QTest::newRow("from a window at the screen's corner") << true << true;
    }

    void errorBoxesOpenAboveBothWindows()
    {
        QFETCH(bool, fromPreview);
        QFETCH(bool, atScreenEdge);
        TestProgram program;
        TF& F = program.F();
        TFBox& box = program.FBox();
        QVERIFY(QTest::qWaitForWindowExposed(&F));
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QWidget* working = fromPreview ? static_cast<QWidget*>(&F) : &box;
        const QRect screen = F.screen()->availableGeometry();
        if (atScreenEdge) F.move(screen.bottomRight() - QPoint(100, 80));
        if (fromPreview) // under the settings window
            box.move(F.geometry().center() - QPoint(box.width() / 2, box.height() / 2));
        working->activateWindow();
        QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeWindow() == working, Patience);
        Settle();

        QRect boxFrame;
        QList<WId> stacking;
        WId errorBox = 0;
        QTimer::singleShot(0, [&] {
            (void)QTest::qWaitFor(
                [&] {
                    auto* message = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                    return message && message->isVisible() && Frame(message).top() > 0;
                },
                Patience);
            Settle();
            if (auto* message = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxFrame = OuterRect(message);
                errorBox = message->winId();
                stacking = Stacking();
                message->accept();
            }
        });
        StandardDialogs().showError(QStringLiteral("Fabulor Skin Builder"), QStringLiteral("Próba."));

        QVERIFY(errorBox != 0);
        const qsizetype boxAt = stacking.indexOf(errorBox);
        QVERIFY(boxAt >= 0);
        QVERIFY(boxAt > stacking.indexOf(F.winId()));
        QVERIFY(boxAt > stacking.indexOf(box.winId()));
        QVERIFY2(screen.contains(boxFrame), qPrintable(QStringLiteral("%1,%2 %3x%4 is off the screen")
                                                           .arg(boxFrame.x())
                                                           .arg(boxFrame.y())
                                                           .arg(boxFrame.width())
                                                           .arg(boxFrame.height())));
        if (atScreenEdge) return; // centred as far as the screen allows
        const QPoint offCentre = boxFrame.center() - OuterRect(working).center();
        QVERIFY2(offCentre.manhattanLength() <= 4,
                 qPrintable(QStringLiteral("%1,%2 off centre").arg(offCentre.x()).arg(offCentre.y())));
    }

private:
    QTemporaryDir m_dir;
};

FSB_PROGRAM_TEST_MAIN(RealWindowsTest)
#include "test_realwindows.moc"
