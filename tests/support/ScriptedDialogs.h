#pragma once
// A dialog seam for tests: records every error box and answers dialogs from
// a script instead of opening them.

#include "widgets/Dialogs.h"

#include <QStringList>

namespace fabulor::testing {

class ScriptedDialogs : public Dialogs {
public:
    void showError(const QString& caption, const QString& message) override
    {
        errorCaptions << caption;
        errors << message;
    }

    QStringList errorCaptions;
    QStringList errors;
};

} // namespace fabulor::testing
