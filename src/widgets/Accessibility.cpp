#include "widgets/Accessibility.h"

#include "widgets/BandPanel.h"
#include "widgets/FileNameEdit.h"
#include "widgets/PictureBox.h"
#include "widgets/SideTabWidget.h"
#include "widgets/SpinEdit.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QChildEvent>
#include <QComboBox>
#include <QFrame>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QToolButton>

#include <algorithm>
#include <utility>

namespace fabulor {
namespace {

// One of our buttons: named by its caption, and pressed by a click, as
// Qt's own buttons are, but with a role and states of its own.
class ButtonInterface : public QAccessibleWidget {
public:
    using QAccessibleWidget::QAccessibleWidget;

    QString text(QAccessible::Text t) const override
    {
        const QString own = QAccessibleWidget::text(t);
        return t == QAccessible::Name && own.isEmpty() ? button()->text() : own;
    }

    QStringList actionNames() const override
    {
        QStringList names;
        if (widget()->isEnabled()) names << pressAction();
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override
    {
        if (action == pressAction())
            button()->click(); // nothing while disabled
        else
            QAccessibleWidget::doAction(action);
    }

    QStringList keyBindingsForAction(const QString& action) const override
    {
        if (action == pressAction()) return {QKeySequence(Qt::Key_Space).toString(QKeySequence::NativeText)};
        return QAccessibleWidget::keyBindingsForAction(action);
    }

protected:
    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }
};

// A tab of a SideTabWidget: selected while its page shows; pressing it shows
// the page. As the checkable button it is built from, it would read as a
// check box whose toggling switches nothing.
class SideTabInterface : public ButtonInterface {
public:
    explicit SideTabInterface(QWidget* tab) : ButtonInterface(tab, QAccessible::PageTab) {}

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.selectable = true;
        s.selected = button()->isChecked();
        return s;
    }

    QString localizedActionName(const QString& action) const override
    {
        return action == pressAction() ? QStringLiteral("Pokaż")
                                       : ButtonInterface::localizedActionName(action);
    }
};

// The header of a band: a button that unfolds its band, or folds it when it
// is unfolded, and says which it is.
class BandHeaderInterface : public ButtonInterface {
public:
    explicit BandHeaderInterface(QWidget* header) : ButtonInterface(header, QAccessible::Button) {}

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = button()->isChecked();
        s.collapsed = !s.expanded;
        return s;
    }

    QString localizedActionName(const QString& action) const override
    {
        if (action != pressAction()) return ButtonInterface::localizedActionName(action);
        return button()->isChecked() ? QStringLiteral("Zwiń") : QStringLiteral("Rozwiń");
    }
};

// A spin edit: a spin box whose value is its text and whose increase and
// decrease actions step it as its arrows do.
class SpinEditInterface : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit SpinEditInterface(QWidget* edit) : QAccessibleWidget(edit, QAccessible::SpinBox) {}

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? spin()->text() : QAccessibleWidget::text(t);
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override { return spin()->value(); }
    void setCurrentValue(const QVariant& value) override { spin()->setValue(value.toInt()); }
    QVariant maximumValue() const override { return spin()->maximum(); }
    QVariant minimumValue() const override { return spin()->minimum(); }
    QVariant minimumStepSize() const override { return spin()->increment(); }

    QStringList actionNames() const override
    {
        QStringList names;
        if (widget()->isEnabled()) names << increaseAction() << decreaseAction();
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override
    {
        if (!widget()->isEnabled()) return;
        if (action == increaseAction())
            spin()->stepUp();
        else if (action == decreaseAction())
            spin()->stepDown();
        else
            QAccessibleWidget::doAction(action);
    }

    QStringList keyBindingsForAction(const QString& action) const override
    {
        if (action == increaseAction()) return {QKeySequence(Qt::Key_Up).toString(QKeySequence::NativeText)};
        if (action == decreaseAction())
            return {QKeySequence(Qt::Key_Down).toString(QKeySequence::NativeText)};
        return QAccessibleWidget::keyBindingsForAction(action);
    }

private:
    SpinEdit* spin() const { return static_cast<SpinEdit*>(widget()); }
};

// The list of a drop-down whose list is made already, or none. Qt makes the
// list only when it first drops down or is asked for: making it at start
// would cost every start its widgets.
QAbstractItemView* MadeList(const QComboBox* combo)
{
    const auto* popup = combo->findChild<QFrame*>(QString(), Qt::FindDirectChildrenOnly);
    return popup && popup->windowType() == Qt::Popup ? combo->view() : nullptr;
}

// The list shows the drop-down's entry selected, closed as it is open, so a
// reader finds the entry shown as the list's selected item. (Qt selects it
// only as the list drops down.)
void SelectEntry(const QComboBox* combo, QAbstractItemView* list)
{
    QItemSelectionModel* selection = list->selectionModel();
    if (!selection || list->isVisible()) return; // open, the user's highlight counts
    const QModelIndex entry =
        combo->model()->index(combo->currentIndex(), combo->modelColumn(), combo->rootModelIndex());
    if (entry.isValid() ? selection->isSelected(entry) && selection->selectedIndexes().size() == 1
                        : !selection->hasSelection())
        return;
    selection->setCurrentIndex(entry, QItemSelectionModel::ClearAndSelect);
}

// A drop-down's list, made now when it was not: named as the drop-down is,
// with the entry shown selected.
QAbstractItemView* NamedList(const QComboBox* combo)
{
    QAbstractItemView* list = combo->view();
    if (list->accessibleName().isEmpty()) list->setAccessibleName(combo->accessibleName());
    SelectEntry(combo, list);
    return list;
}

// The entry a drop-down without a field of its own shows; empty for one
// with a field, whose field tells it.
QString ShownEntry(const QComboBox* combo)
{
    return combo->isEditable() ? QString() : combo->currentText();
}

// Names the list as its pop-up is first made ready to show, keeps the entry
// selected in it, and tells readers of a new entry: as the text and, where
// the drop-down has no description of its own, the description it shows.
class EntryFollower : public QObject {
public:
    explicit EntryFollower(QComboBox* combo) : QObject(combo), m_combo(combo), m_shown(ShownEntry(combo))
    {
        combo->installEventFilter(this);
        connect(combo, &QComboBox::currentIndexChanged, this, &EntryFollower::entryChanged);
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::ChildPolished) {
            const auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child());
            if (child && child->windowType() == Qt::Popup) NamedList(m_combo);
        }
        return false;
    }

private:
    void entryChanged()
    {
        if (QAbstractItemView* list = MadeList(m_combo)) SelectEntry(m_combo, list);
        const QString shown = ShownEntry(m_combo);
        if (shown == m_shown) return;
        const QString old = std::exchange(m_shown, shown);
        if (!QAccessible::isActive()) return;
        QAccessibleTextUpdateEvent text(m_combo, 0, old, shown);
        QAccessible::updateAccessibility(&text);
        if (m_combo->accessibleDescription().isEmpty() && m_combo->toolTip().isEmpty()) {
            QAccessibleEvent description(m_combo, QAccessible::DescriptionChanged);
            QAccessible::updateAccessibility(&description);
        }
    }

    QComboBox* m_combo;
    QString m_shown;
};

// A drop-down as Qt describes one (its list and, when editable, its field as
// children; opening and closing the list as its action), except for its name:
// on Linux Qt names a drop-down by the entry it shows and leaves its purpose
// to the label's relation, so a reader announces "Red" where the user needs
// "Kolor tła". Here the name is the caption; only a drop-down without one is
// named by its entry, as before. The entry then reaches a reader as the
// drop-down's text (read only), as the list's selected item and, where the
// drop-down has no description (tooltip) of its own, as its description.
// A drop-down with a field shows its entry there.
class ComboBoxInterface : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ComboBoxInterface(QWidget* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface && !combo()->isEditable())
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // The text: the entry shown, which the user cannot select or edit here.
    // An end of -1 is the end of the text, as readers ask for all of it.
    QString text(int startOffset, int endOffset) const override
    {
        const QString shown = entry();
        const qsizetype end = endOffset < 0 ? shown.size() : std::min<qsizetype>(endOffset, shown.size());
        const qsizetype start = std::clamp<qsizetype>(startOffset, 0, end);
        return shown.mid(start, end - start);
    }
    int characterCount() const override { return int(entry().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    int selectionCount() const override { return 0; }
    void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

    int childCount() const override { return combo()->isEditable() ? 2 : 1; }

    QAccessibleInterface* child(int index) const override
    {
        if (index == 0) return QAccessible::queryAccessibleInterface(NamedList(combo()));
        if (index == 1 && combo()->isEditable())
            return QAccessible::queryAccessibleInterface(combo()->lineEdit());
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!child) return -1;
        if (child->object() == NamedList(combo())) return 0;
        if (combo()->isEditable() && child->object() == combo()->lineEdit()) return 1;
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override
    {
        QLineEdit* field = combo()->isEditable() ? combo()->lineEdit() : nullptr;
        if (field && QRect(field->mapToGlobal(QPoint(0, 0)), field->size()).contains(x, y)) return child(1);
        return nullptr;
    }

    // The field of an editable drop-down never takes the focus itself (the
    // drop-down is its focus proxy), yet it is where the typing goes.
    QAccessibleInterface* focusChild() const override { return combo()->isEditable() ? child(1) : nullptr; }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return combo()->isEditable() ? combo()->lineEdit()->text() : combo()->currentText();
        const QString own = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && own.isEmpty()) return text(QAccessible::Value);
        if (t == QAccessible::Description && own.isEmpty()) return entry();
        return own;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = NamedList(combo())->isVisible();
        s.collapsed = !s.expanded;
        s.editable = combo()->isEditable();
        return s;
    }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }

    QString localizedActionDescription(const QString& action) const override
    {
        if (action == showMenuAction() || action == pressAction())
            return QComboBox::tr("Open the combo box selection popup");
        return {};
    }

    void doAction(const QString& action) override
    {
        if (action != showMenuAction() && action != pressAction()) return;
        if (NamedList(combo())->isVisible())
            combo()->hidePopup();
        else
            combo()->showPopup();
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QComboBox* combo() const { return static_cast<QComboBox*>(widget()); }
    QString entry() const { return ShownEntry(combo()); }
};

QAccessibleInterface* WidgetInterface(const QString& className, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget) return nullptr;
    const auto is = [&className](const QMetaObject& type) {
        return className == QLatin1String(type.className());
    };
    if (is(SideTab::staticMetaObject)) return new SideTabInterface(widget);
    if (is(BandHeader::staticMetaObject)) return new BandHeaderInterface(widget);
    if (is(SpinEdit::staticMetaObject)) return new SpinEditInterface(widget);
    if (is(PictureBox::staticMetaObject)) return new QAccessibleWidget(widget, QAccessible::Graphic);
    if (is(QComboBox::staticMetaObject)) return new ComboBoxInterface(widget);
    return nullptr;
}

} // namespace

void InstallWidgetAccessibility()
{
    // Qt ignores a factory it has already; it keeps none across applications.
    QAccessible::installFactory(WidgetInterface);
}

void SetAccessibleCaption(QWidget* control, const QString& caption)
{
    InstallWidgetAccessibility();
    control->setAccessibleName(caption);
    if (auto* spin = qobject_cast<SpinEdit*>(control)) {
        spin->nameParts();
    } else if (auto* file = qobject_cast<FileNameEdit*>(control)) {
        file->nameParts();
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        if (combo->lineEdit()) combo->lineEdit()->setAccessibleName(caption);
        if (!combo->property("fsbEntryFollower").toBool()) {
            new EntryFollower(combo);
            combo->setProperty("fsbEntryFollower", true);
        }
        // A list made already takes the new name now.
        if (QAbstractItemView* list = MadeList(combo)) list->setAccessibleName(caption);
    } else if (auto* area = qobject_cast<QAbstractScrollArea*>(control)) {
        // A scroll bar says what it scrolls; its role says it is one.
        area->verticalScrollBar()->setAccessibleName(caption);
        area->horizontalScrollBar()->setAccessibleName(caption);
    }
}

void CaptionWithLabel(QLabel* label, QWidget* control)
{
    label->setBuddy(control);
    SetAccessibleCaption(control, CaptionText(label->text()));
}

QString CaptionText(const QString& labelText)
{
    QString text = labelText;
    // "&&" is a literal ampersand; a single one marks the mnemonic.
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    text = text.simplified();
    if (text.endsWith(QLatin1Char(':'))) text.chop(1);
    return text.trimmed();
}

} // namespace fabulor
