#pragma once
// "Pokaż obszar maski": while the window is not shaped, the preview tints
// the area the skin's mask would hide and outlines in red every component
// whose box reaches into it, so that a skin maker sees what the reader will
// cut off before switching the shape on. A mark like the selection frame:
// on top, invisible to the mouse, no part of the skin.

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <vector>

namespace fabulor {

class TF;

class MaskAreaOverlay : public QWidget {
    Q_OBJECT
public:
    explicit MaskAreaOverlay(TF& preview);

    // The skin's stored mask (a BMP file's bytes; none for no mask). Decoded
    // only when they differ from the bytes given last.
    void setMaskBytes(const std::vector<std::uint8_t>& bytes);
    // The view option itself.
    void setOn(bool on);
    bool isOn() const { return m_on; }
    // Shows or hides the marks for the preview's state now (shaping may have
    // been switched, the window resized).
    void refresh();

    // Whether the mask hides anything: not without a mask, with one that
    // does not decode, or with one that gives no region.
    bool hidesAnything() const { return !m_shown.isNull(); }
    // Whether the mask hides any pixel of box (in the preview's client
    // area's coordinates) within the client area: everything outside the
    // mask's region is hidden.
    bool hidesPartOf(const QRect& box) const;
    // The catalogue indices of the components that can be seen and whose
    // box reaches into the hidden area, in catalogue order.
    std::vector<int> reachingComponents() const;

    static QColor tint();
    static QColor outline();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QRect componentBox(int index) const;

    TF& m_preview;
    bool m_on = false;
    std::vector<std::uint8_t> m_maskBytes;
    // The mask's region as a 1-bit picture of the mask's size, index 1
    // shown and 0 hidden, coloured transparent and tinted so that it is
    // drawn as it is. Null: nothing hidden.
    QImage m_shown;
};

} // namespace fabulor
