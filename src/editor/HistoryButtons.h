#pragma once
// "Cofnij" and "Ponów" on the "Plik" tab: one step back or forward in the
// edit history. Each is usable while there is a step to take, and its tip
// names that step.

#include <QObject>

class QPushButton;
class QWidget;

namespace fabulor {

class EditHistory;

class HistoryButtons : public QObject {
public:
    // Puts the two buttons on tab; they follow history's stack from now on.
    HistoryButtons(EditHistory& history, QWidget* tab, QObject* parent = nullptr);

    QPushButton* UndoButton = nullptr;
    QPushButton* RedoButton = nullptr;

    // Enables and names the buttons after the steps there are.
    void showSteps();

private:
    EditHistory& m_history;
};

} // namespace fabulor
