#include "editor/SkinPictures.h"

#include "editor/Catalogue.h"
#include "editor/HoverPreview.h"
#include "editor/PictureLoading.h"
#include "graphics/PictureBudget.h"
#include "pictures/BuiltInPictures.h"
#include "preview/PreviewWindow.h"
#include "widgets/PictureBox.h"

namespace fabulor {

SkinPictures::SkinPictures(TF& preview, HoverPreview& hover, QObject* parent)
    : QObject(parent), m_preview(preview), m_hover(hover)
{
    // Serves the preview's boxes once the program asks for it.
    Pictures = new PictureLoader(&preview, this);
    connect(Pictures, &PictureLoader::cancelled, this, &SkinPictures::GiveUpUndecodedPictures);
}

void SkinPictures::startPictureBudget()
{
    m_budget = std::make_shared<PictureBudget>();
}

void SkinPictures::loadPicturesInBackground(bool on)
{
    QList<PictureBox*> boxes{m_preview.Skin};
    for (int index = FirstButtonIndex; index <= LastButtonIndex; ++index)
        boxes << ButtonForIndex(index)->image(m_preview);
    Pictures->serve(on ? boxes : QList<PictureBox*>());
}

void SkinPictures::GiveUpUndecodedPictures()
{
    const auto undecoded = [](const Picture& picture) {
        return picture.jpeg() && !picture.jpeg()->decoded();
    };
    for (int index = FirstButtonIndex; index <= LastButtonIndex; ++index) {
        const CatalogueEntry* button = ButtonForIndex(index);
        Picture& picture = button->image(m_preview)->picture();
        if (undecoded(picture)) LoadBuiltInPicture(picture, button->schema->builtInPicture);
    }
    // A skin picture that does not decode keeps what the box had before;
    // that went when this one came, so nothing shows.
    if (undecoded(m_preview.Skin->picture())) m_preview.Skin->picture().clear();
    m_hover.dropUndecoded();
}

} // namespace fabulor
