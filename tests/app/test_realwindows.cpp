// What only a real window system shows: frames and outer sizes, focus while
// typing, the window's place through shape switches, the window system's
// limit on a shape, and where error boxes open. Runs on a private Xvfb
// screen with openbox (tests/support/with-window-manager.sh) and skips with
// the reason where either is missing.

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
#include <QWindow>

#include <optional>

using namespace fabulor;
using fabulor::testing::TestProgram;

namespace {

constexpr int Patience = 5000; // ms for the window manager to answer

QString g_skipReason;

// A black-cornered white mask: the window keeps a frame-like shape.
QString WriteMask(const QString& path, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    for (int y = 2; y < height - 2; ++y)
        for (int x = 2; x < width - 2; ++x)
            image.setPixel(x, y, qRgb(255, 255, 255));
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

// Measured here rather than with the program's own helpers: the window's
// frame as the window system has it now, and its rectangle with the frame.
QMargins Frame(const QWidget* window)
{
    return window->windowHandle() ? window->windowHandle()->frameMargins() : QMargins();
}

QRect OuterRect(const QWidget* window)
{
    return window->geometry().marginsAdded(Frame(window));
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
    }

    // Switching shaping off gives the window the outer size the size editors
    // show, frame included, and a save writes that size: however the shape
    // came on, and whether or not the size tab was looked at while shaped.
    void switchingShapingOffKeepsTheOuterSize_data()
    {
        QTest::addColumn<QString>("shapedBy");
        QTest::addColumn<bool>("lookAtSizeTab");
        for (const char* way :
             {"choosing the mask", "checking with the mask named", "loading a shaped skin"}) {
            QTest::addRow("%s", way) << QString::fromLatin1(way) << false;
            QTest::addRow("%s, size tab shown", way) << QString::fromLatin1(way) << true;
        }
    }

    void switchingShapingOffKeepsTheOuterSize()
    {
        QFETCH(QString, shapedBy);
        QFETCH(bool, lookAtSizeTab);
        const QString mask = WriteMask(m_dir.filePath(QStringLiteral("m623.bmp")), 623, 364);
        TestProgram program;
        TF& F = program.F();
        TFBox& box = program.FBox();
        QVERIFY(QTest::qWaitForWindowExposed(&F));
        QVERIFY(WaitForFrame(&F));
        QCOMPARE(OuterRect(&F).size(), QSize(623, 364));

        if (shapedBy == QLatin1String("loading a shaped skin")) {
            const QString skin = m_dir.filePath(QStringLiteral("shaped623.ski"));
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
        QTRY_COMPARE_WITH_TIMEOUT(OuterRect(&F).size(), QSize(623, 364), Patience);
        Settle();
        if (lookAtSizeTab) {
            box.PCTRL->setCurrentWidget(box.Rozm); // shows the shaped window's size
            QCOMPARE(box.FW->value(), 623);
            QCOMPARE(box.FH->value(), 364);
        }

        box.CheckBox2->setChecked(false);
        QVERIFY(WaitForFrame(&F));
        QTRY_COMPARE_WITH_TIMEOUT(OuterRect(&F).size(), QSize(623, 364), Patience);
        Settle();
        QCOMPARE(OuterRect(&F).size(), QSize(623, 364));

        box.SaveStateToDocument();
        QCOMPARE(program.doc().readInteger("Skin", "W", 0), 623);
        QCOMPARE(program.doc().readInteger("Skin", "H", 0), 364);
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
        const QRect clientBefore = F.geometry();

        box.CheckBox2->setChecked(true);
        program.dialogs->answerFile(WriteMask(m_dir.filePath(QStringLiteral("cycle.bmp")), 623, 364));
        box.Maska->browse();
        QTRY_VERIFY_WITH_TIMEOUT(F.Mask->active(), Patience);
        Settle();
        QCOMPARE(F.geometry().topLeft(), clientBefore.topLeft()); // the content stays in place
        box.CheckBox2->setChecked(false);
        QVERIFY(WaitForFrame(&F));
        Settle();
        box.CheckBox2->setChecked(true);
        Settle();
        box.CheckBox2->setChecked(false);
        QVERIFY(WaitForFrame(&F));
        Settle();

        QCOMPARE(OuterRect(&F).topLeft(), frameBefore.topLeft());
        QCOMPARE(F.geometry().topLeft(), clientBefore.topLeft());
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
        // empty one, which leaves nothing of the window on the screen.
        const std::optional<QRect> extents = ServerShapeExtents(&F);
        const QRect had = extents.value_or(QRect());
        QVERIFY2(
            extents.has_value() == shaped && (!shaped || !had.isEmpty()),
            qPrintable(
                extents
                    ? QStringLiteral("the server has a shape of %1 x %2").arg(had.width()).arg(had.height())
                    : QStringLiteral("the server has no shape")));
        QVERIFY(program.dialogs->errors.isEmpty());
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
