#include "editor/FindingsWindow.h"

#include "editor/Catalogue.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace fabulor {
namespace {

// Polish counts take the form of one, of two to four (but not twelve to
// fourteen), or of many.
QString Counted(int count, const char* one, const char* few, const char* many)
{
    const int tens = count % 100;
    const int units = count % 10;
    const char* form = many;
    if (count == 1)
        form = one;
    else if (units >= 2 && units <= 4 && (tens < 12 || tens > 14))
        form = few;
    return QStringLiteral("%1 %2").arg(count).arg(QString::fromUtf8(form));
}

} // namespace

QString ErrorCount(int count)
{
    return Counted(count, "błąd", "błędy", "błędów");
}

QString WarningCount(int count)
{
    return Counted(count, "ostrzeżenie", "ostrzeżenia", "ostrzeżeń");
}

QString FindingPlace(const Finding& finding)
{
    const QString key = QString::fromStdString(finding.key);
    if (const CatalogueEntry* entry = CatalogueAt(finding.component))
        return key.isEmpty() ? entry->chooserText : QStringLiteral("%1, %2").arg(entry->chooserText, key);
    const QString section = QString::fromStdString(finding.section);
    if (section.isEmpty()) return QStringLiteral("cała skórka");
    return key.isEmpty() ? QStringLiteral("[%1]").arg(section) : QStringLiteral("[%1] %2").arg(section, key);
}

FindingsWindow::FindingsWindow(QWidget* parent) : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("Findings"));
    setWindowTitle(QStringLiteral("Sprawdzenie skórki"));
    setAccessibleName(QStringLiteral("Sprawdzenie skórki"));
    resize(620, 240);

    Summary = new QLabel(this);
    Summary->setObjectName(QStringLiteral("Summary"));
    Summary->setAccessibleName(QStringLiteral("Wynik sprawdzenia"));
    Summary->setWordWrap(true);

    List = new QTreeWidget(this);
    List->setObjectName(QStringLiteral("FindingsList"));
    List->setAccessibleName(QStringLiteral("Uwagi"));
    List->setAccessibleDescription(QStringLiteral("Uaktywnij uwagę, aby pokazać, gdzie się ją poprawia"));
    List->setColumnCount(2);
    List->setHeaderLabels({QStringLiteral("Uwaga"), QStringLiteral("Gdzie")});
    List->setRootIsDecorated(false);
    List->setUniformRowHeights(true);
    List->setSelectionMode(QAbstractItemView::SingleSelection);
    List->header()->setStretchLastSection(false);
    List->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    List->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    connect(List, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        const int row = List->indexOfTopLevelItem(item);
        if (row >= 0 && std::size_t(row) < m_findings.size())
            emit findingActivated(m_findings[std::size_t(row)]);
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(Summary);
    layout->addWidget(List);
    showSummary();
}

void FindingsWindow::showFindings(const std::vector<Finding>& findings)
{
    m_findings = findings;
    m_checkedOnce = true;
    const QIcon errorIcon = style()->standardIcon(QStyle::SP_MessageBoxCritical);
    const QIcon warningIcon = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    const QIcon noteIcon = style()->standardIcon(QStyle::SP_MessageBoxInformation);
    // The row the user was on stays current where it still exists.
    const int current = List->indexOfTopLevelItem(List->currentItem());
    List->clear();
    for (const Finding& finding : m_findings) {
        const Severity severity = finding.severity;
        auto* item = new QTreeWidgetItem(List);
        item->setIcon(0, severity == Severity::Error     ? errorIcon
                         : severity == Severity::Warning ? warningIcon
                                                         : noteIcon);
        item->setText(0, QString::fromStdString(finding.message));
        item->setText(1, FindingPlace(finding));
        // The whole message, which the column may cut: for a font, also
        // the one that will be used in its place.
        item->setToolTip(0, item->text(0));
        // A screen reader hears the severity the icon shows.
        const QString kind = severity == Severity::Error     ? QStringLiteral("Błąd")
                             : severity == Severity::Warning ? QStringLiteral("Ostrzeżenie")
                                                             : QStringLiteral("Informacja");
        item->setData(0, Qt::AccessibleTextRole, QStringLiteral("%1: %2").arg(kind, item->text(0)));
    }
    if (current >= 0 && current < List->topLevelItemCount())
        List->setCurrentItem(List->topLevelItem(current));
    showSummary();
}

void FindingsWindow::showSummary()
{
    if (!m_checkedOnce) {
        Summary->setText(QStringLiteral("Sprawdzanie…"));
        return;
    }
    int errors = 0;
    int warnings = 0;
    for (const Finding& finding : m_findings) {
        errors += finding.severity == Severity::Error;
        warnings += finding.severity == Severity::Warning;
    }
    QString text;
    if (m_findings.empty())
        text = QStringLiteral("Brak uwag — skórka jest w porządku.");
    else if (errors == 0 && warnings == 0) // notes alone
        text = QStringLiteral("Brak błędów i ostrzeżeń — skórka jest w porządku.");
    else if (errors == 0)
        text = WarningCount(warnings) + QLatin1Char('.');
    else if (warnings == 0)
        text = ErrorCount(errors) + QLatin1Char('.');
    else
        text = QStringLiteral("%1, %2.").arg(ErrorCount(errors), WarningCount(warnings));
    Summary->setText(text);
}

} // namespace fabulor
