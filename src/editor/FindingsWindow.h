#pragma once
// The findings list: a small window beside the settings window that lists
// what the skin check found, one row per finding with an error, warning or
// note icon, the message and where it is; activating a row asks to be shown
// where it is fixed. It stays open while the user edits.

#include "check/SkinCheck.h"

#include <QWidget>

#include <vector>

class QLabel;
class QTreeWidget;

namespace fabulor {

// "1 błąd", "2 błędy", "5 błędów", "12 błędów", "22 błędy".
QString ErrorCount(int count);
// "1 ostrzeżenie", "2 ostrzeżenia", "5 ostrzeżeń".
QString WarningCount(int count);
// Where a finding is fixed, as the user knows it: the component's chooser
// text, or the section and key.
QString FindingPlace(const Finding& finding);

class FindingsWindow : public QWidget {
    Q_OBJECT
public:
    explicit FindingsWindow(QWidget* parent = nullptr);

    // Lists findings in place of those shown before.
    void showFindings(const std::vector<Finding>& findings);
    const std::vector<Finding>& findings() const { return m_findings; }

    QLabel* Summary = nullptr;
    QTreeWidget* List = nullptr;

signals:
    // A row was activated (double click, Enter).
    void findingActivated(const fabulor::Finding& finding);

private:
    void showSummary();

    std::vector<Finding> m_findings;
    bool m_checkedOnce = false;
};

} // namespace fabulor
