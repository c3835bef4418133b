#pragma once
// The skin check in the editor: "Sprawdź" on the "Plik" tab opens the
// findings list, which follows the skin as it changes; a save of a skin with
// errors asks first. With it goes "Pokaż obszar maski" on the "Skóra" tab,
// the mask area shown in the preview while the window is not shaped: a view
// option, off at start, no step of the history and not kept in the skin.

#include "document/IniStore.h"

#include <QObject>

#include <functional>
#include <optional>

class QCheckBox;
class QPushButton;
class QWidget;

namespace fabulor {

class Dialogs;
class FindingsWindow;
class MaskAreaOverlay;
class SkinChecker;
class TF;
struct Finding;

class EditorCheck : public QObject {
public:
    struct Hooks {
        // A copy of the skin as the preview shows it, for the check to read.
        std::function<IniStore()> snapshot;
        // Shows where a finding is fixed, as the settings window knows it.
        std::function<void(const Finding&)> goTo;
    };
    // window: the settings window, which the findings list stands beside;
    // fileTab and skinTab take the check's button and the mask area option;
    // document holds the skin's stored mask.
    EditorCheck(QWidget& window, QWidget* fileTab, QWidget* skinTab, TF& preview,
                const std::optional<IniStore>& document, Dialogs& dialogs, Hooks hooks);

    QPushButton* CheckButton = nullptr;
    SkinChecker* Checker = nullptr;
    // The findings list, made when first needed: it stays hidden until the
    // first check.
    FindingsWindow& findingsWindow();
    bool findingsWindowBuilt() const { return m_findings != nullptr; }
    QCheckBox* MaskAreaCheck = nullptr;
    MaskAreaOverlay* MaskArea = nullptr;

    // "Sprawdź": shows the findings list and checks the skin now.
    void CheckButtonClick();
    // The skin changed (a step, an undo, a load): the list and the mask area
    // follow it where they show.
    void skinChanged();
    // True when the skin may be saved: it has no errors, or the user saves
    // it anyway.
    bool MaySaveWithErrors();
    void MaskAreaCheckClick();

private:
    QWidget& m_window;
    TF& m_preview;
    const std::optional<IniStore>& m_document;
    Dialogs& m_dialogs;
    Hooks m_hooks;
    FindingsWindow* m_findings = nullptr;
};

} // namespace fabulor
