#pragma once
// A column of collapsible option bands in a vertically scrolling panel. At
// most one band is expanded: expanding one, by its header or from code,
// collapses the others and tells the band's listeners.

#include <QAbstractButton>
#include <QScrollArea>

#include <vector>

class QVBoxLayout;

namespace fabulor {

class BandPanel;

// The clickable header of a band: its caption and an expand indicator. A
// screen reader knows it as a button that unfolds or folds its band
// (widgets/Accessibility.h).
class BandHeader : public QAbstractButton {
    Q_OBJECT
public:
    explicit BandHeader(QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

class Band : public QWidget {
    Q_OBJECT
public:
    static constexpr int HeaderHeight = 20;

    // The area the band's controls live in. Its top-left is the band's, so
    // controls are placed in band coordinates, below the header.
    QWidget* content() const { return m_content; }
    BandHeader* header() const { return m_header; }
    QString caption() const;

    bool isExpanded() const { return m_expanded; }
    // Expanding collapses the panel's other bands and emits expanded(), just
    // as a click on the header does; expanding an expanded band does nothing.
    void setExpanded(bool expanded);

signals:
    void expanded();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class BandPanel;
    Band(BandPanel& panel, const QString& caption, int expandedHeight, QWidget* parent);
    void applyState();

    BandPanel& m_panel;
    BandHeader* m_header;
    QWidget* m_content;
    int m_expandedHeight;
    bool m_expanded = false;
};

class BandPanel : public QScrollArea {
    Q_OBJECT
public:
    explicit BandPanel(QWidget* parent = nullptr);

    // Appends a collapsed band at the bottom.
    Band* addBand(const QString& caption, int expandedHeight);
    const std::vector<Band*>& bands() const { return m_bands; }

private:
    friend class Band;
    void bandExpanding(Band* band);
    void scrollToBand(Band* band);

    QWidget* m_column;
    QVBoxLayout* m_layout;
    std::vector<Band*> m_bands;
};

} // namespace fabulor
