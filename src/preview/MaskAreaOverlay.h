#pragma once
// "Pokaż obszar maski": while the window is not shaped, the preview tints
// the area the skin's mask would hide and outlines in red every component
// whose box reaches into it, so that a skin maker sees what the reader will
// cut off before switching the shape on. A mark like the selection frame:
// on top, invisible to the mouse, no part of the skin.

#include <QRegion>
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

    // What the mask hides of the preview's client area, in its coordinates:
    // everything outside the mask's region. Empty when nothing is hidden:
    // no mask, one that does not decode, or one that gives no region.
    QRegion hiddenArea() const;
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
    QRegion m_region; // the mask's visible part; empty: nothing hidden
};

} // namespace fabulor
