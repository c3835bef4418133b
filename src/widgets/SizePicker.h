#pragma once
// An editable drop-down of font sizes in points, linked to a font picker:
// it offers the sizes that font can be drawn in, and typing takes only
// digits and signs.

#include <QComboBox>
#include <QList>
#include <QPointer>

#include <optional>

namespace fabulor {

class FontPicker;

// Its value is its text (QComboBox's user property), which may be halfway
// through typing.
class SizePicker : public QComboBox {
    Q_OBJECT
public:
    // Starts with the sizes of a scalable font and an empty text.
    explicit SizePicker(QWidget* parent = nullptr);
    ~SizePicker() override;

    // Links the picker to a font picker (or unlinks it with nullptr) and
    // lists that font's sizes; the text stays and nothing is emitted.
    void setFontPicker(FontPicker* fonts);

    // The text as a whole number; -1 for an empty text or one that is not.
    int value() const;
    // The text as a whole number; none for an empty text or one that is not,
    // so a typed "-1" can be told from a box that holds no number.
    std::optional<int> number() const;

    // The sizes setSize takes as they are; 1 to 999 unless set.
    void setLimits(int minimum, int maximum);
    // A size outside the limits becomes 10. Selects the entry of that size
    // (none if absent), writes it as the text and emits changed().
    void setSize(int size);

    // The sizes offered for a family: the standard list for a smoothly
    // scalable font, otherwise the font's own point sizes, ascending.
    static QList<int> sizesFor(const QString& family);

signals:
    // Every user choice and every edit of the text, and every setSize.
    void changed();

private:
    friend class FontPicker;
    // Called by the linked font picker before it announces a new font.
    void fontChanged(const QString& family);
    void fill(const QString& family);

    QPointer<FontPicker> m_fonts;
    int m_minimum = 1;
    int m_maximum = 999;
};

} // namespace fabulor
