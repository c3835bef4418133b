#pragma once
// "Utwórz maskę z obrazu": making the window's mask from the skin picture.
// A click on the picture (or a typed colour) picks the key colour, the
// tolerance widens it, and the picture shows at once which part the mask
// hides. Saving is the settings window's: it asks for the file and takes the
// mask as one step of the history.

#include "graphics/MaskMaker.h"

#include <QDialog>
#include <QImage>

class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QSpinBox;

namespace fabulor {

// The picture as the dialog shows it, hidden parts checkered; a press picks
// the colour under the pointer.
class MaskPictureView : public QWidget {
    Q_OBJECT
public:
    explicit MaskPictureView(QWidget* parent = nullptr);
    void setImage(QImage image);
    const QImage& image() const { return m_image; }
    QSize sizeHint() const override;

signals:
    void picked(QPoint at); // in the view's pixels

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage m_image;
};

class MaskMakerDialog : public QDialog {
    Q_OBJECT
public:
    // The largest picture shown at full size; a larger one is shown scaled
    // down, so the shape follows every change at once whatever its size.
    static constexpr QSize MaxViewSize{800, 560};

    explicit MaskMakerDialog(QImage picture, QWidget* parent = nullptr);

    // The whole picture the mask is made of.
    const QImage& picture() const { return m_picture; }
    MaskKey key() const { return m_key; }
    // Picks a colour as a click on it would.
    void setKeyColour(QRgb colour);
    // The mask of the picture as shown: the whole picture, or its
    // scaled-down copy.
    const MadeMask& shownMask() const { return m_shown; }
    // Says why the mask cannot be used, or how much it hides.
    void showVerdict(MaskVerdict verdict);

    MaskPictureView* View = nullptr;
    QLineEdit* KeyEdit = nullptr;
    QLabel* KeySwatch = nullptr;
    QSlider* ToleranceSlider = nullptr;
    QSpinBox* ToleranceSpin = nullptr;
    QLabel* Status = nullptr;
    QPushButton* SaveButton = nullptr;   // "Zapisz maskę…"
    QPushButton* CancelButton = nullptr; // "Anuluj"

signals:
    // "Zapisz maskę…" was pressed with a usable key.
    void saveRequested();

private:
    void pickAt(QPoint at);
    void keyTyped(const QString& text);
    void setTolerance(int tolerance);
    void refresh();

    QImage m_picture;
    QImage m_view; // what is shown: the picture or a copy scaled down, 32-bit
    MaskKey m_key;
    bool m_keyValid = true;
    MadeMask m_shown;
};

// The Polish sentence for a mask that is refused; empty for Usable.
QString MaskVerdictText(MaskVerdict verdict);

} // namespace fabulor
