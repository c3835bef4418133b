// The open-picture dialog: its preview pane, its filter lists and its place
// behind the dialog seam.

#include "support/TestData.h"
#include "widgets/PictureDialog.h"
#include "widgets/PictureFilters.h"
#include "widgets/PicturePreviewPane.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace fabulor;

namespace {

const QString DataFolder = testing::TestData::Folder;
const QString None = QStringLiteral("Picture:");

} // namespace

class PictureDialogTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_temp;

    QString temp(const QString& name) const { return m_temp.filePath(name); }
    // Paths of the rows below: "data/..." lies in the test data,
    // "temp/..." in this run's own folder.
    QString resolve(const QString& path) const
    {
        if (path.startsWith(QLatin1String("data/"))) return DataFolder + path.mid(4);
        return temp(path.mid(5));
    }
    void copy(const QString& from, const QString& to) const
    {
        QVERIFY2(QFile::copy(DataFolder + from, temp(to)), qPrintable(to));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_temp.isValid());
        QVERIFY(QFile::exists(DataFolder + QStringLiteral("/bmp/MANIFEST.tsv")));
        copy(QStringLiteral("/jpeg/cjpeg_baseline_320x240.jpg"), QStringLiteral("UPPER.JPG"));
        copy(QStringLiteral("/jpeg/cjpeg_baseline_320x240.jpg"), QStringLiteral("long.jpeg"));
        copy(QStringLiteral("/jpeg/cjpeg_baseline_320x240.jpg"), QStringLiteral("jpeg.gif"));
        copy(QStringLiteral("/jpeg/cjpeg_baseline_320x240.jpg"), QStringLiteral("short.jpe"));
        copy(QStringLiteral("/bmp/im_24bit_64x48.bmp"), QStringLiteral("UPPER.BMP"));
        copy(QStringLiteral("/bmp/im_24bit_64x48.bmp"), QStringLiteral("bitmap.gif"));
        copy(QStringLiteral("/bmp/im_24bit_64x48.bmp"), QStringLiteral("bitmap.pcx"));
        copy(QStringLiteral("/bmp/im_24bit_64x48.bmp"), QStringLiteral("bitmap.ani"));
        copy(QStringLiteral("/bmp/im_24bit_64x48.bmp"), QStringLiteral("bitmap.bmp.txt"));
        copy(QStringLiteral("/bmp/im_24bit_64x48.bmp"), QStringLiteral("bitmap.emf"));
        copy(QStringLiteral("/bmp/im_24bit_64x48.bmp"), QStringLiteral("bitmap.wmf"));
        copy(QStringLiteral("/bmp/im_24bit_64x48.bmp"), QStringLiteral("bitmap"));
        QVERIFY(QDir(m_temp.path()).mkdir(QStringLiteral("folder.bmp")));
        // Larger than any picture we hold: never read. The file is sparse.
        copy(QStringLiteral("/bmp/im_24bit_64x48.bmp"), QStringLiteral("huge.bmp"));
        QFile huge(temp(QStringLiteral("huge.bmp")));
        QVERIFY(huge.resize(qint64(300) * 1024 * 1024));
    }

    void paneShowsWhatLoads_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QSize>("size");
        const auto row = [](const char* name, const QString& path, const QString& caption, QSize size) {
            QTest::newRow(name) << path << caption << size;
        };
        row("24-bit bitmap", "data/bmp/im_24bit_64x48.bmp", " (64x48)", {64, 48});
        row("1-bit core-header bitmap", "data/bmp/im_os2core_1bit_64x48.bmp", " (64x48)", {64, 48});
        row("top-down bitmap", "data/bmp/topdown_24bit_64x48.bmp", " (64x48)", {64, 48});
        row("large bitmap", "data/bmp/im_shape_400x300_24bit.bmp", " (400x300)", {400, 300});
        row("baseline JPEG", "data/jpeg/cjpeg_baseline_320x240.jpg", " (320x240)", {320, 240});
        row("greyscale JPEG", "data/jpeg/cjpeg_greyscale_320x240.jpg", " (320x240)", {320, 240});
        row("progressive JPEG", "data/jpeg/cjpeg_progressive_320x240.jpg", " (320x240)", {320, 240});
        row("JPEG whose data ends early", "data/jpeg/cut_half_header_intact.jpg", " (320x240)", {320, 240});
        row("JPEG the library cannot convert", "data/jpeg/im_cmyk_160x120.jpg", " (160x120)", {160, 120});
        row("upper-case .JPG", "temp/UPPER.JPG", " (320x240)", {320, 240});
        row(".jpeg", "temp/long.jpeg", " (320x240)", {320, 240});
        row("upper-case .BMP", "temp/UPPER.BMP", " (64x48)", {64, 48});
        // The extension picks the decoder: a JPEG named .bmp goes to the
        // bitmap reader and does not load, a bitmap named .jpg likewise.
        row("JPEG named .bmp", "data/bmp/jpeg_named.bmp", None, {});
        row("bitmap named .jpg", "data/jpeg/bmp_named.jpg", None, {});
        row("JPEG named .gif", "temp/jpeg.gif", None, {});
        row("bitmap named .gif", "temp/bitmap.gif", None, {});
        row("bitmap named .pcx", "temp/bitmap.pcx", None, {});
        row("bitmap named .ani", "temp/bitmap.ani", None, {});
        row("JPEG named .jpe", "temp/short.jpe", None, {});
        row("bitmap with .bmp inside its name", "temp/bitmap.bmp.txt", None, {});
        row("enhanced metafile", "temp/bitmap.emf", None, {});
        row("metafile", "temp/bitmap.wmf", None, {});
        row("no extension", "temp/bitmap", None, {});
        row("missing file", "temp/missing.jpg", None, {});
        row("folder named .bmp", "temp/folder.bmp", None, {});
        row("bitmap with two planes", "data/bmp/planes2_24bit_64x48.bmp", None, {});
        row("JPEG cut inside a table", "data/jpeg/cut_inside_dht.jpg", None, {});
        row("JPEG with junk before the start", "data/jpeg/junk_before_soi.jpg", None, {});
        row("empty JPEG", "data/jpeg/empty.jpg", None, {});
        row("empty bitmap", "data/bmp/raw_zero_bytes.bmp", None, {});
        row("file too large to be a picture", "temp/huge.bmp", None, {});
    }
    void paneShowsWhatLoads()
    {
        QFETCH(QString, path);
        QFETCH(QString, caption);
        QFETCH(QSize, size);
        PicturePreviewPane pane;
        pane.showFile(resolve(path));
        QCOMPARE(pane.caption(), caption);
        QCOMPARE(pane.hasPicture(), size.isValid());
        QCOMPARE(pane.placeholderText(), size.isValid() ? QString() : QStringLiteral("(None)"));
        if (size.isValid()) QCOMPARE(pane.pictureSize(), size);
    }

    void paneShowsIconsQtReads()
    {
        const QString icon = temp(QStringLiteral("picture.ico"));
        QImage image(32, 16, QImage::Format_ARGB32);
        image.fill(Qt::red);
        QImageWriter writer(icon, "ico");
        if (!writer.write(image)) QSKIP("this Qt writes no icons");
        PicturePreviewPane pane;
        pane.showFile(icon);
        QCOMPARE(pane.caption(), QStringLiteral(" (32x16)"));
        QVERIFY(pane.hasPicture());
    }

    void paneScalesDownKeepingProportionsButNeverUp()
    {
        PicturePreviewPane pane;
        pane.resize(160, 300);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));

        pane.showFile(testing::TestData::Mask400x300);
        const QSize shown = pane.shownSize();
        QVERIFY2(shown.width() <= 160 && shown.width() >= 140, qPrintable(QString::number(shown.width())));
        QVERIFY(qAbs(shown.width() * 3 - shown.height() * 4) <= 4);
        QCOMPARE(pane.caption(), QStringLiteral(" (400x300)")); // the caption keeps the real size

        pane.showFile(testing::TestData::Bitmap64x48);
        QCOMPARE(pane.shownSize(), QSize(64, 48));

        // Widening the pane lets the large picture grow again, up to its size.
        pane.showFile(testing::TestData::Jpeg320x240);
        pane.resize(600, 400);
        QTRY_COMPARE(pane.shownSize(), QSize(320, 240));
    }

    void paneForgetsThePreviousPicture()
    {
        PicturePreviewPane pane;
        QCOMPARE(pane.caption(), None);
        QCOMPARE(pane.placeholderText(), QStringLiteral("(None)"));
        pane.showFile(DataFolder + QStringLiteral("/jpeg/cjpeg_1x1.jpg"));
        QCOMPARE(pane.caption(), QStringLiteral(" (1x1)"));
        pane.showFile(DataFolder + QStringLiteral("/jpeg/empty.jpg"));
        QCOMPARE(pane.caption(), None);
        QVERIFY(!pane.hasPicture());
        QCOMPARE(pane.shownSize(), QSize());
        pane.showFile(testing::TestData::Bitmap64x48);
        pane.showFile(QString());
        QCOMPARE(pane.caption(), None);
    }

    void maskFilterIsBitmapsOnly()
    {
        const FileDialogOptions options = MaskFileDialogOptions();
        QCOMPARE(options.kind, FileDialogOptions::Kind::OpenPicture);
        QCOMPARE(options.filters.size(), 1);
        QCOMPARE(options.filters[0].description, QStringLiteral("Bitmapy (*.bmp)"));
        QCOMPARE(options.filters[0].patterns, QStringLiteral("*.bmp"));
        QCOMPARE(options.defaultExtension, QStringLiteral("bmp"));
        QVERIFY(options.fileMustExist);
        QCOMPARE(QtNameFilters(options.filters), QStringList{QStringLiteral("Bitmapy (*.bmp)")});
    }

    void pictureFilterHasItsFiveEntriesInOrder()
    {
        const FileDialogOptions options = PictureFileDialogOptions();
        QCOMPARE(options.kind, FileDialogOptions::Kind::OpenPicture);
        QCOMPARE(options.defaultExtension, QStringLiteral("bmp"));
        QVERIFY(options.fileMustExist);
        const QString all = QStringLiteral("*.gif;*.pcx;*.ani;*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf");
        const QStringList descriptions = {
            QStringLiteral("All (*.gif;*.pcx;*.ani;*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)"),
            QStringLiteral("CompuServe GIF Image (*.gif)"),
            QStringLiteral("PCX Image (*.pcx)"),
            QStringLiteral("ANI Image (*.ani)"),
            QStringLiteral("CompuServe GIF Image (*.gif)"),
        };
        const QStringList patterns = {all, QStringLiteral("*.gif"), QStringLiteral("*.pcx"),
                                      QStringLiteral("*.ani"), QStringLiteral("*.gif")};
        QCOMPARE(options.filters.size(), 5);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(options.filters[i].description, descriptions[i]);
            QCOMPARE(options.filters[i].patterns, patterns[i]);
        }
        // What the dialog lists: Qt wants blank-separated patterns.
        const QStringList shown = {
            QStringLiteral("All (*.gif *.pcx *.ani *.gif *.jpg *.jpeg *.bmp *.ico *.emf *.wmf)"),
            QStringLiteral("CompuServe GIF Image (*.gif)"),
            QStringLiteral("PCX Image (*.pcx)"),
            QStringLiteral("ANI Image (*.ani)"),
            QStringLiteral("CompuServe GIF Image (*.gif)"),
        };
        QCOMPARE(QtNameFilters(options.filters), shown);
    }

    void dialogIsQtsOwnWithPaneAndOptions()
    {
        PictureDialog dialog(PictureFileDialogOptions());
        QVERIFY(dialog.testOption(QFileDialog::DontUseNativeDialog));
        QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(dialog.fileMode(), QFileDialog::ExistingFile);
        QCOMPARE(dialog.defaultSuffix(), QStringLiteral("bmp"));
        QCOMPARE(dialog.nameFilters(), QtNameFilters(PictureFileDialogOptions().filters));
        QVERIFY(dialog.previewPane());
        QVERIFY(dialog.isAncestorOf(dialog.previewPane()));

        const QString jpeg = testing::TestData::Jpeg320x240;
        dialog.proposeFile(jpeg);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(dialog.previewPane()->isVisible());
        QVERIFY(dialog.previewPane()->width() >= 150);
        QCOMPARE(dialog.previewPane()->caption(), QStringLiteral(" (320x240)"));
        QCOMPARE(QFileInfo(dialog.selectedFiles().value(0)), QFileInfo(jpeg));
        // The pane follows the dialog's current file.
        emit dialog.currentChanged(testing::TestData::Bitmap64x48);
        QCOMPARE(dialog.previewPane()->caption(), QStringLiteral(" (64x48)"));
        emit dialog.currentChanged(DataFolder + QStringLiteral("/bmp"));
        QCOMPARE(dialog.previewPane()->caption(), None);
    }

    void standardDialogsOpenThePictureDialog()
    {
        const QString proposed = testing::TestData::Bitmap64x48;
        StandardDialogs dialogs;
        QString caption;
        QStringList filters;
        bool confirm = true;
        // Answers the modal dialog from inside its own loop.
        QTimer answer;
        answer.setInterval(10);
        connect(&answer, &QTimer::timeout, this, [&] {
            auto* dialog = qobject_cast<PictureDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            answer.stop();
            caption = dialog->previewPane()->caption();
            filters = dialog->nameFilters();
            // Through QDialog: the file dialog keeps its own accept() protected.
            QDialog* asDialog = dialog;
            confirm ? asDialog->accept() : asDialog->reject();
        });

        answer.start();
        const std::optional<QString> chosen = dialogs.chooseFile(MaskFileDialogOptions(), proposed);
        QVERIFY(chosen.has_value());
        QCOMPARE(QFileInfo(*chosen), QFileInfo(proposed));
        QCOMPARE(caption, QStringLiteral(" (64x48)"));
        QCOMPARE(filters, QStringList{QStringLiteral("Bitmapy (*.bmp)")});

        confirm = false;
        answer.start();
        QVERIFY(!dialogs.chooseFile(PictureFileDialogOptions(), proposed).has_value());
        QCOMPARE(filters.size(), 5);
    }
};

QTEST_MAIN(PictureDialogTest)
#include "test_picturedialog.moc"
