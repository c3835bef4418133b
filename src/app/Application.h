#pragma once
// The application object: sets the title and is the one place where a
// failure that escapes an event handler is reported to the user.

#include <QApplication>

namespace fabulor {

class Dialogs;

inline constexpr char ApplicationTitle[] = "Fabulor Skin Builder";

// The message as the error box shows it: a full stop is appended when the
// last character sorts after ".".
QString ErrorBoxText(const QString& message);

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    // Where error boxes go; the owner sets it once the dialogs exist.
    void setDialogs(Dialogs* dialogs) { m_dialogs = dialogs; }

    // Delivers an event, catching what a handler throws: the error box is
    // shown and the program goes on.
    bool notify(QObject* receiver, QEvent* event) override;

    // Shows the error box for a failure that escaped a handler.
    void reportError(const QString& message);

private:
    Dialogs* m_dialogs = nullptr;
    bool m_reporting = false; // an error box is open
};

} // namespace fabulor
