#pragma once
// "Utwórz maskę z obrazu…" on the "Skóra" tab, usable while the skin has a
// JPEG skin picture: opens the mask maker (MaskMakerDialog.h) on it. Saving
// writes the mask file and takes it as the mask, as choosing it in the
// mask's field does, in one step of the history.

#include "document/IniStore.h"

#include <QObject>

#include <functional>
#include <optional>

class QPushButton;
class QWidget;

namespace fabulor {

class Dialogs;
class FileNameEdit;
class MaskMakerDialog;

class MaskMakerLauncher : public QObject {
public:
    // Puts the button on panel; the dialog stands above window. document
    // holds the skin picture; a made mask is taken through mask, the mask's
    // own field. inView tells whether the button can be seen now: only then
    // is the skin picture decoded to tell whether it is usable.
    MaskMakerLauncher(QWidget& window, QWidget* panel, const std::optional<IniStore>& document,
                      Dialogs& dialogs, FileNameEdit& mask, std::function<bool()> inView);

    QPushButton* MaskMakerButton = nullptr;
    MaskMakerDialog* MaskMaker = nullptr; // while open

    void MaskMakerButtonClick();
    void SaveMadeMask(MaskMakerDialog& dialog);
    // Enables the button when the skin has a skin picture that decodes.
    void ShowMaskMakerState();

private:
    QWidget& m_window;
    const std::optional<IniStore>& m_document;
    Dialogs& m_dialogs;
    FileNameEdit& m_mask;
    std::function<bool()> m_inView;
};

} // namespace fabulor
