#pragma once
// The preview window: a full-size mock-up of the reader's window and the live
// model of the skin being edited. Its controls carry the names the skin file
// and the settings window know them by.

#include "preview/ComponentSelection.h"

#include <QWidget>

#include <array>
#include <functional>

class QMouseEvent;

namespace fabulor {

class ListView;
class Memo;
class PageControl;
class InteractiveMove;
class Panel;
class PictureBox;
class SelectionFrame;
class StaticText;
class TTransparentForm;

class TF : public QWidget {
    Q_OBJECT
public:
    explicit TF(QWidget* parent = nullptr);
    ~TF() override;

    // Background picture (the skin picture), filling the client area.
    PictureBox* Skin = nullptr;

    // The page control and its four hidden pages with what lies on them.
    PageControl* PC1 = nullptr;
    QWidget* Sytuacje = nullptr;
    QWidget* Kierunki = nullptr;
    QWidget* Koniec = nullptr;
    QWidget* Przedm = nullptr;

    // Buttons: a self-sizing panel holding a self-sizing picture box.
    Panel* P1 = nullptr;
    PictureBox* B1 = nullptr;
    Panel* P2 = nullptr;
    PictureBox* B2 = nullptr;
    Panel* P3 = nullptr;
    PictureBox* B3 = nullptr;
    Panel* P4 = nullptr;
    PictureBox* B4 = nullptr;
    StaticText* L1 = nullptr;
    StaticText* L2 = nullptr;
    StaticText* L3 = nullptr;
    StaticText* L4 = nullptr;
    Panel* PG = nullptr;
    PictureBox* BG = nullptr;
    Panel* PD = nullptr;
    PictureBox* BD = nullptr;
    Panel* PL = nullptr;
    PictureBox* BL = nullptr;
    Panel* PP = nullptr;
    PictureBox* BP = nullptr;
    Panel* PEnd = nullptr;
    PictureBox* BEnd = nullptr;
    Panel* PItem = nullptr;
    PictureBox* BItem = nullptr;

    // The picture frame and its inner picture area.
    Panel* PRys = nullptr;
    Panel* Rys = nullptr;

    Panel* PClose = nullptr;
    PictureBox* BClose = nullptr;
    Panel* PMini = nullptr;
    PictureBox* BMini = nullptr;
    Panel* PMenu = nullptr;
    PictureBox* BMenu = nullptr;
    Panel* PUwaga = nullptr;
    PictureBox* BUwaga = nullptr;

    Panel* PMove = nullptr;
    StaticText* LM = nullptr;
    ListView* LB = nullptr;
    Memo* Op1 = nullptr;

    // The window-shaping component; inactive when the window is created.
    TTransparentForm* Mask = nullptr;

    // Makes a catalogue entry the current one in the settings window and
    // the preview's selection; the owner connects it. A press on a
    // component runs it first.
    std::function<void(int index)> SelectComponent;
    // Which components are selected, the current one first. SelectComponent
    // sets it; the selection frame, the placing keys and the accessibility
    // of the controls follow it.
    ComponentSelection& selectedComponents() { return m_selected; }
    const ComponentSelection& selectedComponents() const { return m_selected; }
    // The mark of the current component; not part of the skin.
    SelectionFrame* Selection = nullptr;

    // A press on a component (index into the catalogue): select it, then
    // move it with the pointer until the button is released
    // (PressHandlers.cpp). sender is the widget the press landed on.
    void ComponentMouseDown(int index, QWidget* sender, QMouseEvent* event);
    // A left press on the background moves the whole window.
    void SkinMouseDown(QWidget* sender, QMouseEvent* event);

    // The move a press started, while the button is down.
    InteractiveMove* Move = nullptr;

    // The placing keys (PlacingKeys.cpp). The current component of the
    // selection, or -1 before the first selection.
    int SelectedComponent();
    // Moves the selected component by offset (the arrows), as NudgeStep
    // says; with nothing selected, nothing.
    void NudgeSelected(QPoint offset);
    // Selects, as a press does, the next (or previous) component in
    // catalogue order that can be seen, round from the last to the first;
    // the first (or last) with none selected.
    void SelectNextComponent(bool forward);
    // Makes a nudge, which moves the component of index, a step of the edit
    // history; the owner connects it. Unset, a nudge just moves.
    std::function<void(int index, const std::function<void()>& nudge)> NudgeStep;

signals:
    // The window became visible (FormShow).
    void shown();
    // The window is closing (FormClose): the owner releases the document
    // and ends the program.
    void closing();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void hookPresses();
    // The component a press on watched belongs to, or -1.
    int pressedComponent(const QObject* watched);
    Panel* makeButton(QWidget* parent, const char* name, const QSize& size, const QString& caption,
                      PictureBox*& image);
    void placeAtDefaults();
    void fillItemList();

    ComponentSelection m_selected;
};

} // namespace fabulor
