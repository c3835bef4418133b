// Qt's own texts, in its dialogs and standard buttons, speak Polish like the
// program's own, whatever the system's language (the tests run in the C
// locale). Without Qt's Polish catalogue installed they stay English, and
// these tests say so and skip.

#include "support/TestProgram.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QWindow>

using namespace fabulor;

namespace {

bool CatalogueInstalled()
{
    return QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                         QStringLiteral("/qtbase_pl.qm"));
}

} // namespace

class TranslationsTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        if (!CatalogueInstalled())
            QSKIP("Qt's Polish catalogue (qtbase_pl.qm, Debian package qt6-translations-l10n) is not "
                  "installed");
    }

    void standardButtonsSpeakPolish()
    {
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Anuluj"));
        QDialogButtonBox buttons(QDialogButtonBox::Save | QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Save)->text(), QStringLiteral("Zapisz"));
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Anuluj"));
    }

    void fileDialogsSpeakPolish()
    {
        // The save dialog of skin files, as the program opens it.
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Zapisz jako"));
        QDialogButtonBox* buttons = dialog.findChild<QDialogButtonBox*>();
        QVERIFY(buttons);
        QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Anuluj"));
        // Saving is "Zapisz" there too, as on the program's own buttons.
        QCOMPARE(buttons->button(QDialogButtonBox::Save)->text(), QStringLiteral("&Zapisz"));

        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        QCOMPARE(buttons->button(QDialogButtonBox::Open)->text(), QStringLiteral("&Otwórz"));
    }

    void programTextsStayAsTheyAre()
    {
        // The program's own texts are not looked up in Qt's catalogue.
        testing::TestProgram p;
        QCOMPARE(p.FBox().PCTRL->tabText(1), QStringLiteral("Skóra"));
        QCOMPARE(p.FBox().windowHandle()->title(), QStringLiteral("Ustawienia"));
    }
};

FSB_PROGRAM_TEST_MAIN(TranslationsTest)
#include "test_translations.moc"
