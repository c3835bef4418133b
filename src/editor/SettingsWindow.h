#pragma once
// The settings window: the always-on-top window whose tabs edit the skin
// shown in the preview window. Its controls and handlers carry the names the
// rest of the program knows them by. Where they live:
// - each tab's controls and handlers: FileTab.cpp, SkinTab.cpp, SizeTab.cpp,
//   ComponentsTab.cpp (its picture band in ButtonImages.cpp),
//   PropertiesTab.cpp;
// - capture and apply: Synchronisation.cpp for the window's own section,
//   SkinBinding.h for the components, key by key, by the key's role;
// - the edit history: EditHistory.h, and Steps.h for the parts each handler's
//   step touches and how it is hooked;
// - where a finding of the check is shown: Checking.cpp.
// What the editor offers beside the named controls is a class each, with
// the widgets it drives, owned by this window and reached through it
// (history(), check()...): HistoryButtons.h, RecentSkins.h, Checking.h (the
// check, its findings list and the mask area), MaskMakerLauncher.h,
// HoverPreview.h, SkinPictures.h (the pictures' memory and their loading in
// the background, PictureLoading.h) and SkinFileGuard.h (the questions about
// unsaved changes and a file changed on disk). File drops onto both windows
// are Drops.h.

#include "document/IniStore.h"
#include "document/SkinSchema.h"
#include "document/SkinValue.h"
#include "editor/Checking.h"
#include "editor/EditHistory.h"
#include "editor/HistoryButtons.h"
#include "editor/HoverPreview.h"
#include "editor/MaskMakerLauncher.h"
#include "editor/RecentSkins.h"
#include "editor/SkinBinding.h"
#include "editor/SkinFileGuard.h"
#include "editor/SkinPictures.h"
#include "skinfile/ZipKit.h"
#include "widgets/Dialogs.h"

#include <QWidget>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;
class QToolButton;
class QUndoStack;

namespace fabulor {

class Band;
class BandPanel;
class ColourPicker;
class FileNameEdit;
struct Finding;
class FontPicker;
class NoteLabel;
class PictureBox;
class SideTabWidget;
class SizePicker;
class SpinEdit;
class TF;

// The one skin document: created by the settings window's FormCreate,
// released when the preview window closes.
using SkinDocument = std::optional<IniStore>;

class TFBox : public QWidget, private ShapeAccess {
    Q_OBJECT
public:
    // F is the preview window this window edits; document is the slot the
    // skin document lives in; dialogs is the seam for every modal dialog.
    TFBox(TF& F, SkinDocument& document, Dialogs& dialogs, QWidget* parent = nullptr);
    ~TFBox() override;

    QTabWidget* PCTRL = nullptr;

    // "Plik": loading and saving skin files.
    QWidget* Plik = nullptr;
    QPushButton* Button1 = nullptr; // "Wczytaj z pliku"
    QPushButton* Button2 = nullptr; // "Zapisz do pliku"
    FileDialog Op;
    FileDialog Sa;
    TZipKit Zip;
    void Button1Click();
    bool Button2Click(); // true when the skin was written

    // "Skóra": the window's shape and background picture.
    QWidget* Skora = nullptr;
    QCheckBox* CheckBox2 = nullptr; // "Użyj skóry"
    QFrame* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    FileNameEdit* Maska = nullptr;
    NoteLabel* NoteLabel1 = nullptr;
    QFrame* Bevel2 = nullptr;
    QLabel* Label2 = nullptr;
    FileNameEdit* Skin = nullptr;
    NoteLabel* NoteLabel3 = nullptr;
    void CheckBox2Click();
    void MaskaAfterDialog(const QString& fileName);
    // Spelled so on purpose: it is the name the skin format's users know,
    // not a typo of "SkinAfterDialog".
    void SkinfterDialog(const QString& fileName);

    // "Rozmiar": the window's size while it has no shape.
    QWidget* Rozm = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr;
    SpinEdit* FW = nullptr;
    SpinEdit* FH = nullptr;
    void RozmShow();
    void FWChange();
    void FHChange();

    // "Komponenty": choosing a component, its geometry and its pictures.
    QWidget* Comps = nullptr;
    // The component chosen. Its chooser, CB, is made when the tab first
    // shows (componentChooser()); until then the choice is kept here alone.
    int currentComponent() const { return m_component; }
    // Chooses as setting the chooser's index does: no handler runs.
    void setCurrentComponent(int index);
    QComboBox* componentChooser();
    QComboBox* CB = nullptr;
    BandPanel* BandPanel1 = nullptr;
    Band* Rozmiar = nullptr;
    Band* Miejsce = nullptr;
    Band* Nawigacja = nullptr;
    Band* Rysunek = nullptr;
    QPushButton* Button3 = nullptr;
    SpinEdit* Szer = nullptr;
    SpinEdit* Wys = nullptr;
    QPushButton* Button4 = nullptr;
    SpinEdit* Top = nullptr;
    SpinEdit* Left = nullptr;
    QToolButton* BitBtn1 = nullptr;
    QToolButton* BitBtn2 = nullptr;
    QLabel* Label7 = nullptr;
    FileNameEdit* MP1 = nullptr;
    QLabel* Label8 = nullptr;
    FileNameEdit* MP2 = nullptr;
    QToolButton* BRefr = nullptr;
    PictureBox* MOU = nullptr;
    PictureBox* MOV = nullptr;
    void SelectComponent(int index);
    void CBChange();
    int ComponentWidth(int index) const;
    int ComponentHeight(int index) const;
    int ComponentTop(int index) const;
    int ComponentLeft(int index) const;
    void Button3Click();
    void Button4Click();
    void SzerChange();
    void WysChange();
    void TopChange();
    void LeftChange();
    void BitBtn1Click();
    void BitBtn2Click();
    void LoadButtonImages(bool fromFiles, const QString& mouseOut, const QString& mouseOver);
    void MP1AfterDialog(const QString& fileName);
    void MP2AfterDialog(const QString& fileName);
    void BRefrClick();

    // "Właściwości": colours, fonts and borders. Its editors are made when
    // the tab is first shown, or first needed (a loaded skin, a finding that
    // points there), not at start-up: until then the preview alone holds
    // what they would show, and every editor pointer below is null.
    QWidget* Prop = nullptr;
    void ensurePropertiesTab();
    bool propertiesTabBuilt() const { return PageControl1 != nullptr; }
    SideTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr; // "Opis"
    QCheckBox* O_Flat = nullptr;
    ColourPicker* O_color = nullptr;
    FontPicker* O_font = nullptr;
    SizePicker* O_fontsize = nullptr;
    ColourPicker* O_fontcolor = nullptr;
    QWidget* TabSheet2 = nullptr; // "PageControl"
    SpinEdit* P_border = nullptr;
    ColourPicker* P_color = nullptr;
    QWidget* TabSheet3 = nullptr; // "Przedmioty"
    QCheckBox* B_flat = nullptr;
    QCheckBox* B_flatscroll = nullptr;
    ColourPicker* B_color = nullptr;
    FontPicker* B_font = nullptr;
    SizePicker* B_fontsize = nullptr;
    ColourPicker* B_fontcolor = nullptr;
    QWidget* TabSheet4 = nullptr; // "Rysunek"
    SpinEdit* R_border = nullptr;
    ColourPicker* R_color = nullptr;
    ColourPicker* R_pcolor = nullptr;
    QWidget* TabSheet5 = nullptr; // Label "Droga nr [x]"
    FontPicker* D_font = nullptr;
    SizePicker* D_fontsize = nullptr;
    ColourPicker* D_fontcolor = nullptr;
    QWidget* TabSheet6 = nullptr; // "Komunikat"
    FontPicker* K_font = nullptr;
    SizePicker* K_fontsize = nullptr;
    ColourPicker* K_fontcolor = nullptr;
    void O_FlatClick();
    void O_fontChange();
    void P_borderChange();
    void B_flatClick();
    void B_fontChange();
    void R_borderChange();
    void D_fontChange();
    void K_fontChange();

    // Capture (preview to document) and apply (document to preview).
    void SaveStateToDocument();
    // Capture into another document (the skin check's copy): the skin's own
    // document is written only when the user's action calls for it.
    void SaveStateToDocument(IniStore& target);
    void LoadStateFromDocument();
    void FormCreate();

    // Loads a skin file as "Wczytaj z pliku" does once a name is chosen. A
    // failure is raised and keeps the skin and its history; a load starts a
    // new history and puts the file first among the recent skins, unless
    // remember is false (a picture of a skin drawn from the command line is
    // not the user opening it).
    void LoadSkinFile(const QString& fileName, bool remember = true);
    // What the editor offers beside the named controls and handlers: each a
    // class of its own, with the widgets it drives, owned by this window.
    // The edit history: every change the user makes is one step of it. Its
    // clean state is the skin as last loaded or saved.
    EditHistory& history() { return *m_history; }
    HistoryButtons& historyButtons() { return *m_historyButtons; }
    RecentSkinsList& recentSkins() { return *m_recentSkins; }
    // The skin check, its findings list and the mask area in the preview.
    EditorCheck& check() { return *m_check; }
    MaskMakerLauncher& maskMaker() { return *m_maskMaker; }
    // "Podgląd najechania" on the picture band: the preview's buttons show
    // their mouse-over pictures under the pointer.
    HoverPreview& hover() { return *m_hover; }
    // The skin's pictures: their memory and their loading.
    SkinPictures& pictures() { return *m_pictures; }
    // The questions before the skin is let go or its file replaced.
    SkinFileGuard& fileGuard() { return *m_fileGuard; }

signals:
    // The chosen component changed, by the user or by code.
    void currentComponentChanged(int index);
    // A skin file was loaded (also over a history with no steps, which
    // announces nothing when it starts again).
    void skinLoaded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildCheck();
    // Selects a finding's component as a press in the preview does and shows
    // the tab, band or sheet where the finding is fixed.
    void ShowFinding(const Finding& finding);
    void hookHistory();
    // The window's shape, as steps of the history read and set it back.
    const QWidget* shapeSwitch() const override;
    ShapeState readShape() const override;
    void writeShape(const ShapeState& shape) override;
    // Every editor whose earlier value steps of the history need.
    std::vector<QWidget*> trackedEditors() const;
    void buildFileTab();
    void buildSkinTab();
    // CheckBox2Click's work: where the shape it gave the window came from.
    enum class ShapedBy { Nothing, MaskFile, StoredMask };
    ShapedBy switchShape();
    // Shapes the preview by the mask the skin holds, when it decodes.
    bool shapeByStoredMask();
    void buildSizeTab();
    void buildComponentsTab();
    void buildPictureBand();
    void buildPropertiesTab();

    IniStore& document();

    TF& F;
    SkinBinding m_binding;
    SkinDocument& m_document;
    Dialogs& m_dialogs;
    QUndoStack* m_stack = nullptr;
    EditHistory* m_history = nullptr;
    HistoryButtons* m_historyButtons = nullptr;
    RecentSkinsList* m_recentSkins = nullptr;
    EditorCheck* m_check = nullptr;
    MaskMakerLauncher* m_maskMaker = nullptr;
    HoverPreview* m_hover = nullptr;
    SkinPictures* m_pictures = nullptr;
    SkinFileGuard* m_fileGuard = nullptr;
    int m_component = 0;
    // Set once start-up has shown its skin.
    bool m_started = false;
};

} // namespace fabulor
