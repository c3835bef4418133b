// The "Właściwości" tab: colours, fonts, borders and flatness of the
// components that have an appearance of their own. Each handler re-applies
// its whole group from all of the group's editors, so the order in which the
// editors change never matters.

#include "editor/SettingsWindow.h"

#include "editor/Catalogue.h"
#include "editor/Steps.h"
#include "widgets/Accessibility.h"
#include "widgets/ColourPicker.h"
#include "widgets/FontPicker.h"
#include "widgets/Make.h"
#include "widgets/SideTabWidget.h"
#include "widgets/SizePicker.h"
#include "widgets/SpinEdit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace fabulor {
namespace {

// The colour the background pickers start with, before start-up applies the
// document; it is no listed colour, so it shows as a custom one.
constexpr Colour InitialBackground = 0x00A6CAF0u;
constexpr Colour Black = 0x00000000u;

QGroupBox* Group(const QString& title, QWidget* parent, const QRect& bounds)
{
    auto* group = new QGroupBox(title, parent);
    group->setGeometry(bounds);
    return group;
}

// The limits the editor of a role on a sheet takes: those of the key its
// first component's section has.
template <typename Editor> void LimitAsSchema(Editor* editor, AppearanceSheet sheet, KeyRole role)
{
    for (int index = 0; index < CatalogueSize; ++index)
        if (Catalogue()[std::size_t(index)].schema->appearance == sheet)
            if (const SkinKey* key = ComponentSection(index).key(role)) {
                editor->setLimits(key->minimum, key->maximum);
                return;
            }
}

// A sheet as steps of the history name it: by its first component's section.
QString SheetName(AppearanceSheet sheet)
{
    for (int index = 0; index < CatalogueSize; ++index)
        if (Catalogue()[std::size_t(index)].schema->appearance == sheet) return SectionName(index);
    return {};
}

} // namespace

void TFBox::ensurePropertiesTab()
{
    if (propertiesTabBuilt()) return;
    // What the preview shows now, read while no editor exists (flatness then
    // comes from the preview), and set again once they do, as applying a
    // skin sets it: each editor then mirrors its sheet's first component,
    // and every component ends as it was.
    struct Shown {
        int component;
        const SkinKey* key;
        SkinValue value;
    };
    std::vector<Shown> shown;
    for (int component = 0; component < CatalogueSize; ++component) {
        if (Catalogue()[std::size_t(component)].schema->appearance == AppearanceSheet::None) continue;
        for (const SkinKey& key : ComponentSection(component).keys)
            if (key.captured() && key.isAppearance())
                shown.push_back({component, &key, m_binding.value(component, key)});
    }
    buildPropertiesTab();
    {
        const EditHistory::Pause notRecorded(*m_history);
        for (const Shown& value : shown)
            m_binding.setValue(value.component, *value.key, value.value);
    }
    m_history->trackEditors(trackedEditors());
}

void TFBox::buildPropertiesTab()
{
    PageControl1 = new SideTabWidget(Prop);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    auto* layout = new QVBoxLayout(Prop);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(PageControl1);
    const auto addSheet = [this](const char* name, const QString& caption) {
        auto* sheet = new QWidget;
        sheet->setObjectName(QString::fromLatin1(name));
        PageControl1->addTab(sheet, caption);
        return sheet;
    };
    const auto colourPicker = [this](const char* name, QWidget* parent, const QRect& bounds, Colour initial) {
        auto* picker = Make<ColourPicker>(parent, name, bounds, m_dialogs);
        picker->setValue(initial);
        return picker;
    };
    const auto fontGroup = [&colourPicker](QWidget* sheet, AppearanceSheet edited, int top,
                                           const char* prefix, FontPicker*& font, SizePicker*& size,
                                           ColourPicker*& colour) {
        QGroupBox* group = Group(QStringLiteral("Czcionka"), sheet, {16, top, 193, 89});
        font =
            Make<FontPicker>(group, QStringLiteral("%1_font").arg(QLatin1String(prefix)), {16, 29, 145, 20});
        size = Make<SizePicker>(group, QStringLiteral("%1_fontsize").arg(QLatin1String(prefix)),
                                {112, 52, 49, 21});
        size->setFontPicker(font);
        LimitAsSchema(size, edited, KeyRole::FontSize);
        colour = colourPicker(qPrintable(QStringLiteral("%1_fontcolor").arg(QLatin1String(prefix))), group,
                              {16, 53, 89, 20}, Black);
        SetAccessibleCaption(font, QStringLiteral("Czcionka"));
        SetAccessibleCaption(size, QStringLiteral("Rozmiar czcionki"));
        SetAccessibleCaption(colour, QStringLiteral("Kolor czcionki"));
    };
    const auto borderEdit = [](const char* name, AppearanceSheet edited, QWidget* parent,
                               const QRect& bounds) {
        auto* edit = Make<SpinEdit>(parent, name, bounds);
        edit->setIncrement(1);
        LimitAsSchema(edit, edited, KeyRole::Border);
        edit->setValue(0);
        return edit;
    };

    TabSheet1 = addSheet("TabSheet1", QStringLiteral("Opis"));
    QGroupBox* opisGroup = Group(QStringLiteral("Właściwości"), TabSheet1, {16, 24, 193, 81});
    O_Flat = Make<QCheckBox>(opisGroup, "O_Flat", {16, 24, 49, 17}, QStringLiteral("Płaski"));
    O_color = colourPicker("O_color", opisGroup, {16, 48, 89, 20}, InitialBackground);
    SetAccessibleCaption(O_color, QStringLiteral("Kolor tła"));
    fontGroup(TabSheet1, AppearanceSheet::Description, 112, "O", O_font, O_fontsize, O_fontcolor);

    TabSheet2 = addSheet("TabSheet2", QStringLiteral("PageControl"));
    P_border = borderEdit("P_border", AppearanceSheet::PageControl, TabSheet2, {72, 88, 89, 21});
    P_color = colourPicker("P_color", TabSheet2, {72, 112, 89, 20}, InitialBackground);
    SetAccessibleCaption(P_border, QStringLiteral("Szerokość ramki"));
    SetAccessibleCaption(P_color, QStringLiteral("Kolor tła"));

    TabSheet3 = addSheet("TabSheet3", QStringLiteral("Przedmioty"));
    QGroupBox* listGroup = Group(QStringLiteral("Właściwości"), TabSheet3, {16, 16, 193, 105});
    B_flat = Make<QCheckBox>(listGroup, "B_flat", {16, 24, 49, 17}, QStringLiteral("Płaski"));
    B_flatscroll =
        Make<QCheckBox>(listGroup, "B_flatscroll", {16, 48, 105, 17}, QStringLiteral("Płaskie scrollbary"));
    B_color = colourPicker("B_color", listGroup, {16, 72, 89, 20}, InitialBackground);
    SetAccessibleCaption(B_color, QStringLiteral("Kolor tła"));
    fontGroup(TabSheet3, AppearanceSheet::ItemList, 128, "B", B_font, B_fontsize, B_fontcolor);

    TabSheet4 = addSheet("TabSheet4", QStringLiteral("Rysunek"));
    R_border = borderEdit("R_border", AppearanceSheet::Picture, TabSheet4, {64, 80, 89, 21});
    R_color = colourPicker("R_color", TabSheet4, {64, 104, 89, 20}, InitialBackground);
    R_pcolor = colourPicker("R_pcolor", TabSheet4, {64, 128, 89, 20}, InitialBackground);
    SetAccessibleCaption(R_border, QStringLiteral("Szerokość ramki"));
    SetAccessibleCaption(R_color, QStringLiteral("Kolor rysunku"));
    SetAccessibleCaption(R_pcolor, QStringLiteral("Kolor ramki"));

    TabSheet5 = addSheet("TabSheet5", QStringLiteral("Label \"Droga nr [x]\""));
    fontGroup(TabSheet5, AppearanceSheet::PathLabels, 72, "D", D_font, D_fontsize, D_fontcolor);

    TabSheet6 = addSheet("TabSheet6", QStringLiteral("Komunikat"));
    fontGroup(TabSheet6, AppearanceSheet::Messages, 72, "K", K_font, K_fontsize, K_fontcolor);
    PageControl1->setCurrentWidget(TabSheet6);

    // Connected only now, so the editors' initial values touch no preview
    // control. Every change is a step of the history; typed values of one
    // editor in a row are one step.
    const auto hook = [this](auto* editor, auto signal, AppearanceSheet sheet, const char* what,
                             void (TFBox::*handler)(), bool typed) {
        ConnectStep(
            this, *m_history, editor, signal,
            [this, editor, sheet, what, typed] {
                // A new font refills its size box, which speaks first.
                const QWidget* font = m_binding.sheet(sheet).font;
                const bool newFont =
                    font && font != static_cast<const QWidget*>(editor) && m_history->editorChanged(font);
                const QString name = newFont ? QStringLiteral("czcionka") : QString::fromUtf8(what);
                return StepSpec{QStringLiteral("%1 %2").arg(name, SheetName(sheet)),
                                StepParts::appearance(m_binding, sheet),
                                typed && !newFont ? editor : nullptr};
            },
            handler);
    };
    using Sheet = AppearanceSheet;
    hook(O_Flat, &QCheckBox::toggled, Sheet::Description, "płaskość", &TFBox::O_FlatClick, false);
    hook(O_color, &ColourPicker::changed, Sheet::Description, "kolor", &TFBox::O_FlatClick, false);
    hook(O_font, &FontPicker::changed, Sheet::Description, "czcionka", &TFBox::O_fontChange, false);
    hook(O_fontsize, &SizePicker::changed, Sheet::Description, "rozmiar czcionki", &TFBox::O_fontChange,
         true);
    hook(O_fontcolor, &ColourPicker::changed, Sheet::Description, "kolor czcionki", &TFBox::O_fontChange,
         false);
    hook(P_border, &SpinEdit::changed, Sheet::PageControl, "ramka", &TFBox::P_borderChange, true);
    hook(P_color, &ColourPicker::changed, Sheet::PageControl, "kolor", &TFBox::P_borderChange, false);
    hook(B_flat, &QCheckBox::toggled, Sheet::ItemList, "płaskość", &TFBox::B_flatClick, false);
    hook(B_flatscroll, &QCheckBox::toggled, Sheet::ItemList, "płaskie scrollbary", &TFBox::B_flatClick,
         false);
    // The list's colour picker is served by its click handler.
    hook(B_color, &ColourPicker::clicked, Sheet::ItemList, "kolor", &TFBox::B_flatClick, false);
    hook(B_font, &FontPicker::changed, Sheet::ItemList, "czcionka", &TFBox::B_fontChange, false);
    hook(B_fontsize, &SizePicker::changed, Sheet::ItemList, "rozmiar czcionki", &TFBox::B_fontChange, true);
    hook(B_fontcolor, &ColourPicker::changed, Sheet::ItemList, "kolor czcionki", &TFBox::B_fontChange, false);
    hook(R_border, &SpinEdit::changed, Sheet::Picture, "ramka", &TFBox::R_borderChange, true);
    hook(R_color, &ColourPicker::changed, Sheet::Picture, "kolor rysunku", &TFBox::R_borderChange, false);
    hook(R_pcolor, &ColourPicker::changed, Sheet::Picture, "kolor", &TFBox::R_borderChange, false);
    hook(D_font, &FontPicker::changed, Sheet::PathLabels, "czcionka", &TFBox::D_fontChange, false);
    hook(D_fontsize, &SizePicker::changed, Sheet::PathLabels, "rozmiar czcionki", &TFBox::D_fontChange, true);
    hook(D_fontcolor, &ColourPicker::changed, Sheet::PathLabels, "kolor czcionki", &TFBox::D_fontChange,
         false);
    hook(K_font, &FontPicker::changed, Sheet::Messages, "czcionka", &TFBox::K_fontChange, false);
    hook(K_fontsize, &SizePicker::changed, Sheet::Messages, "rozmiar czcionki", &TFBox::K_fontChange, true);
    hook(K_fontcolor, &ColourPicker::changed, Sheet::Messages, "kolor czcionki", &TFBox::K_fontChange, false);

    // From now on the sheets' editors mirror their components.
    m_binding.setSheet(Sheet::Description, {.flat = O_Flat,
                                            .colour = O_color,
                                            .font = O_font,
                                            .fontSize = O_fontsize,
                                            .fontColour = O_fontcolor});
    m_binding.setSheet(Sheet::PageControl, {.colour = P_color, .border = P_border});
    m_binding.setSheet(Sheet::ItemList, {.flat = B_flat,
                                         .colour = B_color,
                                         .font = B_font,
                                         .fontSize = B_fontsize,
                                         .fontColour = B_fontcolor,
                                         .flatScrollBars = B_flatscroll});
    m_binding.setSheet(Sheet::Picture, {.colour = R_pcolor, .innerColour = R_color, .border = R_border});
    m_binding.setSheet(Sheet::PathLabels,
                       {.font = D_font, .fontSize = D_fontsize, .fontColour = D_fontcolor});
    m_binding.setSheet(Sheet::Messages, {.font = K_font, .fontSize = K_fontsize, .fontColour = K_fontcolor});
}

void TFBox::O_FlatClick()
{
    m_binding.applyAppearance(AppearanceSheet::Description, AppearanceAspect::Frame);
}

void TFBox::O_fontChange()
{
    m_binding.applyAppearance(AppearanceSheet::Description, AppearanceAspect::Font);
}

void TFBox::P_borderChange()
{
    m_binding.applyAppearance(AppearanceSheet::PageControl, AppearanceAspect::Border);
}

void TFBox::B_flatClick()
{
    m_binding.applyAppearance(AppearanceSheet::ItemList, AppearanceAspect::Frame);
}

void TFBox::B_fontChange()
{
    m_binding.applyAppearance(AppearanceSheet::ItemList, AppearanceAspect::Font);
}

void TFBox::R_borderChange()
{
    m_binding.applyAppearance(AppearanceSheet::Picture, AppearanceAspect::Border);
}

void TFBox::D_fontChange()
{
    m_binding.applyAppearance(AppearanceSheet::PathLabels, AppearanceAspect::Font);
}

void TFBox::K_fontChange()
{
    m_binding.applyAppearance(AppearanceSheet::Messages, AppearanceAspect::Font);
}

} // namespace fabulor
