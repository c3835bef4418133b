#pragma once
// Files dropped onto the program's windows: a skin file onto either window
// opens it, a picture onto a button of the preview becomes its mouse-out
// picture (with Shift its mouse-over picture), a bitmap onto the "Skóra" tab
// becomes the mask. Each goes the way the matching button or file dialog
// goes, as one step of the history.

#include <QObject>
#include <QPoint>
#include <QString>

class QMimeData;
class QWidget;

namespace fabulor {

class TF;
class TFBox;

class SkinDrops : public QObject {
public:
    // Lets both windows take file drops; box owns the drops.
    SkinDrops(TFBox& box, TF& preview);

    enum class Target { None, Skin, Mask, MouseOut, MouseOver };
    struct Drop {
        Target target = Target::None;
        int component = -1; // the button, for the pictures
        QString fileName;
    };
    // What dropping data at at (in window's coordinates) would do.
    Drop dropAt(const QWidget* window, QPoint at, const QMimeData* data,
                Qt::KeyboardModifiers modifiers) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Whether window takes file at some place.
    bool takesSomewhere(const QWidget* window, const QString& file) const;
    int buttonAt(QPoint at) const;
    bool onSkinTab(QPoint at) const;
    void perform(const Drop& drop);
    void dropMask(const QString& fileName);
    void dropButtonPicture(int component, const QString& fileName, bool mouseOver);

    TFBox& m_box;
    TF& m_preview;
};

} // namespace fabulor
