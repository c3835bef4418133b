#pragma once
// A picture box: shows one picture at its natural size at the top-left
// corner, never stretched, and takes the picture's size when it gets one.

#include "pictures/Picture.h"

#include <QWidget>

#include <optional>

namespace fabulor {

class PictureBox;

// Decodes the pixels of the boxes' JPEG pictures away from their painting
// (PictureBox::setPixelSource): a box whose picture has no pixels yet asks
// for them, draws nothing meanwhile, and is repainted when they have come.
class PixelSource {
public:
    virtual ~PixelSource() = default;
    // False when the box had better decode the picture itself, at once.
    virtual bool request(PictureBox& box, const JpegPicture& picture) = 0;
};

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    // Changing the picture through this reference repaints the box and, with
    // auto-size on, resizes it.
    Picture& picture() { return m_picture; }
    const Picture& picture() const { return m_picture; }

    // On (the default): a picture whose width and height are both above 0
    // gives the box its size; any other picture leaves the size alone.
    void setAutoSize(bool autoSize);

    // On: bitmap pixels of the bottom-left pixel's colour are see-through.
    void setTransparent(bool transparent);

    bool transparent() const { return m_transparent; }

    // While set, the box shows this picture in place of its own, and with
    // auto-size on takes its size; picture() stays what the box holds, so
    // nothing that reads or writes it sees the stand-in.
    void setStandIn(std::optional<Picture> standIn);
    bool hasStandIn() const { return m_standIn.has_value(); }
    // What the box draws: the stand-in while there is one, else its picture.
    const Picture& shown() const { return m_standIn ? *m_standIn : m_picture; }

    QSize sizeHint() const override;

    // Where the box gets the pixels of a JPEG picture it has not drawn yet;
    // none (the default): it decodes them itself as it paints.
    void setPixelSource(PixelSource* source) { m_pixelSource = source; }
    PixelSource* pixelSource() const { return m_pixelSource; }

signals:
    // Every mouse press on the box, for the window's press handlers.
    void pressed(QMouseEvent* event);
    // The picture changed (after any resize it caused).
    void pictureChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void pictureReplaced();
    void fitToShown();

    Picture m_picture;
    std::optional<Picture> m_standIn;
    QSize m_sizeBeforeStandIn;
    bool m_autoSize = true;
    bool m_transparent = false;
    PixelSource* m_pixelSource = nullptr;
};

} // namespace fabulor
