// The "Komponenty" tab: choosing the current component, fetching and
// adjusting its position and size, stepping through the pages of the page
// control, and the picture band's file edits.

#include "editor/Catalogue.h"
#include "editor/SettingsWindow.h"
#include "editor/Steps.h"
#include "preview/PreviewWindow.h"
#include "preview/SelectionFrame.h"
#include "widgets/Accessibility.h"
#include "widgets/BandPanel.h"
#include "widgets/FileNameEdit.h"
#include "widgets/FocusOrder.h"
#include "widgets/LazyIcon.h"
#include "widgets/Make.h"
#include "widgets/PageControl.h"
#include "widgets/PictureFilters.h"
#include "widgets/SpinEdit.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>

namespace fabulor {
namespace {

// What the geometry fetches give for an entry they cannot measure.
constexpr int NoGeometry = 5;

bool InCatalogue(int index)
{
    return index >= 0 && index < CatalogueSize;
}

QLabel* AddLabel(QWidget* parent, const QString& text, int left, int top)
{
    auto* label = new QLabel(text, parent);
    label->move(left, top);
    label->adjustSize();
    return label;
}

// A label ending where its box ends, however wide its text comes out in the
// font the system puts in for the chosen one.
QLabel* AddEdgeLabel(QWidget* parent, const char* name, const QString& text, const QRect& box)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    const int width = std::max(box.width(), label->sizeHint().width());
    const int height = std::max(box.height(), label->sizeHint().height());
    label->setGeometry(box.right() + 1 - width, box.top(), width, height);
    return label;
}

SpinEdit* AddSpinEdit(QWidget* parent, const char* name, int left, int top)
{
    auto* edit = Make<SpinEdit>(parent, name, {left, top, 57, 21});
    edit->setIncrement(5);
    return edit;
}

QPushButton* AddFetchButton(QWidget* parent, const char* name)
{
    return Make<QPushButton>(parent, name, {8, 28, 25, 25}, QStringLiteral("G"));
}

QToolButton* AddPageButton(QWidget* parent, const char* name, QStyle::StandardPixmap glyph, int left)
{
    auto* button = Make<QToolButton>(parent, name, {left, 24, 25, 25});
    button->setIcon(LazyStandardIcon(glyph, button));
    button->setIconSize(QSize(16, 16));
    return button;
}

// The control whose left and top an entry edits, or null outside the catalogue.
QWidget* MovedControl(TF& F, int index)
{
    return InCatalogue(index) ? Catalogue()[std::size_t(index)].moved(F) : nullptr;
}

// The control whose size an entry edits, or null where the size is not edited.
QWidget* ResizedControl(TF& F, int index)
{
    const CatalogueEntry* entry = CatalogueAt(index);
    return entry ? entry->resized(F) : nullptr;
}

// Any position may be typed, far outside the window too; only coordinates
// whose right or bottom edge would overflow a widget's geometry are held at
// a distance no screen reaches (PlaceableCoordinate).
static_assert(MaxComponentExtent == QWIDGETSIZE_MAX);

} // namespace

void TFBox::buildComponentsTab()
{
    BandPanel1 = Make<BandPanel>(Comps, "BandPanel1", {8, 40, 250, 201});
    SetAccessibleCaption(BandPanel1, QStringLiteral("Ustawienia komponentu"));

    Rozmiar = BandPanel1->addBand(QStringLiteral("Rozmiar"), 65);
    Rozmiar->setObjectName(QStringLiteral("Rozmiar"));
    QWidget* size = Rozmiar->content();
    Button3 = AddFetchButton(size, "Button3");
    Button3->setAccessibleName(QStringLiteral("Pobierz rozmiar"));
    QLabel* widthLabel = AddLabel(size, QStringLiteral("Szer:"), 40, 35);
    Szer = AddSpinEdit(size, "Szer", 66, 32);
    CaptionWithLabel(widthLabel, Szer);
    QLabel* heightLabel = AddLabel(size, QStringLiteral("Wys:"), 136, 35);
    Wys = AddSpinEdit(size, "Wys", 162, 32);
    CaptionWithLabel(heightLabel, Wys);

    Miejsce = BandPanel1->addBand(QStringLiteral("Położenie"), 68);
    Miejsce->setObjectName(QStringLiteral("Miejsce"));
    QWidget* place = Miejsce->content();
    Button4 = AddFetchButton(place, "Button4");
    Button4->setAccessibleName(QStringLiteral("Pobierz położenie"));
    QLabel* topLabel = AddLabel(place, QStringLiteral("Top:"), 40, 35);
    Top = AddSpinEdit(place, "Top", 66, 32);
    CaptionWithLabel(topLabel, Top);
    QLabel* leftLabel = AddLabel(place, QStringLiteral("Left:"), 136, 35);
    Left = AddSpinEdit(place, "Left", 162, 32);
    CaptionWithLabel(leftLabel, Left);

    Nawigacja = BandPanel1->addBand(QStringLiteral("Nawigacja"), 55);
    Nawigacja->setObjectName(QStringLiteral("Nawigacja"));
    BitBtn1 = AddPageButton(Nawigacja->content(), "BitBtn1", QStyle::SP_MediaSeekBackward, 88);
    BitBtn2 = AddPageButton(Nawigacja->content(), "BitBtn2", QStyle::SP_MediaSeekForward, 120);
    BitBtn1->setAccessibleName(QStringLiteral("Poprzednia strona"));
    BitBtn2->setAccessibleName(QStringLiteral("Następna strona"));

    // The picture band; its handlers come with the button pictures.
    Rysunek = BandPanel1->addBand(QStringLiteral("Rysunek"), 166);
    Rysunek->setObjectName(QStringLiteral("Rysunek"));
    QWidget* pictures = Rysunek->content();
    Label7 = AddEdgeLabel(pictures, "Label7", QStringLiteral("MouseOut"), {24, 32, 49, 13});
    MP1 = Make<FileNameEdit>(pictures, "MP1", {80, 29, 113, 21}, m_dialogs, PictureFileDialogOptions());
    CaptionWithLabel(Label7, MP1);
    Label8 = AddEdgeLabel(pictures, "Label8", QStringLiteral("Mouse Over"), {16, 56, 58, 13});
    MP2 = Make<FileNameEdit>(pictures, "MP2", {80, 53, 113, 21}, m_dialogs, PictureFileDialogOptions());
    CaptionWithLabel(Label8, MP2);
    Rysunek->setExpanded(true);

    // Connected last: building sets no geometry in the preview.
    connect(Rozmiar, &Band::expanded, this, &TFBox::Button3Click);
    connect(Miejsce, &Band::expanded, this, &TFBox::Button4Click);
    connect(Button3, &QPushButton::clicked, this, &TFBox::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TFBox::Button4Click);
    // Each typed or stepped value is a step of the history; a run of them in
    // one editor is one step.
    const auto geometryStep = [this](SpinEdit* editor, bool sizing, void (TFBox::*handler)()) {
        ConnectStep(
            this, *m_history, editor, &SpinEdit::changed,
            [this, editor, sizing] {
                const int component = currentComponent();
                Slots parts = StepParts::geometry(component, sizing);
                parts.emplace_back(EditorSlot{editor});
                const QString name = sizing ? QStringLiteral("rozmiar %1") : QStringLiteral("położenie %1");
                return StepSpec{name.arg(SectionName(component)), std::move(parts), editor};
            },
            handler);
    };
    geometryStep(Szer, true, &TFBox::SzerChange);
    geometryStep(Wys, true, &TFBox::WysChange);
    geometryStep(Top, false, &TFBox::TopChange);
    geometryStep(Left, false, &TFBox::LeftChange);
    // The chooser is made as the tab first shows.
    connect(PCTRL, &QTabWidget::currentChanged, this, [this] {
        if (PCTRL->currentWidget() == Comps) componentChooser();
    });
    connect(BitBtn1, &QToolButton::clicked, this, &TFBox::BitBtn1Click);
    connect(BitBtn2, &QToolButton::clicked, this, &TFBox::BitBtn2Click);
}

QComboBox* TFBox::componentChooser()
{
    if (CB) return CB;
    CB = Make<QComboBox>(Comps, "CB", {8, 8, 249, 21});
    CB->setEditable(false);
    SetAccessibleCaption(CB, QStringLiteral("Komponent"));
    for (const CatalogueEntry& entry : Catalogue())
        CB->addItem(entry.chooserText);
    CB->setCurrentIndex(m_component);
    // First in the tab's focus order, as it is first on the tab.
    PutInFocusOrderAt(BandPanel1, CB);
    CB->show();
    connect(CB, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index == m_component) return;
        m_component = index;
        emit currentComponentChanged(index);
    });
    // Only the user's choice runs the handler; setting the index from code does not.
    connect(CB, &QComboBox::activated, this, [this] { CBChange(); });
    return CB;
}

void TFBox::setCurrentComponent(int index)
{
    if (CB) {
        // The chooser's own signal keeps m_component and tells the listeners.
        CB->setCurrentIndex(index);
    } else if (index != m_component) {
        m_component = index;
        emit currentComponentChanged(index);
    }
}

void TFBox::SelectComponent(int index)
{
    PCTRL->setCurrentWidget(Comps);
    MP2->setVisible(true);
    if (!InCatalogue(index)) return;
    setCurrentComponent(index);
    const CatalogueEntry& entry = Catalogue()[std::size_t(index)];
    // The warning sign has no mouse-over picture.
    if (entry.schema->has(PicturesGroup) && !entry.schema->has(MouseOverGroup)) MP2->setVisible(false);
    Rozmiar->setVisible(entry.rozmiar());
    Miejsce->setVisible(true);
    Nawigacja->setVisible(entry.nawigacja());
    Rysunek->setVisible(entry.rysunek());
    // The preview selects what the settings window now edits, and its frame
    // marks it. Chosen again, the mark is put back above any other mark on
    // the preview (the mask area's tint), as a new choice puts it.
    ComponentSelection& selection = F.selectedComponents();
    if (selection.current() == index && F.Selection) F.Selection->follow(entry.moved(F));
    selection.setCurrent(index);
}

void TFBox::CBChange()
{
    SelectComponent(currentComponent());
}

int TFBox::ComponentWidth(int index) const
{
    const QWidget* control = ResizedControl(F, index);
    return control ? control->width() : NoGeometry;
}

int TFBox::ComponentHeight(int index) const
{
    const QWidget* control = ResizedControl(F, index);
    return control ? control->height() : NoGeometry;
}

int TFBox::ComponentTop(int index) const
{
    const QWidget* control = MovedControl(F, index);
    return control ? control->y() : NoGeometry;
}

int TFBox::ComponentLeft(int index) const
{
    const QWidget* control = MovedControl(F, index);
    return control ? control->x() : NoGeometry;
}

void TFBox::Button3Click()
{
    const int index = currentComponent();
    Szer->setValue(ComponentWidth(index));
    Wys->setValue(ComponentHeight(index));
}

void TFBox::Button4Click()
{
    const int index = currentComponent();
    Top->setValue(ComponentTop(index));
    Left->setValue(ComponentLeft(index));
}

void TFBox::SzerChange()
{
    if (QWidget* control = ResizedControl(F, currentComponent()))
        control->resize(Szer->value(), control->height());
}

void TFBox::WysChange()
{
    if (QWidget* control = ResizedControl(F, currentComponent()))
        control->resize(control->width(), Wys->value());
}

void TFBox::TopChange()
{
    if (QWidget* control = MovedControl(F, currentComponent()))
        control->move(control->x(), PlaceableCoordinate(Top->value()));
}

void TFBox::LeftChange()
{
    if (QWidget* control = MovedControl(F, currentComponent()))
        control->move(PlaceableCoordinate(Left->value()), control->y());
}

void TFBox::BitBtn1Click()
{
    if (currentComponent() == 0 && F.PC1->activePageIndex() != 0)
        F.PC1->setActivePageIndex(F.PC1->activePageIndex() - 1);
}

void TFBox::BitBtn2Click()
{
    if (currentComponent() == 0 && F.PC1->activePageIndex() != F.PC1->pageCount() - 1)
        F.PC1->setActivePageIndex(F.PC1->activePageIndex() + 1);
}

} // namespace fabulor
