#pragma once
// The settings window: the always-on-top window whose tabs edit the skin
// shown in the preview window. Its controls and handlers carry the names the
// rest of the program knows them by.

#include "document/IniStore.h"

#include <QWidget>

#include <optional>

class QTabWidget;

namespace fabulor {

class Dialogs;
class TF;

// The one skin document: created by the settings window's FormCreate,
// released when the preview window closes.
using SkinDocument = std::optional<IniStore>;

class TFBox : public QWidget {
    Q_OBJECT
public:
    // F is the preview window this window edits; document is the slot the
    // skin document lives in; dialogs is the seam for every modal dialog.
    TFBox(TF& F, SkinDocument& document, Dialogs& dialogs, QWidget* parent = nullptr);
    ~TFBox() override;

    QTabWidget* PCTRL = nullptr;
    QWidget* Plik = nullptr;
    QWidget* Skora = nullptr;
    QWidget* Rozmiar = nullptr;
    QWidget* Komponenty = nullptr;
    QWidget* Wlasciwosci = nullptr;

    void FormCreate();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TF& F;
    SkinDocument& m_document;
    Dialogs& m_dialogs;
};

} // namespace fabulor
