#pragma once
// Starts the whole program in-process with a scripted dialog seam, as the
// user would see it right after start-up, for tests that drive its handlers.

#include "app/Application.h"
#include "app/SkinBuilder.h"
#include "document/DocumentText.h"
#include "preview/PreviewWindow.h"
#include "support/ScriptedDialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace fabulor::testing {

struct TestProgram {
    TestProgram()
    {
        auto scripted = std::make_unique<ScriptedDialogs>();
        dialogs = scripted.get();
        builder = std::make_unique<SkinBuilder>(application(), std::move(scripted));
        builder->show();
    }

    static Application& application() { return *qobject_cast<Application*>(QCoreApplication::instance()); }

    TF& F() { return builder->preview(); }
    TFBox& FBox() { return builder->settings(); }
    IniStore& doc() { return *builder->document(); }
    std::string text() { return DocumentText(doc()); }

    ScriptedDialogs* dialogs = nullptr;
    std::unique_ptr<SkinBuilder> builder;
};

// What the program keeps between runs (the recent skins) goes to a folder
// of the test's own while this lives: never the user's settings, and no
// test sees what another test program left.
struct TemporarySettings {
    TemporarySettings()
    {
        for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
            QSettings::setPath(format, QSettings::UserScope, dir.filePath(QStringLiteral("user")));
            QSettings::setPath(format, QSettings::SystemScope, dir.filePath(QStringLiteral("system")));
        }
    }
    QTemporaryDir dir;
};

// A main() for test classes that need the program's own application object
// (for its error box) and that start the program several times.
#define FSB_PROGRAM_TEST_MAIN(TestClass)                                                                     \
    int main(int argc, char** argv)                                                                          \
    {                                                                                                        \
        fabulor::Application app(argc, argv);                                                                \
        app.setQuitOnLastWindowClosed(false);                                                                \
        const fabulor::testing::TemporarySettings settings;                                                  \
        TestClass test;                                                                                      \
        return QTest::qExec(&test, argc, argv);                                                              \
    }

} // namespace fabulor::testing
