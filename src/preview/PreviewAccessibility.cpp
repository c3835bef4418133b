#include "preview/PreviewAccessibility.h"

#include "preview/PreviewControls.h"
#include "preview/PreviewWindow.h"
#include "preview/SelectionFrame.h"
#include "widgets/ListView.h"
#include "widgets/Memo.h"
#include "widgets/PageControl.h"
#include "widgets/Panel.h"
#include "widgets/StaticText.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPlainTextEdit>
#include <QPointer>

#include <vector>

namespace fabulor {
namespace {

TF* PreviewOf(const QWidget* widget)
{
    return widget ? qobject_cast<TF*>(widget->window()) : nullptr;
}

// The component whose control the widget is, or -1. Asked each time: the
// window's members are filled in while it is built, and a reader may ask
// before that is done.
int ComponentOf(const QWidget* widget)
{
    TF* f = PreviewOf(widget);
    if (!f) return -1;
    const auto bindings = ControlBindings();
    for (std::size_t index = 0; index < bindings.size(); ++index)
        if (bindings[index].control(*f) == widget) return int(index);
    return -1;
}

// What a component is in the reader's window: the schema says which are
// buttons (they change their picture under the mouse; the warning sign only
// shows one), the control says what the others are.
QAccessible::Role ComponentRole(int index, const QWidget* control)
{
    const SkinComponent& component = SkinComponents()[std::size_t(index)];
    if (component.has(PicturesGroup))
        return component.has(MouseOverGroup) ? QAccessible::Button : QAccessible::Graphic;
    if (qobject_cast<const QListWidget*>(control)) return QAccessible::List;
    if (qobject_cast<const StaticText*>(control) || qobject_cast<const Memo*>(control))
        return QAccessible::StaticText;
    if (component.appearance == AppearanceSheet::Picture) return QAccessible::Graphic;
    // The page control holds the pages, the move strip lies over the window.
    return QAccessible::Pane;
}

// One entry of the item list: its caption, nothing to do with it.
class ListEntryInterface : public QAccessibleInterface {
public:
    ListEntryInterface(QListWidget* list, int row) : m_list(list), m_row(row) {}

    bool isValid() const override { return m_list && m_row < m_list->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_list ? m_list->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_list); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && isValid() ? m_list->item(m_row)->text() : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override
    {
        if (!isValid() || !m_list->isVisible()) return {};
        const QRect item = m_list->visualItemRect(m_list->item(m_row));
        return {m_list->viewport()->mapToGlobal(item.topLeft()), item.size()};
    }

    QAccessible::Role role() const override { return QAccessible::ListItem; }

    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.invalid = !isValid();
        s.invisible = !isValid() || !m_list->isVisible();
        s.readOnly = true;
        return s;
    }

private:
    QPointer<QListWidget> m_list;
    int m_row;
};

// A component's control. Its inner widgets stay hidden: a button is one
// button to the reader, not a panel with a picture box in it. The page
// control shows its pages, the item list its entries.
class ComponentInterface : public QAccessibleWidget {
public:
    explicit ComponentInterface(QWidget* control) : QAccessibleWidget(control) {}

    ~ComponentInterface() override
    {
        for (const QAccessible::Id id : m_entries)
            if (id) QAccessible::deleteAccessibleInterface(id);
    }

    QAccessible::Role role() const override
    {
        const int index = ComponentOf(widget());
        return index < 0 ? QAccessibleWidget::role() : ComponentRole(index, widget());
    }

    QString text(QAccessible::Text t) const override
    {
        const int index = ComponentOf(widget());
        if (index < 0) return QAccessibleWidget::text(t);
        if (t == QAccessible::Name) return ChooserText(index);
        if (t == QAccessible::Value) {
            if (const auto* label = qobject_cast<const StaticText*>(widget())) return label->text();
            if (const auto* box = qobject_cast<const Memo*>(widget())) return box->toPlainText();
            return {};
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (ComponentOf(widget()) < 0) return s;
        s.selectable = true;
        const TF* f = PreviewOf(widget());
        s.selected = f && f->selectedComponents().contains(ComponentOf(widget()));
        return s;
    }

    int childCount() const override
    {
        if (const QListWidget* list = entries()) return list->count();
        if (typing()) return 1;
        return showsInside() ? QAccessibleWidget::childCount() : 0;
    }

    QAccessibleInterface* child(int index) const override
    {
        if (QListWidget* list = entries())
            return index >= 0 && index < list->count() ? entry(index) : nullptr;
        if (QWidget* editor = typing())
            return index == 0 ? QAccessible::queryAccessibleInterface(editor) : nullptr;
        return showsInside() ? QAccessibleWidget::child(index) : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (entries()) {
            for (std::size_t row = 0; row < m_entries.size(); ++row)
                if (m_entries[row] && QAccessible::accessibleInterface(m_entries[row]) == child)
                    return int(row);
            return -1;
        }
        if (QWidget* editor = typing()) return child && child->object() == editor ? 0 : -1;
        return showsInside() ? QAccessibleWidget::indexOfChild(child) : -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override
    {
        if (QListWidget* list = entries()) {
            const QListWidgetItem* item = list->itemAt(list->viewport()->mapFromGlobal(QPoint(x, y)));
            return item ? entry(list->row(item)) : nullptr;
        }
        if (QWidget* editor = typing())
            return editor->rect().contains(editor->mapFromGlobal(QPoint(x, y)))
                       ? QAccessible::queryAccessibleInterface(editor)
                       : nullptr;
        return showsInside() ? QAccessibleWidget::childAt(x, y) : nullptr;
    }

    QAccessibleInterface* focusChild() const override
    {
        if (QWidget* editor = typing())
            return editor->hasFocus() ? QAccessible::queryAccessibleInterface(editor) : nullptr;
        if (showsInside()) return QAccessibleWidget::focusChild();
        return nullptr;
    }

    QStringList actionNames() const override
    {
        if (ComponentOf(widget()) < 0) return QAccessibleWidget::actionNames();
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    QString localizedActionName(const QString& action) const override
    {
        return action == pressAction() ? QStringLiteral("Wybierz")
                                       : QAccessibleWidget::localizedActionName(action);
    }

    QString localizedActionDescription(const QString& action) const override
    {
        if (action == pressAction()) return QStringLiteral("Wybiera komponent do edycji w oknie ustawień");
        return QAccessibleWidget::localizedActionDescription(action);
    }

    void doAction(const QString& action) override
    {
        const int index = ComponentOf(widget());
        if (action != pressAction() || index < 0) {
            QAccessibleWidget::doAction(action);
            return;
        }
        // What a press does before it drags: the settings window edits it.
        TF* f = PreviewOf(widget());
        if (f && f->SelectComponent) f->SelectComponent(index);
    }

    QStringList keyBindingsForAction(const QString& action) const override
    {
        return action == pressAction() ? QStringList{} : QAccessibleWidget::keyBindingsForAction(action);
    }

private:
    // The item list, whose entries are its children.
    QListWidget* entries() const
    {
        return ComponentOf(widget()) < 0 ? nullptr : qobject_cast<QListWidget*>(widget());
    }

    // The description box's text editor, once the box has made it: the one
    // thing inside a component a reader meets, as it takes the typing.
    QWidget* typing() const
    {
        const auto* box = qobject_cast<const Memo*>(widget());
        return box && ComponentOf(widget()) >= 0 ? box->editor() : nullptr;
    }

    // Only a pane shows what lies inside it.
    bool showsInside() const { return ComponentOf(widget()) < 0 || role() == QAccessible::Pane; }

    QAccessibleInterface* entry(int row) const
    {
        if (m_entries.size() <= std::size_t(row)) m_entries.resize(std::size_t(row) + 1, 0);
        QAccessible::Id& id = m_entries[std::size_t(row)];
        if (!id) id = QAccessible::registerAccessibleInterface(new ListEntryInterface(entries(), row));
        return QAccessible::accessibleInterface(id);
    }

    mutable std::vector<QAccessible::Id> m_entries;
};

// The mark of the current component: which component the settings window
// edits.
class SelectionMarkInterface : public QAccessibleWidget {
public:
    explicit SelectionMarkInterface(QWidget* mark)
        : QAccessibleWidget(mark, QAccessible::Indicator, QStringLiteral("Zaznaczenie"))
    {}

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Value) return QAccessibleWidget::text(t);
        const int index = ComponentOf(static_cast<const SelectionFrame*>(widget())->target());
        return index < 0 ? QString() : ChooserText(index);
    }
};

QAccessibleInterface* PreviewInterface(const QString& className, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!PreviewOf(widget)) return nullptr;
    const auto is = [&className](const QMetaObject& type) {
        return className == QLatin1String(type.className());
    };
    if (is(SelectionFrame::staticMetaObject)) return new SelectionMarkInterface(widget);
    if (is(Memo::staticMetaObject) || is(Panel::staticMetaObject) || is(PageControl::staticMetaObject) ||
        is(StaticText::staticMetaObject) || is(ListView::staticMetaObject))
        return new ComponentInterface(widget);
    return nullptr;
}

} // namespace

QString ChooserText(int index)
{
    const std::string_view text = SkinComponents()[std::size_t(index)].chooserText;
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

void InstallPreviewAccessibility()
{
    QAccessible::installFactory(PreviewInterface);
}

} // namespace fabulor
