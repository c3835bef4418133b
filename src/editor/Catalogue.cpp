#include "Catalogue.h"

#include "preview/PreviewControls.h"

namespace fabulor {

QWidget* CatalogueEntry::moved(TF& f) const
{
    return binding->control(f);
}

QWidget* CatalogueEntry::resized(TF& f) const
{
    return rozmiar() ? binding->control(f) : nullptr;
}

PictureBox* CatalogueEntry::image(TF& f) const
{
    return binding->picture ? binding->picture(f) : nullptr;
}

const std::array<CatalogueEntry, CatalogueSize>& Catalogue()
{
    static const std::array<CatalogueEntry, CatalogueSize> entries = [] {
        std::array<CatalogueEntry, CatalogueSize> built{};
        for (std::size_t i = 0; i < built.size(); ++i) {
            const SkinComponent& component = SkinComponents()[i];
            built[i] = {
                &component, &ControlBindings()[i],
                QString::fromUtf8(component.chooserText.data(), qsizetype(component.chooserText.size())),
                component.section};
        }
        return built;
    }();
    return entries;
}

const CatalogueEntry* CatalogueAt(int index)
{
    if (index < 0 || index >= CatalogueSize) return nullptr;
    return &Catalogue()[std::size_t(index)];
}

QString SectionName(int index)
{
    const CatalogueEntry* entry = CatalogueAt(index);
    if (!entry) return {};
    return QString::fromLatin1(entry->section.data(), qsizetype(entry->section.size()));
}

const CatalogueEntry* ButtonForIndex(int index)
{
    if (index < FirstButtonIndex || index > LastButtonIndex) return nullptr;
    return CatalogueAt(index);
}

} // namespace fabulor
