// The file-name edit: what its dialog proposes, and what its after-dialog
// signal carries when the dialog is confirmed or cancelled.

#include "support/ScriptedDialogs.h"
#include "widgets/FileNameEdit.h"
#include "widgets/LazyIcon.h"
#include "widgets/PictureFilters.h"

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QToolButton>

using namespace fabulor;
using fabulor::testing::ScriptedDialogs;

class FileNameEditTest : public QObject {
    Q_OBJECT
private slots:
    void afterDialogCarriesChosenOrHeldName_data()
    {
        QTest::addColumn<QString>("held");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("carried");
        QTest::newRow("empty, confirmed") << "" << true << "/pics/a.jpg"
                                          << "/pics/a.jpg";
        QTest::newRow("holding a name, confirmed") << "/pics/old.bmp" << true << "/pics/new.jpg"
                                                   << "/pics/new.jpg";
        QTest::newRow("same name confirmed again") << "/pics/a.jpg" << true << "/pics/a.jpg"
                                                   << "/pics/a.jpg";
        QTest::newRow("empty, cancelled") << "" << false << ""
                                          << "";
        QTest::newRow("holding a name, cancelled") << "/pics/old.bmp" << false << ""
                                                   << "/pics/old.bmp";
        QTest::newRow("holding a missing name, cancelled") << "/gone/x.jpg" << false << ""
                                                           << "/gone/x.jpg";
    }
    void afterDialogCarriesChosenOrHeldName()
    {
        QFETCH(QString, held);
        QFETCH(bool, confirm);
        QFETCH(QString, answer);
        QFETCH(QString, carried);
        ScriptedDialogs dialogs;
        FileNameEdit edit(dialogs, PictureFileDialogOptions());
        edit.setText(held);
        QSignalSpy after(&edit, &FileNameEdit::afterDialog);
        confirm ? dialogs.answerFile(answer) : dialogs.cancelFile();

        QTest::mouseClick(edit.browseButton(), Qt::LeftButton);

        QCOMPARE(dialogs.proposedNames, QStringList{held});
        QCOMPARE(after.size(), 1);
        QCOMPARE(after.at(0).at(0).toString(), carried);
        QCOMPARE(edit.text(), carried);
    }

    void typedNameIsProposedAndCarriedOnCancel()
    {
        ScriptedDialogs dialogs;
        FileNameEdit edit(dialogs, MaskFileDialogOptions());
        QTest::keyClicks(edit.lineEdit(), QStringLiteral("/masks/shape.bmp"));
        QSignalSpy after(&edit, &FileNameEdit::afterDialog);
        edit.browse(); // no answer queued: the dialog is cancelled
        QCOMPARE(dialogs.proposedNames, QStringList{QStringLiteral("/masks/shape.bmp")});
        QCOMPARE(after.size(), 1);
        QCOMPARE(after.at(0).at(0).toString(), QStringLiteral("/masks/shape.bmp"));
    }

    void partsAreMadeWhenFirstShownAndKeepTheName()
    {
        ScriptedDialogs dialogs;
        QWidget page;
        page.resize(250, 50);
        auto* edit = new FileNameEdit(dialogs, MaskFileDialogOptions(), &page);
        edit->setGeometry(8, 8, 185, 21);
        edit->setAccessibleName(QStringLiteral("Maska"));
        edit->nameParts();
        edit->setText(QStringLiteral("/masks/a.bmp"));
        dialogs.answerFile(QStringLiteral("/masks/b.bmp"));
        edit->browse();
        QCOMPARE(dialogs.proposedNames, QStringList{QStringLiteral("/masks/a.bmp")});
        QCOMPARE(edit->text(), QStringLiteral("/masks/b.bmp"));
        QVERIFY(!edit->hasParts());

        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QVERIFY(edit->hasParts());
        QVERIFY(edit->lineEdit()->isVisible() && edit->browseButton()->isVisible());
        QCOMPARE(edit->lineEdit()->text(), QStringLiteral("/masks/b.bmp"));
        QVERIFY(edit->lineEdit()->geometry().right() < edit->browseButton()->geometry().left());
        QCOMPARE(edit->browseButton()->accessibleName(), QStringLiteral("Maska: wybierz plik"));
    }

    void dialogGetsTheEditsOwnOptionsEveryTime()
    {
        ScriptedDialogs dialogs;
        FileNameEdit mask(dialogs, MaskFileDialogOptions());
        FileNameEdit picture(dialogs, PictureFileDialogOptions());
        QSignalSpy after(&picture, &FileNameEdit::afterDialog);
        mask.browse();
        picture.browse();
        picture.browse();
        QCOMPARE(dialogs.fileDialogs.size(), 3);
        QCOMPARE(dialogs.fileDialogs[0].kind, FileDialogOptions::Kind::OpenPicture);
        QCOMPARE(dialogs.fileDialogs[0].filters.size(), 1);
        QCOMPARE(dialogs.fileDialogs[1].filters.size(), 5);
        QCOMPARE(dialogs.fileDialogs[2].filters.size(), 5);
        QCOMPARE(after.size(), 2); // once per close, cancelled or not
        // Typing alone opens nothing and signals nothing.
        QTest::keyClicks(picture.lineEdit(), QStringLiteral("x.jpg"));
        QCOMPARE(after.size(), 2);
    }

    void browseButtonShowsOpenFolderGlyph()
    {
        ScriptedDialogs dialogs;
        FileNameEdit edit(dialogs, MaskFileDialogOptions());
        edit.resize(185, 21);
        QToolButton* button = edit.browseButton();
        QCOMPARE(button->iconSize(), QSize(16, 16));
        QVERIFY(!button->icon().isNull());
        const QPixmap glyph = button->icon().pixmap(16, 16);
        QCOMPARE(glyph.size(), QSize(16, 16));
        QVERIFY(!glyph.toImage().allGray()); // a coloured folder, not a blank square
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        // The glyph is looked up late, but it is the style's own: made by the
        // same calls on the same machine, so the same to the bit.
        const QImage expected =
            button->style()->standardIcon(QStyle::SP_DirOpenIcon).pixmap(16, 16).toImage();
        QCOMPARE(glyph.toImage().convertToFormat(expected.format()), expected);
    }

    // A standard icon looked up on first use: drawn, copied and asked for
    // sizes like the style's, also once the widget it was made for is gone
    // (copies of an icon outlive the button that held it). Compared exactly:
    // both sides are drawn by the same calls on the same machine.
    void lateStandardIconDrawsAsTheStyles()
    {
        auto* owner = new QToolButton;
        const QIcon late = LazyStandardIcon(QStyle::SP_ArrowLeft, owner);
        QVERIFY(!late.isNull());
        // Copied before anything was drawn: the copy is what is under test.
        const QIcon copy = late; // NOLINT(performance-unnecessary-copy-initialization)
        delete owner;
        const QIcon own = QApplication::style()->standardIcon(QStyle::SP_ArrowLeft);
        QCOMPARE(copy.actualSize(QSize(16, 16)), own.actualSize(QSize(16, 16)));
        const QImage expected = own.pixmap(16, 16).toImage();
        QCOMPARE(copy.pixmap(16, 16).toImage().convertToFormat(expected.format()), expected);
        QCOMPARE(late.pixmap(16, 16, QIcon::Disabled).toImage().convertToFormat(expected.format()),
                 own.pixmap(16, 16, QIcon::Disabled).toImage().convertToFormat(expected.format()));
        QImage painted(16, 16, QImage::Format_ARGB32_Premultiplied);
        painted.fill(Qt::transparent);
        {
            QPainter painter(&painted);
            late.paint(&painter, painted.rect());
        }
        QImage reference(16, 16, QImage::Format_ARGB32_Premultiplied);
        reference.fill(Qt::transparent);
        {
            QPainter painter(&reference);
            own.paint(&painter, reference.rect());
        }
        QCOMPARE(painted, reference);
    }
};

QTEST_MAIN(FileNameEditTest)
#include "test_filenameedit.moc"
