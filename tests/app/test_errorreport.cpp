// The one error box: what escapes a handler is shown, and the program goes on.

#include "app/Application.h"
#include "support/ScriptedDialogs.h"

#include <QTest>

#include <stdexcept>

using namespace fabulor;

namespace {

class Thrower : public QObject {
public:
    int handled = 0;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User) throw std::runtime_error("'red' is not a valid integer value");
        if (e->type() == QEvent::User + 1) ++handled;
        return QObject::event(e);
    }
};

} // namespace

namespace {

// An error box whose own showing runs into a second failure, as a failing
// paint inside the box's event loop would.
class ReentrantDialogs : public testing::ScriptedDialogs {
public:
    Thrower* thrower = nullptr;
    void showError(const QString& caption, const QString& message) override
    {
        ScriptedDialogs::showError(caption, message);
        QEvent again(QEvent::User);
        QCoreApplication::sendEvent(thrower, &again);
    }
};

} // namespace

class ErrorReportTest : public QObject {
    Q_OBJECT
private slots:
    void fullStopIsAddedAfterCharactersSortingAfterThePoint_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << "File not found"
                                << "File not found.";
        QTest::newRow("quote") << "'red' is not a valid integer value"
                               << "'red' is not a valid integer value.";
        QTest::newRow("already a point") << "Failed CRC Check."
                                         << "Failed CRC Check.";
        QTest::newRow("exclamation sorts before") << "Uwaga!"
                                                  << "Uwaga!";
        QTest::newRow("parenthesis sorts before") << "(x)"
                                                  << "(x)";
        QTest::newRow("hyphen sorts before") << "a -"
                                             << "a -";
        QTest::newRow("slash sorts after") << "/tmp/"
                                           << "/tmp/.";
        QTest::newRow("digit sorts after") << "JPEG error #53"
                                           << "JPEG error #53.";
        QTest::newRow("national letter") << "Zażółć"
                                         << "Zażółć.";
        QTest::newRow("empty") << ""
                               << "";
    }
    void fullStopIsAddedAfterCharactersSortingAfterThePoint()
    {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(ErrorBoxText(message), shown);
    }

    void escapingFailureShowsOneBoxAndTheProgramGoesOn()
    {
        auto* app = qobject_cast<Application*>(QCoreApplication::instance());
        QVERIFY(app);
        testing::ScriptedDialogs dialogs;
        app->setDialogs(&dialogs);

        Thrower thrower;
        QEvent failing(QEvent::User);
        QCoreApplication::sendEvent(&thrower, &failing);
        QCOMPARE(dialogs.errors, QStringList{"'red' is not a valid integer value."});
        QCOMPARE(dialogs.errorCaptions, QStringList{"Fabulor Skin Builder"});

        QEvent fine(QEvent::Type(QEvent::User + 1));
        QCoreApplication::sendEvent(&thrower, &fine);
        QCOMPARE(thrower.handled, 1);
        QCOMPARE(dialogs.errors.size(), 1);
        app->setDialogs(nullptr);
    }

    void failureWhileTheBoxIsOpenOpensNoSecondBox()
    {
        auto* app = qobject_cast<Application*>(QCoreApplication::instance());
        Thrower thrower;
        ReentrantDialogs dialogs;
        dialogs.thrower = &thrower;
        app->setDialogs(&dialogs);
        QTest::ignoreMessage(QtWarningMsg, "'red' is not a valid integer value");
        QEvent failing(QEvent::User);
        QCoreApplication::sendEvent(&thrower, &failing);
        QCOMPARE(dialogs.errors.size(), 1);
        app->setDialogs(nullptr);
    }
};

int main(int argc, char** argv)
{
    Application app(argc, argv);
    ErrorReportTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_errorreport.moc"
