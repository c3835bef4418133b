#pragma once
// The owner of the program's long-lived objects: the dialog seam, the skin
// document, the preview window and the settings window. It creates them in
// start-up order and wires their lifetimes together.

#include "editor/SettingsWindow.h"
#include "widgets/Dialogs.h"

#include <memory>

namespace fabulor {

class Application;
class TF;

class SkinBuilder {
public:
    // dialogs may be replaced by tests; by default Qt's standard dialogs.
    explicit SkinBuilder(Application& app, std::unique_ptr<Dialogs> dialogs = {});
    ~SkinBuilder();

    // Shows the preview window, which shows the settings window.
    void show();
    // Opens the skin file named on the command line, as "Wczytaj z pliku"
    // opens a chosen one; a failure reaches the error box once the event
    // loop runs, and the default skin stays.
    void openAtStart(const QString& fileName);

    // The running program's parts, for the tests and benchmarks that drive it.
    TF& preview() { return *m_preview; }
    TFBox& settings() { return *m_settings; }
    SkinDocument& document() { return m_document; }

private:
    Application& m_app;
    std::unique_ptr<Dialogs> m_dialogs;
    SkinDocument m_document;
    std::unique_ptr<TF> m_preview;
    std::unique_ptr<TFBox> m_settings;
};

} // namespace fabulor
