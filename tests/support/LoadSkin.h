#pragma once
// Loads a document text into the program as a user would: written as a skin
// file, then chosen through "Wczytaj z pliku" on the "Plik" tab.

#include "document/MemoryStream.h"
#include "skinfile/SkinEntry.h"
#include "skinfile/ZipKit.h"
#include "support/TestProgram.h"

#include <QCoreApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <string>

namespace fabulor::testing {

inline void Load(TestProgram& program, const QTemporaryDir& dir, const std::string& text)
{
    static int counter = 0;
    const QString path = dir.filePath(QStringLiteral("skin%1.ski").arg(++counter));
    TZipKit zip;
    MemoryStream stream;
    stream.write(text);
    SaveSkinEntry(QFile::encodeName(path).toStdString(), stream, zip);
    program.dialogs->answerFile(path);
    QTest::mouseClick(program.FBox().Button1, Qt::LeftButton);
    QCoreApplication::processEvents(); // a failure reaches the error box from a queued call
}

} // namespace fabulor::testing
