#pragma once
// The files of tests/data by name. The pictures and folders that tests in
// several layers open are named here once, so a picture replaced or moved in
// tests/data is changed in one place and every test still says what it
// opens (a 320 x 240 JPEG, a 400 x 300 mask) rather than where it lies.

#include <QString>
#include <QStringView>

namespace fabulor::testing {

// A file or folder under tests/data, given relative to it ("bmp/pal8.bmp").
inline QString DataFile(QStringView relative)
{
    QString path = QStringLiteral(FSB_TESTDATA_DIR "/");
    return path.append(relative);
}

namespace TestData {

// The folder itself, without a closing slash.
inline const QString Folder = QStringLiteral(FSB_TESTDATA_DIR);
// Archives of every kind a skin may come in, and MANIFEST.tsv on what each holds.
inline const QString ZipFolder = DataFile(u"zip");

// A baseline JPEG of 320 x 240 in colour.
inline const QString Jpeg320x240 = DataFile(u"jpeg/cjpeg_baseline_320x240.jpg");
// A 24-bit bitmap of 64 x 48, a picture but no JPEG.
inline const QString Bitmap64x48 = DataFile(u"bmp/im_24bit_64x48.bmp");
// A 24-bit bitmap of 400 x 300 whose shape makes a mask of a window.
inline const QString Mask400x300 = DataFile(u"bmp/im_shape_400x300_24bit.bmp");

} // namespace TestData

} // namespace fabulor::testing
