// The skin check in the editor (Checking.h), and where the settings window
// shows a finding's place.

#include "editor/Checking.h"

#include "editor/SettingsWindow.h"

#include "check/SkinCheck.h"
#include "editor/Catalogue.h"
#include "editor/FindingsWindow.h"
#include "editor/Guarded.h"
#include "editor/SkinChecker.h"
#include "preview/MaskAreaOverlay.h"
#include "preview/PreviewWindow.h"
#include "widgets/BandPanel.h"
#include "widgets/DialogPlacement.h"
#include "widgets/Dialogs.h"
#include "widgets/Make.h"
#include "widgets/PageControl.h"
#include "widgets/SideTabWidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QTabWidget>
#include <QUndoStack>

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

namespace fabulor {
namespace {

// The role of the key a finding names; Other for none or one the schema
// does not know.
KeyRole RoleOf(const Finding& finding)
{
    const SkinSection* section = FindSection(finding.section);
    const SkinKey* key = section ? section->key(std::string_view(finding.key)) : nullptr;
    return key ? key->role : KeyRole::Other;
}

} // namespace

void TFBox::buildCheck()
{
    // The check reads a copy: capturing into the skin's own document is for
    // the user's actions alone (a save, a picture choice).
    m_check = new EditorCheck(*this, Plik, Skora, F, m_document, m_dialogs,
                              {.snapshot =
                                   [this] {
                                       IniStore copy = document();
                                       SaveStateToDocument(copy);
                                       return copy;
                                   },
                               .goTo = [this](const Finding& finding) { ShowFinding(finding); }});
    // Every step, undo and redo moves the history's index; a load starts a
    // new history.
    connect(m_stack, &QUndoStack::indexChanged, m_check, [this] { m_check->skinChanged(); });
    // Queued: the load announces itself also while it fails.
    connect(
        this, &TFBox::skinLoaded, m_check, [this] { m_check->skinChanged(); }, Qt::QueuedConnection);
}

EditorCheck::EditorCheck(QWidget& window, QWidget* fileTab, QWidget* skinTab, TF& preview,
                         const std::optional<IniStore>& document, Dialogs& dialogs, Hooks hooks)
    : QObject(&window), m_window(window), m_preview(preview), m_document(document), m_dialogs(dialogs),
      m_hooks(std::move(hooks))
{
    CheckButton = Make<QPushButton>(fileTab, "CheckButton", {206, 64, 58, 25}, QStringLiteral("Sprawdź"));
    CheckButton->setToolTip(
        QStringLiteral("Sprawdź, co w skórce czytnik pokaże źle albo wcale: rysunki, maskę, położenie, "
                       "czytelność napisów i wartości"));
    connect(CheckButton, &QPushButton::clicked, this, Guarded(this, [this] { CheckButtonClick(); }));

    Checker = new SkinChecker(m_hooks.snapshot, this);
    connect(Checker, &SkinChecker::checked, this,
            [this] { findingsWindow().showFindings(Checker->findings()); });

    MaskAreaCheck =
        Make<QCheckBox>(skinTab, "MaskAreaCheck", {120, 8, 137, 17}, QStringLiteral("Pokaż obszar maski"));
    MaskAreaCheck->setToolTip(QStringLiteral(
        "Gdy okno nie ma kształtu maski: przyciemnia w podglądzie to, co maska ukryje, i obrysowuje na "
        "czerwono komponenty, które w to wchodzą"));
    // A way of looking at the skin, not a change to it: no step of the history.
    connect(MaskAreaCheck, &QCheckBox::toggled, this, [this] { MaskAreaCheckClick(); });
}

FindingsWindow& EditorCheck::findingsWindow()
{
    if (!m_findings) {
        m_findings = new FindingsWindow(&m_window);
        connect(m_findings, &FindingsWindow::findingActivated, this, [this](const Finding& finding) {
            Guarded(this, [this, finding] { m_hooks.goTo(finding); })();
        });
    }
    return *m_findings;
}

void EditorCheck::CheckButtonClick()
{
    FindingsWindow& findings = findingsWindow();
    // Beside the settings window, where it leaves the preview in view, and
    // wholly on the screen wherever the settings window has been moved.
    if (!findings.isVisible()) PlaceBeside(findings, m_window);
    findings.show();
    findings.raise();
    findings.activateWindow();
    Checker->checkNow();
}

void EditorCheck::skinChanged()
{
    if (m_findings && m_findings->isVisible()) Checker->schedule();
    if (MaskArea && MaskArea->isOn()) MaskAreaCheckClick();
}

void TFBox::ShowFinding(const Finding& finding)
{
    const KeyRole role = RoleOf(finding);
    const CatalogueEntry* entry = CatalogueAt(finding.component);
    if (!entry) {
        // The window's own keys: its size on "Rozmiar", its shape and
        // pictures on "Skóra".
        PCTRL->setCurrentWidget(role == KeyRole::Width || role == KeyRole::Height ? Rozm : Skora);
        return;
    }
    // Exactly what a press on the component does.
    if (F.SelectComponent)
        F.SelectComponent(finding.component);
    else
        SelectComponent(finding.component);
    // A button on a page in the background: its page comes forward, as the
    // page band would bring it.
    QWidget* control = entry->moved(F);
    for (int page = 0; page < F.PC1->pageCount(); ++page)
        if (F.PC1->page(page)->isAncestorOf(control)) F.PC1->setActivePageIndex(page);
    if (IsAppearanceRole(role) && entry->schema->appearance != AppearanceSheet::None) {
        PCTRL->setCurrentWidget(Prop);
        const std::array<std::pair<AppearanceSheet, QWidget*>, 6> sheets{{
            {AppearanceSheet::Description, TabSheet1},
            {AppearanceSheet::PageControl, TabSheet2},
            {AppearanceSheet::ItemList, TabSheet3},
            {AppearanceSheet::Picture, TabSheet4},
            {AppearanceSheet::PathLabels, TabSheet5},
            {AppearanceSheet::Messages, TabSheet6},
        }};
        for (const auto& [sheet, page] : sheets)
            if (sheet == entry->schema->appearance) PageControl1->setCurrentWidget(page);
        return;
    }
    Band* band = Miejsce;
    if ((role == KeyRole::Width || role == KeyRole::Height) && entry->rozmiar())
        band = Rozmiar;
    else if ((role == KeyRole::MouseOut || role == KeyRole::MouseOver) && entry->rysunek())
        band = Rysunek;
    band->setExpanded(true);
    BandPanel1->ensureWidgetVisible(band, 0, 0);
}

bool EditorCheck::MaySaveWithErrors()
{
    // The check runs on a worker; a skin it cannot finish in time is saved
    // without the question rather than keep the user waiting.
    const std::optional<std::vector<Finding>> findings = Checker->checkBeforeSave(*m_document);
    if (!findings) return true;
    const auto errors = std::count_if(findings->begin(), findings->end(),
                                      [](const Finding& f) { return f.severity == Severity::Error; });
    if (errors == 0) return true;
    return m_dialogs.askSaveAnyway(
        QCoreApplication::applicationName(),
        QStringLiteral("Skórka ma %1. Zapisać ją mimo to?").arg(ErrorCount(int(errors))));
}

void EditorCheck::MaskAreaCheckClick()
{
    if (!MaskArea) MaskArea = new MaskAreaOverlay(m_preview);
    if (MaskAreaCheck->isChecked()) {
        // The mask the skin holds, whichever file it came from.
        MemoryStream mask;
        m_document->readBinary(WindowSection().name, WindowKey(KeyRole::Mask).name, mask);
        MaskArea->setMaskBytes(std::vector<std::uint8_t>(mask.bytes().begin(), mask.bytes().end()));
    }
    MaskArea->setOn(MaskAreaCheck->isChecked());
}

} // namespace fabulor
