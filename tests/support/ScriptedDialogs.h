#pragma once
// A dialog seam for tests: records every error box and every dialog it was
// asked to show, and answers file dialogs from a script instead of opening them.

#include "widgets/Dialogs.h"

#include <QStringList>

#include <deque>
#include <optional>

namespace fabulor::testing {

class ScriptedDialogs : public Dialogs {
public:
    void showError(const QString& caption, const QString& message) override
    {
        errorCaptions << caption;
        errors << message;
    }

    std::optional<QString> chooseFile(const FileDialogOptions& options, const QString& proposedName) override
    {
        fileDialogs.push_back(options);
        proposedNames << proposedName;
        if (fileAnswers.empty())
            return std::nullopt; // an unscripted dialog is cancelled
        std::optional<QString> answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }

    // Queues the answer of the next file dialog: a name, or cancel.
    void answerFile(const QString& name) { fileAnswers.emplace_back(name); }
    void cancelFile() { fileAnswers.emplace_back(std::nullopt); }

    QStringList errorCaptions;
    QStringList errors;
    QList<FileDialogOptions> fileDialogs;
    QStringList proposedNames;
    std::deque<std::optional<QString>> fileAnswers;
};

} // namespace fabulor::testing
