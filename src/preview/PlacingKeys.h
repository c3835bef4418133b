#pragma once
// The preview's placing keys: the arrows nudge the selected component by a
// pixel (with Shift by ten), Tab and Shift+Tab select the next and the
// previous component. They work wherever the focus lies in the preview
// window, before the description box or the item list can take them for
// their own, and nowhere else.

#include <QObject>

namespace fabulor {

class TF;

class PlacingKeys : public QObject {
    Q_OBJECT
public:
    // Watches every key of the application for those meant for preview,
    // which owns the keys.
    explicit PlacingKeys(TF& preview);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TF& m_preview;
};

} // namespace fabulor
