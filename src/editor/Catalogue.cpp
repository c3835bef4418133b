#include "Catalogue.h"

#include "preview/PreviewWindow.h"
#include "widgets/ListView.h"
#include "widgets/Memo.h"
#include "widgets/PageControl.h"
#include "widgets/Panel.h"
#include "widgets/PictureBox.h"
#include "widgets/StaticText.h"

namespace fabulor {

#define FSB_CONTROL(name) [](TF& f) -> QWidget* { return f.name; }
#define FSB_IMAGE(name) [](TF& f) -> PictureBox* { return f.name; }

const std::array<CatalogueEntry, CatalogueSize>& Catalogue()
{
    static const std::array<CatalogueEntry, CatalogueSize> entries{{
        {QStringLiteral("Page Control - Syt., Kier., Inw., Koniec"), "PC1", FSB_CONTROL(PC1), FSB_CONTROL(PC1), true, true, false},
        {QStringLiteral("Opis sytuacji"), "OP1", FSB_CONTROL(Op1), FSB_CONTROL(Op1), true, false, false},
        {QStringLiteral("Rysunek"), "PRys", FSB_CONTROL(PRys), FSB_CONTROL(PRys), true, false, false},
        {QStringLiteral("Przycisk [Zamknij]"), "PClose", FSB_CONTROL(PClose), nullptr, false, false, true},
        {QStringLiteral("Przycisk [Minimalizuj]"), "PMini", FSB_CONTROL(PMini), nullptr, false, false, true},
        {QStringLiteral("Przycisk [Menu]"), "PMenu", FSB_CONTROL(PMenu), nullptr, false, false, true},
        {QStringLiteral("Przycisk [1]"), "P1", FSB_CONTROL(P1), nullptr, false, false, true},
        {QStringLiteral("Przycisk [2]"), "P2", FSB_CONTROL(P2), nullptr, false, false, true},
        {QStringLiteral("Przycisk [3]"), "P3", FSB_CONTROL(P3), nullptr, false, false, true},
        {QStringLiteral("Przycisk [4]"), "P4", FSB_CONTROL(P4), nullptr, false, false, true},
        {QStringLiteral("Przycisk [Góra]"), "PG", FSB_CONTROL(PG), nullptr, false, false, true},
        {QStringLiteral("Przycisk [Dół]"), "PD", FSB_CONTROL(PD), nullptr, false, false, true},
        {QStringLiteral("Przycisk [Lewo]"), "PL", FSB_CONTROL(PL), nullptr, false, false, true},
        {QStringLiteral("Przycisk [Prawo]"), "PP", FSB_CONTROL(PP), nullptr, false, false, true},
        {QStringLiteral("Przycisk [Koniec]"), "PEnd", FSB_CONTROL(PEnd), nullptr, false, false, true},
        {QStringLiteral("Przycisk [OK]"), "PItem", FSB_CONTROL(PItem), nullptr, false, false, true},
        {QStringLiteral("Rysunek [Uwaga]"), "PUwaga", FSB_CONTROL(PUwaga), nullptr, false, false, true},
        {QStringLiteral("Obszar przenoszenia"), "PMove", FSB_CONTROL(PMove), FSB_CONTROL(PMove), true, false, false},
        {QStringLiteral("Etykieta [1]"), "L1", FSB_CONTROL(L1), nullptr, false, false, false},
        {QStringLiteral("Etykieta [2]"), "L2", FSB_CONTROL(L2), nullptr, false, false, false},
        {QStringLiteral("Etykieta [3]"), "L3", FSB_CONTROL(L3), nullptr, false, false, false},
        {QStringLiteral("Etykieta [4]"), "L4", FSB_CONTROL(L4), nullptr, false, false, false},
        {QStringLiteral("Etykieta [Komunikaty]"), "LM", FSB_CONTROL(LM), nullptr, false, false, false},
        {QStringLiteral("Lista przedmiotów"), "LB", FSB_CONTROL(LB), FSB_CONTROL(LB), true, false, false},
    }};
    return entries;
}

const std::array<ButtonEntry, LastButtonIndex - FirstButtonIndex + 1>& ButtonTable()
{
    static const std::array<ButtonEntry, LastButtonIndex - FirstButtonIndex + 1> buttons{{
        {"PClose", FSB_IMAGE(BClose), FSB_CONTROL(PClose), "BUT", 16, 464},
        {"PMini", FSB_IMAGE(BMini), FSB_CONTROL(PMini), "BUTM", 16, 430},
        {"PMenu", FSB_IMAGE(BMenu), FSB_CONTROL(PMenu), "BUTMENU", 16, 396},
        {"P1", FSB_IMAGE(B1), FSB_CONTROL(P1), "BUT1", 5, 8},
        {"P2", FSB_IMAGE(B2), FSB_CONTROL(P2), "BUT2", 35, 8},
        {"P3", FSB_IMAGE(B3), FSB_CONTROL(P3), "BUT3", 65, 8},
        {"P4", FSB_IMAGE(B4), FSB_CONTROL(P4), "BUT4", 95, 8},
        {"PG", FSB_IMAGE(BG), FSB_CONTROL(PG), "BUTG", 40, 85},
        {"PD", FSB_IMAGE(BD), FSB_CONTROL(PD), "BUTD", 80, 85},
        {"PL", FSB_IMAGE(BL), FSB_CONTROL(PL), "BUTL", 80, 45},
        {"PP", FSB_IMAGE(BP), FSB_CONTROL(PP), "BUTP", 80, 125},
        {"PEnd", FSB_IMAGE(BEnd), FSB_CONTROL(PEnd), "BUTEND", 50, 64},
        {"PItem", FSB_IMAGE(BItem), FSB_CONTROL(PItem), "BUTITEM", 50, 64},
        {"PUwaga", FSB_IMAGE(BUwaga), FSB_CONTROL(PUwaga), "BUTUWAGA", 305, 25},
    }};
    return buttons;
}

#undef FSB_CONTROL
#undef FSB_IMAGE

const ButtonEntry* ButtonForIndex(int index)
{
    if (index < FirstButtonIndex || index > LastButtonIndex)
        return nullptr;
    return &ButtonTable()[std::size_t(index - FirstButtonIndex)];
}

} // namespace fabulor
