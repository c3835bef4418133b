#pragma once
// The item list: an icon view with a skin frame and colours, and optionally
// flat scroll bars.

#include "widgets/SkinBox.h"

#include <QListWidget>

namespace fabulor {

class ListView : public SkinBox<QListWidget> {
    Q_OBJECT
public:
    explicit ListView(QWidget* parent = nullptr);

    void setFlatScrollBars(bool flat);
};

} // namespace fabulor
