#pragma once
// A drop-down of colour swatches with names: twenty named colours, the custom
// colours met so far ("Custom") and "Custom..." that opens the colour dialog.
// Its value is a skin colour, kept exactly (window-system colours included).

#include "document/ColourTable.h"

#include <QComboBox>

namespace fabulor {

class Dialogs;

class ColourPicker : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(fabulor::Colour value READ value WRITE setValue NOTIFY changed USER true)
public:
    // The item data role that holds an entry's colour; "Custom..." has none.
    static constexpr int ColourRole = Qt::UserRole;

    // Starts on "Black", the first entry.
    explicit ColourPicker(Dialogs& dialogs, QWidget* parent = nullptr);

    Colour value() const { return m_value; }

    // Selects the entry of the colour and emits changed(), also when it was
    // selected already. A colour that is not listed yet is inserted as a
    // "Custom" entry above "Custom..." and selected without emitting.
    void setValue(Colour colour);

    void showPopup() override;

signals:
    // A user choice emits changed() and then clicked(); setValue only changed().
    void changed();
    void clicked();

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void onActivated(int index);
    void select(int index, Colour colour);
    int indexOf(Colour colour) const;
    int insertCustom(Colour colour);
    int customDialogIndex() const { return count() - 1; }
    QIcon swatch(const QColor& colour) const;
    void refreshSwatches();

    Dialogs& m_dialogs;
    Colour m_value = 0;
};

} // namespace fabulor
