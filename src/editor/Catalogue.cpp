#include "Catalogue.h"

#include "preview/PreviewWindow.h"
#include "widgets/ListView.h"
#include "widgets/Memo.h"
#include "widgets/PageControl.h"
#include "widgets/Panel.h"
#include "widgets/PictureBox.h"
#include "widgets/StaticText.h"

namespace fabulor {

namespace {

// A control of the preview window, picked by its member.
template <auto Member> QWidget* control(TF& f)
{
    return f.*Member;
}

template <auto Member> PictureBox* image(TF& f)
{
    return f.*Member;
}

} // namespace

const std::array<CatalogueEntry, CatalogueSize>& Catalogue()
{
    static const std::array<CatalogueEntry, CatalogueSize> entries{{
        {QStringLiteral("Page Control - Syt., Kier., Inw., Koniec"), "PC1", control<&TF::PC1>,
         control<&TF::PC1>, true, true, false},
        {QStringLiteral("Opis sytuacji"), "OP1", control<&TF::Op1>, control<&TF::Op1>, true, false, false},
        {QStringLiteral("Rysunek"), "PRys", control<&TF::PRys>, control<&TF::PRys>, true, false, false},
        {QStringLiteral("Przycisk [Zamknij]"), "PClose", control<&TF::PClose>, nullptr, false, false, true},
        {QStringLiteral("Przycisk [Minimalizuj]"), "PMini", control<&TF::PMini>, nullptr, false, false, true},
        {QStringLiteral("Przycisk [Menu]"), "PMenu", control<&TF::PMenu>, nullptr, false, false, true},
        {QStringLiteral("Przycisk [1]"), "P1", control<&TF::P1>, nullptr, false, false, true},
        {QStringLiteral("Przycisk [2]"), "P2", control<&TF::P2>, nullptr, false, false, true},
        {QStringLiteral("Przycisk [3]"), "P3", control<&TF::P3>, nullptr, false, false, true},
        {QStringLiteral("Przycisk [4]"), "P4", control<&TF::P4>, nullptr, false, false, true},
        {QStringLiteral("Przycisk [Góra]"), "PG", control<&TF::PG>, nullptr, false, false, true},
        {QStringLiteral("Przycisk [Dół]"), "PD", control<&TF::PD>, nullptr, false, false, true},
        {QStringLiteral("Przycisk [Lewo]"), "PL", control<&TF::PL>, nullptr, false, false, true},
        {QStringLiteral("Przycisk [Prawo]"), "PP", control<&TF::PP>, nullptr, false, false, true},
        {QStringLiteral("Przycisk [Koniec]"), "PEnd", control<&TF::PEnd>, nullptr, false, false, true},
        {QStringLiteral("Przycisk [OK]"), "PItem", control<&TF::PItem>, nullptr, false, false, true},
        {QStringLiteral("Rysunek [Uwaga]"), "PUwaga", control<&TF::PUwaga>, nullptr, false, false, true},
        {QStringLiteral("Obszar przenoszenia"), "PMove", control<&TF::PMove>, control<&TF::PMove>, true,
         false, false},
        {QStringLiteral("Etykieta [1]"), "L1", control<&TF::L1>, nullptr, false, false, false},
        {QStringLiteral("Etykieta [2]"), "L2", control<&TF::L2>, nullptr, false, false, false},
        {QStringLiteral("Etykieta [3]"), "L3", control<&TF::L3>, nullptr, false, false, false},
        {QStringLiteral("Etykieta [4]"), "L4", control<&TF::L4>, nullptr, false, false, false},
        {QStringLiteral("Etykieta [Komunikaty]"), "LM", control<&TF::LM>, nullptr, false, false, false},
        {QStringLiteral("Lista przedmiotów"), "LB", control<&TF::LB>, control<&TF::LB>, true, false, false},
    }};
    return entries;
}

const std::array<ButtonEntry, LastButtonIndex - FirstButtonIndex + 1>& ButtonTable()
{
    static const std::array<ButtonEntry, LastButtonIndex - FirstButtonIndex + 1> buttons{{
        {"PClose", image<&TF::BClose>, control<&TF::PClose>, "BUT", 16, 464},
        {"PMini", image<&TF::BMini>, control<&TF::PMini>, "BUTM", 16, 430},
        {"PMenu", image<&TF::BMenu>, control<&TF::PMenu>, "BUTMENU", 16, 396},
        {"P1", image<&TF::B1>, control<&TF::P1>, "BUT1", 5, 8},
        {"P2", image<&TF::B2>, control<&TF::P2>, "BUT2", 35, 8},
        {"P3", image<&TF::B3>, control<&TF::P3>, "BUT3", 65, 8},
        {"P4", image<&TF::B4>, control<&TF::P4>, "BUT4", 95, 8},
        {"PG", image<&TF::BG>, control<&TF::PG>, "BUTG", 40, 85},
        {"PD", image<&TF::BD>, control<&TF::PD>, "BUTD", 80, 85},
        {"PL", image<&TF::BL>, control<&TF::PL>, "BUTL", 80, 45},
        {"PP", image<&TF::BP>, control<&TF::PP>, "BUTP", 80, 125},
        {"PEnd", image<&TF::BEnd>, control<&TF::PEnd>, "BUTEND", 50, 64},
        {"PItem", image<&TF::BItem>, control<&TF::PItem>, "BUTITEM", 50, 64},
        {"PUwaga", image<&TF::BUwaga>, control<&TF::PUwaga>, "BUTUWAGA", 305, 25},
    }};
    return buttons;
}

const ButtonEntry* ButtonForIndex(int index)
{
    if (index < FirstButtonIndex || index > LastButtonIndex) return nullptr;
    return &ButtonTable()[std::size_t(index - FirstButtonIndex)];
}

} // namespace fabulor
