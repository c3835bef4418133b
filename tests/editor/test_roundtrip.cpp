// A whole skin made in the editor: a mask, a skin picture and pictures for
// all fourteen buttons, saved, then loaded into a freshly started program,
// which must look the same and hold the same document.

#include "editor/Catalogue.h"
#include "editor/SettingsWindow.h"
#include "pictures/TransparentForm.h"
#include "support/ComparePictures.h"
#include "support/TestProgram.h"
#include "widgets/FileNameEdit.h"
#include "widgets/WindowGeometry.h"

#include <QCheckBox>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace fabulor;
using fabulor::testing::TestProgram;

namespace {

QString SavePicture(const QImage& image, const QString& path, const char* format)
{
    return image.save(path, format, 90) ? path : QString();
}

void Choose(TestProgram& program, FileNameEdit* edit, const QString& file)
{
    program.dialogs->answerFile(file);
    QTest::mouseClick(edit->browseButton(), Qt::LeftButton);
}

} // namespace

class RoundTripTest : public QObject {
    Q_OBJECT
private slots:
    void savedSkinLoadsBackTheSame()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());

        QImage mask(600, 360, QImage::Format_RGB888);
        mask.fill(Qt::black);
        {
            QPainter painter(&mask);
            painter.setBrush(Qt::white);
            painter.setPen(Qt::NoPen);
            painter.drawRoundedRect(QRect(0, 0, 600, 360), 60, 60);
        }
        QImage background(600, 360, QImage::Format_RGB32);
        for (int y = 0; y < background.height(); ++y)
            for (int x = 0; x < background.width(); ++x)
                background.setPixel(x, y, qRgb(40 + x / 5, 60 + y / 4, 120));
        const QString maskFile = SavePicture(mask, dir.filePath("mask.bmp"), "BMP");
        const QString skinFile = SavePicture(background, dir.filePath("skin.jpg"), "JPG");
        QVERIFY(!maskFile.isEmpty() && !skinFile.isEmpty());

        std::optional<TestProgram> first;
        first.emplace();
        TFBox& box = first->FBox();
        box.CheckBox2->setChecked(true);
        Choose(*first, box.Maska, maskFile);
        Choose(*first, box.Skin, skinFile);
        for (int index = FirstButtonIndex; index <= LastButtonIndex; ++index) {
            QImage face(30, 26, QImage::Format_RGB32);
            face.fill(QColor::fromHsv(index * 25, 160, 230));
            QPainter(&face).drawText(face.rect(), Qt::AlignCenter, QString::number(index));
            const QString out =
                SavePicture(face, dir.filePath(QStringLiteral("out%1.jpg").arg(index)), "JPG");
            QImage over = face;
            over.invertPixels();
            const QString in =
                SavePicture(over, dir.filePath(QStringLiteral("over%1.jpg").arg(index)), "JPG");
            box.SelectComponent(index);
            Choose(*first, box.MP1, out);
            if (index != WarningPictureIndex) Choose(*first, box.MP2, in);
        }
        QVERIFY(first->F().Mask->active());
        QCOMPARE(first->F().size(), QSize(600, 360));

        const QString skinPath = dir.filePath(QStringLiteral("whole.ski"));
        first->dialogs->answerFile(skinPath);
        QTest::mouseClick(box.Button2, Qt::LeftButton);
        QCoreApplication::processEvents();
        QVERIFY(first->dialogs->errors.isEmpty());
        const std::string savedText = first->text();
        const QImage savedLook = first->F().grab().toImage();
        const QRegion savedShape = first->F().mask();
        first.reset();

        TestProgram second;
        second.dialogs->answerFile(skinPath);
        QTest::mouseClick(second.FBox().Button1, Qt::LeftButton);
        QCoreApplication::processEvents();
        QVERIFY(second.dialogs->errors.isEmpty());
        QCOMPARE(second.text(), savedText);
        QVERIFY(second.F().Mask->active());
        QCOMPARE(second.F().mask(), savedShape);
        second.FBox().SelectComponent(LastButtonIndex); // the same selection frame as before
        // Exactly: drawn by the same calls on the same machine.
        FSB_COMPARE_PICTURES(second.F().grab().toImage(), savedLook, 0);
    }
};

FSB_PROGRAM_TEST_MAIN(RoundTripTest)
#include "test_roundtrip.moc"
