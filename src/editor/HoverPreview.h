#pragma once
// The mouse-over preview, a view option: while it is on, a button of the
// preview shows its mouse-over picture as long as the pointer is over it, as
// the reader does, and two boxes of the picture band show the current
// button's two pictures. It changes nothing in the skin or its history.

#include "editor/Catalogue.h"
#include "pictures/Picture.h"

#include <QObject>
#include <QPointer>

class QCheckBox;
class QWidget;

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>

namespace fabulor {

class IniStore;
class PictureBox;
class PictureBudget;
class TF;

class HoverPreview : public QObject {
    Q_OBJECT
public:
    // preview: the window whose buttons it watches; document: where the
    // stored pictures are read (it may be empty); current: the catalogue
    // index the settings window edits; budget: the memory the skin's
    // pictures may take, which mouse-over pictures count against too.
    HoverPreview(TF& preview, const std::optional<IniStore>& document, std::function<int()> current,
                 std::function<std::shared_ptr<PictureBudget>()> budget, QObject* parent = nullptr);

    // Puts its switch, "Podgląd najechania" (off), on band.
    void buildOption(QWidget* band);
    QCheckBox* HoverCheck = nullptr;

    // The boxes that show the current button's mouse-out and mouse-over
    // pictures while the preview is on.
    void setThumbnails(PictureBox* mouseOut, PictureBox* mouseOver);

    void setEnabled(bool on);
    bool isEnabled() const { return m_on; }

    // A stored picture or the current component may have changed: shows
    // again what is due. Nothing while the preview is off.
    void refresh();

    // How many mouse-over pictures have been decoded so far: each stored one
    // is decoded on first use only, and never while the preview is off.
    int decodeCount() const { return m_decodes; }

    // Shows the button of index as it looks under the pointer, whether the
    // preview is on or not and wherever the pointer is, until called with
    // -1, which gives the pointer back its say. For pictures of the skin
    // drawn without a pointer (SkinRender.h).
    void showAsHovered(int index);

    // Loading was cancelled: a mouse-over picture whose pixels have not been
    // decoded counts as one that does not decode, and the button under the
    // pointer shows its mouse-out picture.
    void dropUndecoded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A button's decoded mouse-over picture, kept while its stored bytes
    // stay the same.
    struct Cached {
        bool known = false;
        std::size_t hash = 0;
        std::size_t length = 0;
        std::optional<Picture> picture;
    };

    const std::optional<Picture>& mouseOver(int index);
    void showHover();
    void showThumbnails();
    bool dragging() const;

    TF& m_preview;
    const std::optional<IniStore>& m_document;
    std::function<int()> m_current;
    std::function<std::shared_ptr<PictureBudget>()> m_budget;
    QPointer<PictureBox> m_mouseOut;
    QPointer<PictureBox> m_mouseOver;
    std::array<QPointer<PictureBox>, CatalogueSize> m_boxes{};
    std::array<Cached, CatalogueSize> m_cache{};
    bool m_on = false;
    int m_hovered = -1; // the button under the pointer, whether on or off
    int m_shown = -1;   // the button showing its mouse-over picture
    int m_forced = -1;  // the button shown as hovered whatever the pointer does
    int m_decodes = 0;
};

} // namespace fabulor
