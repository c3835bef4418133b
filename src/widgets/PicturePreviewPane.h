#pragma once
// The pane beside the file list of the open-picture dialogs: the selected
// file's picture, scaled down to fit, under a caption with its size; or
// "(None)" under "Picture:" when the file shows nothing.

#include <QImage>
#include <QWidget>

class QLabel;

namespace fabulor {

// The picture of a file as the preview shows it. The extension decides the
// kind and with it the decoder: bitmaps and JPEG pictures go through the
// program's own decoders, icons through Qt; metafiles never load. A null
// image when the file does not exist, its kind is unknown, it does not
// decode, or it holds no pixels.
QImage LoadPreviewPicture(const QString& fileName);

class PicturePreviewPane : public QWidget {
    Q_OBJECT
public:
    explicit PicturePreviewPane(QWidget* parent = nullptr);

    // Shows the picture of the named file, or "(None)".
    void showFile(const QString& path);

    // What the pane shows, for tests to look at as the user would.
    // " (64x48)" while a picture shows, "Picture:" otherwise.
    QString caption() const;
    bool hasPicture() const { return !m_picture.isNull(); }
    // The picture's own size, and the size it is drawn at in the pane.
    QSize pictureSize() const { return m_picture.size(); }
    QSize shownSize() const;
    // "(None)" while no picture shows, empty otherwise.
    QString placeholderText() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateView();

    QLabel* m_caption;
    QLabel* m_view;
    QImage m_picture;
};

} // namespace fabulor
