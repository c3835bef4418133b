#include "preview/PreviewControls.h"

#include "preview/PreviewWindow.h"
#include "widgets/ListView.h"
#include "widgets/Memo.h"
#include "widgets/PageControl.h"
#include "widgets/Panel.h"
#include "widgets/PictureBox.h"
#include "widgets/StaticText.h"

namespace fabulor {
namespace {

template <auto Member> QWidget* Control(TF& f)
{
    return f.*Member;
}

template <auto Member> PictureBox* Image(TF& f)
{
    return f.*Member;
}

QWidget* DescriptionViewport(TF& f)
{
    return f.Op1->viewport();
}

QWidget* ListViewport(TF& f)
{
    return f.LB->viewport();
}

// A button: placed by its panel, pressed on its picture, which covers it.
template <auto PanelMember, auto PictureMember> constexpr ControlBinding ButtonBinding()
{
    return {Control<PanelMember>, Image<PictureMember>, {Control<PictureMember>}};
}

template <auto Member> constexpr ControlBinding Plain()
{
    return {Control<Member>, nullptr, {Control<Member>}};
}

const std::array<ControlBinding, ComponentCount> bindings{{
    {Control<&TF::PC1>,
     nullptr,
     {Control<&TF::PC1>, Control<&TF::Sytuacje>, Control<&TF::Kierunki>, Control<&TF::Koniec>,
      Control<&TF::Przedm>}},
    {Control<&TF::Op1>, nullptr, {Control<&TF::Op1>, DescriptionViewport}},
    {Control<&TF::PRys>, nullptr, {Control<&TF::PRys>, Control<&TF::Rys>}, false},
    ButtonBinding<&TF::PClose, &TF::BClose>(),
    ButtonBinding<&TF::PMini, &TF::BMini>(),
    ButtonBinding<&TF::PMenu, &TF::BMenu>(),
    ButtonBinding<&TF::P1, &TF::B1>(),
    ButtonBinding<&TF::P2, &TF::B2>(),
    ButtonBinding<&TF::P3, &TF::B3>(),
    ButtonBinding<&TF::P4, &TF::B4>(),
    ButtonBinding<&TF::PG, &TF::BG>(),
    ButtonBinding<&TF::PD, &TF::BD>(),
    ButtonBinding<&TF::PL, &TF::BL>(),
    ButtonBinding<&TF::PP, &TF::BP>(),
    ButtonBinding<&TF::PEnd, &TF::BEnd>(),
    ButtonBinding<&TF::PItem, &TF::BItem>(),
    ButtonBinding<&TF::PUwaga, &TF::BUwaga>(),
    Plain<&TF::PMove>(),
    Plain<&TF::L1>(),
    Plain<&TF::L2>(),
    Plain<&TF::L3>(),
    Plain<&TF::L4>(),
    Plain<&TF::LM>(),
    {Control<&TF::LB>, nullptr, {Control<&TF::LB>, ListViewport}},
}};

} // namespace

std::span<const ControlBinding, ComponentCount> ControlBindings()
{
    return bindings;
}

QWidget* ComponentControl(TF& f, int index)
{
    if (index < 0 || index >= int(ComponentCount)) return nullptr;
    return bindings[std::size_t(index)].control(f);
}

PictureBox* ComponentPicture(TF& f, int index)
{
    if (index < 0 || index >= int(ComponentCount)) return nullptr;
    const auto picture = bindings[std::size_t(index)].picture;
    return picture ? picture(f) : nullptr;
}

} // namespace fabulor
