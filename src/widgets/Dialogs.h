#pragma once
// The one seam through which the program shows modal dialogs and message
// boxes. The real implementation opens Qt's dialogs; tests install scripted
// answers, so every handler runs without a modal loop.

#include <QString>

namespace fabulor {

class Dialogs {
public:
    virtual ~Dialogs();

    // The error box: error icon, the given caption, the message as text.
    virtual void showError(const QString& caption, const QString& message) = 0;
};

// Qt's standard dialogs.
class StandardDialogs : public Dialogs {
public:
    void showError(const QString& caption, const QString& message) override;
};

} // namespace fabulor
