#pragma once
// The item list: an icon view with a skin frame and colours, and optionally
// flat scroll bars.

#include "widgets/SkinBox.h"

#include <QListWidget>

namespace fabulor {

class ListView : public SkinBox<QListWidget> {
    Q_OBJECT
    // The appearance the skin gives it (preview/ControlProperties.h).
    Q_PROPERTY(fabulor::Colour colour READ colour WRITE setColour)
    Q_PROPERTY(fabulor::Colour fontColour READ fontColour WRITE setFontColour)
    Q_PROPERTY(bool flat READ flat WRITE setFlat)
    Q_PROPERTY(bool flatScrollBars READ flatScrollBars WRITE setFlatScrollBars)
public:
    explicit ListView(QWidget* parent = nullptr);

    bool flatScrollBars() const { return m_flatScrollBars; }
    void setFlatScrollBars(bool flat);

private:
    bool m_flatScrollBars = false;
};

} // namespace fabulor
