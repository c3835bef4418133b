#pragma once
// A drop-down of the installed font families, sorted, without free text.
// While its list is open a sample box beside it shows the highlighted font.
// Size pickers linked to it are refilled before it announces a new font.

#include <QComboBox>
#include <QList>
#include <QPointer>

class QLabel;

namespace fabulor {

class SizePicker;

class FontPicker : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(QString fontName READ text WRITE setFontName NOTIFY changed USER true)
public:
    explicit FontPicker(QWidget* parent = nullptr);

    // The chosen family; empty when no entry is selected.
    QString text() const { return currentText(); }

    // When the name differs from text(), selects the entry equal to it
    // ignoring case (none when absent), refills the linked size pickers and
    // emits changed().
    void setFontName(const QString& name);

    // The box with the sample text, shown only while the list is open; tests
    // look at it as the user would.
    QLabel* sampleBox() const { return m_sample; }

    void showPopup() override;
    void hidePopup() override;

signals:
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    friend class SizePicker;
    void link(SizePicker* sizes);
    void unlink(SizePicker* sizes);

    void fontChosen();
    void showSample(int index);

    QList<QPointer<SizePicker>> m_sizePickers;
    QLabel* m_sample;
    QPointer<QWidget> m_popup; // the list's window, once it has opened
};

} // namespace fabulor
