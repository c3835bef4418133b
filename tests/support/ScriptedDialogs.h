#pragma once
// A dialog seam for tests: records every error box and every dialog it was
// asked to show, and answers file dialogs and questions from a script instead
// of opening them.

#include "widgets/Dialogs.h"

#include <QStringList>

#include <deque>
#include <optional>
#include <vector>

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
        if (fileAnswers.empty()) return std::nullopt; // an unscripted dialog is cancelled
        const FileAnswer answer = fileAnswers.front();
        fileAnswers.pop_front();
        if (answer.cancel) return std::nullopt;
        return answer.name;
    }

    std::optional<Colour> chooseColour(Colour initial) override
    {
        colourDialogInitials.push_back(initial);
        if (colourAnswers.empty()) return std::nullopt;
        const std::optional<Colour> answer = colourAnswers.front();
        colourAnswers.pop_front();
        return answer;
    }

    SaveChangesAnswer askSaveChanges(const QString& caption, const QString& message) override
    {
        saveChangesCaptions << caption;
        saveChangesQuestions << message;
        // Unscripted, the changes are dropped, as they were before anything
        // asked: tests about other things go on as they always did.
        if (saveChangesAnswers.empty()) return SaveChangesAnswer::Discard;
        const SaveChangesAnswer answer = saveChangesAnswers.front();
        saveChangesAnswers.pop_front();
        return answer;
    }

    bool askSaveAnyway(const QString& caption, const QString& message) override
    {
        saveAnywayCaptions << caption;
        saveAnywayQuestions << message;
        // Unscripted, the skin is saved, as it was before anything asked.
        if (saveAnywayAnswers.empty()) return true;
        const bool answer = saveAnywayAnswers.front();
        saveAnywayAnswers.pop_front();
        return answer;
    }

    bool askReplaceChangedFile(const QString& caption, const QString& message) override
    {
        replaceChangedCaptions << caption;
        replaceChangedQuestions << message;
        // Unscripted, the file is replaced, as it was before anything asked.
        if (replaceChangedAnswers.empty()) return true;
        const bool answer = replaceChangedAnswers.front();
        replaceChangedAnswers.pop_front();
        return answer;
    }

    // Queues the answer of the next file dialog: a name, or cancel.
    void answerFile(const QString& name) { fileAnswers.push_back({false, name}); }
    void cancelFile() { fileAnswers.push_back({true, {}}); }

    struct FileAnswer {
        bool cancel;
        QString name;
    };

    QStringList errorCaptions;
    QStringList errors;
    QList<FileDialogOptions> fileDialogs;
    QStringList proposedNames;
    std::deque<FileAnswer> fileAnswers;
    std::vector<Colour> colourDialogInitials;
    std::deque<std::optional<Colour>> colourAnswers; // nullopt: cancel
    QStringList saveChangesCaptions;
    QStringList saveChangesQuestions; // one per time the question was asked
    std::deque<SaveChangesAnswer> saveChangesAnswers;
    QStringList saveAnywayCaptions;
    QStringList saveAnywayQuestions;    // one per time the question was asked
    std::deque<bool> saveAnywayAnswers; // true: "Zapisz mimo to"
    QStringList replaceChangedCaptions;
    QStringList replaceChangedQuestions;    // one per time the question was asked
    std::deque<bool> replaceChangedAnswers; // true: "Zastąp"
};

} // namespace fabulor::testing
