#pragma once
// Pages with their tabs on the left, written bottom to top, that wrap into
// further columns when they do not fit the height: the sub-pages of the
// appearance tab, whose six captions would never fit one column.

#include <QAbstractButton>

#include <vector>

class QButtonGroup;
class QStackedWidget;

namespace fabulor {

// One tab: a checkable button whose caption reads bottom to top. A screen
// reader knows it as a page tab (widgets/Accessibility.h).
class SideTab : public QAbstractButton {
    Q_OBJECT
public:
    SideTab(const QString& caption, QWidget* parent);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

class SideTabWidget : public QWidget {
    Q_OBJECT
public:
    explicit SideTabWidget(QWidget* parent = nullptr);

    int addTab(QWidget* page, const QString& caption);
    int count() const { return int(m_tabs.size()); }
    QAbstractButton* tabButton(int index) const { return m_tabs.at(std::size_t(index)); }

    int currentIndex() const;
    QWidget* currentWidget() const;
    void setCurrentIndex(int index);
    void setCurrentWidget(QWidget* page);

    // How many columns of tabs the current height needs.

signals:
    void currentChanged(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutTabs();

    std::vector<QAbstractButton*> m_tabs;
    QButtonGroup* m_group;
    QStackedWidget* m_pages;
    int m_columns = 1;
};

} // namespace fabulor
