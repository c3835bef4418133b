#pragma once
// The skin's pictures as the preview shows them: the memory they may take
// together, and their loading behind the editor's windows (PictureLoading.h).

#include <QObject>

#include <memory>

namespace fabulor {

class HoverPreview;
class PictureBudget;
class PictureLoader;
class TF;

class SkinPictures : public QObject {
public:
    // preview: the window whose pictures these are; hover: the mouse-over
    // pictures, given up with the rest when loading is cancelled.
    SkinPictures(TF& preview, HoverPreview& hover, QObject* parent = nullptr);

    // The memory the skin's decoded pictures may take together
    // (graphics/PictureBudget.h); every skin applied starts a new one. The
    // steps of the history keep the pictures they can show again, and count.
    const std::shared_ptr<PictureBudget>& pictureBudget() const { return m_budget; }
    // A new budget, for a skin being applied.
    void startPictureBudget();
    // Off (as made): the preview decodes a picture while it first paints it.
    // On (the editor's own windows): the pixels are decoded on a worker
    // thread behind a progress window that can be cancelled.
    void loadPicturesInBackground(bool on);
    PictureLoader* Pictures = nullptr;
    // Loading was cancelled: every picture without pixels by then counts as
    // one that does not decode (a button shows its built-in picture).
    void GiveUpUndecodedPictures();

private:
    TF& m_preview;
    HoverPreview& m_hover;
    std::shared_ptr<PictureBudget> m_budget;
};

} // namespace fabulor
