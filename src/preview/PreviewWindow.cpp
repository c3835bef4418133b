#include "PreviewWindow.h"

#include "document/SkinSchema.h"
#include "pictures/TransparentForm.h"
#include "preview/InteractiveMove.h"
#include "preview/PlacingKeys.h"
#include "preview/PreviewAccessibility.h"
#include "preview/PreviewControls.h"
#include "preview/SelectionFrame.h"
#include "resources/ResourceNames.h"
#include "widgets/LazyIcon.h"
#include "widgets/ListView.h"
#include "widgets/Memo.h"
#include "widgets/PageControl.h"
#include "widgets/Panel.h"
#include "widgets/PictureBox.h"
#include "widgets/StaticText.h"

#include <QCloseEvent>
#include <QIcon>

namespace fabulor {
namespace {

constexpr Colour clSilver = 0x00C0C0C0u;
constexpr Colour clGray = 0x00808080u;
constexpr Colour clBtnFace = 0x8000000Fu;

} // namespace

TF::TF(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_selected(int(ComponentCount))
{
    // Before any control exists, so a screen reader meets each as what it is.
    InstallPreviewAccessibility();
    setWindowTitle(QStringLiteral("Fabulor Reader"));
    setObjectName(QStringLiteral("F"));
    move(191, 206);
    resize(615, 337);
    QFont windowFont(QStringLiteral("MS Sans Serif"));
    windowFont.setPixelSize(11); // 8 points on the reader's screen, whatever ours is
    setFont(windowFont);
    setAutoFillBackground(true);
    setRoleColour(this, QPalette::Window, clBtnFace);

    Skin = new PictureBox(this);
    Skin->setObjectName(QStringLiteral("Skin"));
    Skin->setGeometry(0, 0, 615, 337);
    // The background fills the window (resizeEvent) whatever its picture's
    // size: presses off the components must land on it to move the window.
    Skin->setAutoSize(false);
    Skin->setAccessibleName(QStringLiteral("Obraz skóry"));

    PC1 = new PageControl(this);
    PC1->setObjectName(QStringLiteral("PC1"));
    PC1->setClientBorderWidth(1);
    PC1->setColour(0x00DFDFDFu);

    Sytuacje = PC1->addPage(QStringLiteral("Sytuacje"));
    P1 = makeButton(Sytuacje, "P1", {27, 25}, QStringLiteral("1"), B1);
    P2 = makeButton(Sytuacje, "P2", {27, 25}, QStringLiteral("2"), B2);
    P3 = makeButton(Sytuacje, "P3", {27, 25}, QStringLiteral("3"), B3);
    P4 = makeButton(Sytuacje, "P4", {27, 25}, QStringLiteral("4"), B4);
    StaticText** labels[] = {&L1, &L2, &L3, &L4};
    for (int i = 0; i < 4; ++i) {
        auto* label = new StaticText(QStringLiteral("Droga nr %1").arg(i + 1), Sytuacje);
        label->setObjectName(QStringLiteral("L%1").arg(i + 1));
        *labels[i] = label;
    }

    Kierunki = PC1->addPage(QStringLiteral("Kierunki"));
    PG = makeButton(Kierunki, "PG", {27, 25}, QStringLiteral("/\\"), BG);
    PD = makeButton(Kierunki, "PD", {27, 25}, QStringLiteral("\\/"), BD);
    PL = makeButton(Kierunki, "PL", {27, 25}, QStringLiteral("<"), BL);
    PP = makeButton(Kierunki, "PP", {27, 25}, QStringLiteral(">"), BP);

    Koniec = PC1->addPage(QStringLiteral("Koniec"));
    PEnd = makeButton(Koniec, "PEnd", {70, 25}, QStringLiteral("Koniec :-("), BEnd);

    Przedm = PC1->addPage(QStringLiteral("Przedm"));
    PItem = makeButton(Przedm, "PItem", {70, 25}, QStringLiteral("OK"), BItem);

    PRys = new Panel(this);
    PRys->setObjectName(QStringLiteral("PRys"));
    PRys->setColour(clSilver);
    Rys = new Panel(PRys);
    Rys->setObjectName(QStringLiteral("Rys"));
    Rys->setCaption(QStringLiteral("Rysunek"));
    Rys->setColour(clGray);
    PRys->setClientChild(Rys);
    PRys->setBorderWidth(4);

    PClose = makeButton(this, "PClose", {27, 25}, QStringLiteral("X"), BClose);
    PMini = makeButton(this, "PMini", {27, 25}, QStringLiteral("_"), BMini);
    PMenu = makeButton(this, "PMenu", {27, 25}, QStringLiteral(">>"), BMenu);
    PUwaga = makeButton(this, "PUwaga", {27, 25}, QStringLiteral("!"), BUwaga);
    QFont bold = PUwaga->font();
    bold.setBold(true);
    PUwaga->setFont(bold);
    BUwaga->setTransparent(true);

    PMove = new Panel(this);
    PMove->setObjectName(QStringLiteral("PMove"));
    PMove->setCaption(QStringLiteral("Obszar przenoszenia formy (niewidoczny)"));
    PMove->setColour(0x00FFFBF0u);

    LM = new StaticText(QStringLiteral("Tu pojawiają się komunikaty"), this);
    LM->setObjectName(QStringLiteral("LM"));

    LB = new ListView(this);
    LB->setObjectName(QStringLiteral("LB"));
    fillItemList();

    Op1 = new Memo(this);
    Op1->setObjectName(QStringLiteral("Op1"));
    Op1->setPlainText(QStringLiteral("Tu znajduje się opis"));
    // Named as the chooser names it, for the text editor the box makes when
    // it first takes the focus: readers meet that editor by this name.
    Op1->setAccessibleName(ChooserText(DescriptionIndex));

    // Building is done: the shaping component now gives the window its
    // caption style, with no region, as an unshaped window has.
    Mask = new TTransparentForm(this);
    Mask->setAutoSize(true);
    Mask->loaded();

    placeAtDefaults();

    // Last, so the mark lies above every control. It marks the current
    // component of the selection.
    Selection = new SelectionFrame(this);
    connect(&m_selected, &ComponentSelection::changed, Selection,
            [this](int current) { Selection->follow(ComponentControl(*this, current)); });
    hookPresses();
    new PlacingKeys(*this);
}

TF::~TF()
{
    // Before the controls go: nothing may watch or move them while they do.
    Selection->follow(nullptr);
    delete Move;
    Move = nullptr;
}

// Each component starts where an empty skin puts it.
void TF::placeAtDefaults()
{
    const auto components = SkinComponents();
    for (int index = 0; index < int(components.size()); ++index) {
        QWidget* control = ControlBindings()[std::size_t(index)].control(*this);
        control->move(DefaultNumber(index, KeyRole::Left), DefaultNumber(index, KeyRole::Top));
        if (components[std::size_t(index)].has(SizeGroup))
            control->resize(DefaultNumber(index, KeyRole::Width), DefaultNumber(index, KeyRole::Height));
    }
}

Panel* TF::makeButton(QWidget* parent, const char* name, const QSize& size, const QString& caption,
                      PictureBox*& image)
{
    auto* panel = new Panel(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->resize(size);
    panel->setCaption(caption);
    image = new PictureBox(panel);
    image->setGeometry(QRect(QPoint(0, 0), size));
    image->setAutoSize(true);
    panel->setAutoSizeToChild(image);
    connect(image, &PictureBox::pictureChanged, panel, &Panel::fitToChild);
    return panel;
}

void TF::fillItemList()
{
    struct Item {
        const char* caption;
        int picture;
    };
    static constexpr Item items[] = {
        {"Guma do żucia", 0}, {"Karta kredytowa", 2}, {"Stara kanapka", 3},
        {"Frytki", 4},        {"Mrożone żarcie", 5},  {"Kawa", 6},
        {"Durex", 1},
    };
    LB->setIconSize(QSize(32, 32));
    for (const Item& item : items) {
        LB->addItem(new QListWidgetItem(LazyFileIcon(ItemPicturePath(item.picture), "png"),
                                        QString::fromUtf8(item.caption)));
    }
}

void TF::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    emit shown();
}

void TF::closeEvent(QCloseEvent* event)
{
    emit closing();
    event->accept();
}

void TF::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The background picture box covers the whole client area, whatever
    // size the skin gives the window.
    Skin->setGeometry(rect());
}

} // namespace fabulor
