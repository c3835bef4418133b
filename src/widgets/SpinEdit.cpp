#include "widgets/SpinEdit.h"

#include "document/IntegerText.h"
#include "widgets/Accessibility.h"
#include "widgets/FocusOrder.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QToolButton>
#include <QValidator>

#include <algorithm>
#include <limits>

namespace fabulor {
namespace {

bool IsNumberCharacter(QChar c)
{
    return (c >= u'0' && c <= u'9') || c == u'+' || c == u'-';
}

// Keeps pasted or dropped text to what could have been typed; typing itself
// is filtered (with a beep) before it gets here.
class NumberCharacters : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        return std::all_of(input.cbegin(), input.cend(), IsNumberCharacter) ? Acceptable : Invalid;
    }
};

constexpr int ButtonWidth = 15;

} // namespace

SpinEdit::SpinEdit(QWidget* parent) : QWidget(parent)
{
    InstallWidgetAccessibility();
}

void SpinEdit::makeParts()
{
    if (m_edit) return;
    m_edit = new QLineEdit(m_text, this);
    m_up = new QToolButton(this);
    m_down = new QToolButton(this);
    m_edit->setValidator(new NumberCharacters(m_edit));
    m_edit->installEventFilter(this);
    PutInFocusOrderAt(this, m_edit);
    setFocusProxy(m_edit);

    for (QToolButton* button : {m_up, m_down}) {
        button->setArrowType(button == m_up ? Qt::UpArrow : Qt::DownArrow);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(true);
    }
    connect(m_up, &QToolButton::clicked, this, &SpinEdit::stepUp);
    connect(m_down, &QToolButton::clicked, this, &SpinEdit::stepDown);
    connect(m_edit, &QLineEdit::textChanged, this, &SpinEdit::changed);
    nameParts();
    // Made while showing, after Qt showed the children it had.
    if (isVisible())
        for (QWidget* part :
             {static_cast<QWidget*>(m_edit), static_cast<QWidget*>(m_up), static_cast<QWidget*>(m_down)})
            part->show();
    placeParts();
}

QLineEdit* SpinEdit::lineEdit() const
{
    // Made on request; what the widget shows does not change by it.
    const_cast<SpinEdit*>(this)->makeParts();
    return m_edit;
}

QToolButton* SpinEdit::upButton() const
{
    lineEdit();
    return m_up;
}

QToolButton* SpinEdit::downButton() const
{
    lineEdit();
    return m_down;
}

void SpinEdit::nameParts()
{
    if (!m_edit || accessibleName().isEmpty()) return;
    m_edit->setAccessibleName(accessibleName());
    m_up->setAccessibleName(accessibleName() + QStringLiteral(": zwiększ"));
    m_down->setAccessibleName(accessibleName() + QStringLiteral(": zmniejsz"));
}

bool SpinEdit::event(QEvent* event)
{
    // The parts are made as the widget first shows. (Not on polish: Qt
    // polishes a widget that is only marked to show with a hidden page.)
    if (event->type() == QEvent::Show) makeParts();
    return QWidget::event(event);
}

void SpinEdit::setLimits(int min, int max)
{
    m_limited = true;
    m_min = std::min(min, max);
    m_max = std::max(min, max);
}

int SpinEdit::minimum() const
{
    return m_limited ? m_min : std::numeric_limits<int>::min();
}

int SpinEdit::maximum() const
{
    return m_limited ? m_max : std::numeric_limits<int>::max();
}

int SpinEdit::value() const
{
    return ParseInteger(text().toStdString()).value_or(0);
}

void SpinEdit::setValue(int value)
{
    const QString text = QString::number(clamped(value));
    if (text == this->text()) return;
    if (m_edit) {
        m_edit->setText(text); // announces the change itself
    } else {
        m_text = text;
        emit changed();
    }
}

QString SpinEdit::text() const
{
    return m_edit ? m_edit->text() : m_text;
}

void SpinEdit::restoreText(const QString& text)
{
    if (!m_edit) {
        m_text = text;
        return;
    }
    const QSignalBlocker quiet(m_edit);
    m_edit->setText(text);
}

QSize SpinEdit::sizeHint() const
{
    const QSize edit = lineEdit()->sizeHint();
    return {edit.width() + ButtonWidth, edit.height()};
}

void SpinEdit::stepBy(int steps)
{
    setValue(clamped(static_cast<long long>(value()) + static_cast<long long>(steps) * m_increment));
}

int SpinEdit::clamped(long long value) const
{
    long long low = std::numeric_limits<int>::min();
    long long high = std::numeric_limits<int>::max();
    if (m_limited) {
        low = m_min;
        high = m_max;
    }
    return static_cast<int>(std::clamp(value, low, high));
}

void SpinEdit::resizeEvent(QResizeEvent*)
{
    placeParts();
}

void SpinEdit::placeParts()
{
    if (!m_edit) return;
    const int w = width();
    const int h = height();
    m_edit->setGeometry(0, 0, std::max(0, w - ButtonWidth), h);
    m_up->setGeometry(w - ButtonWidth, 0, ButtonWidth, h / 2);
    m_down->setGeometry(w - ButtonWidth, h / 2, ButtonWidth, h - h / 2);
}

bool SpinEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_edit) return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            stepBy(key->key() == Qt::Key_Up ? 1 : -1);
            return true;
        }
        // Shortcuts (Ctrl+V and the like) go through; a character that
        // would be typed must be a digit or a sign.
        const bool command = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        const QString typed = key->text();
        if (!command && !typed.isEmpty() && typed.at(0).isPrint() &&
            !std::all_of(typed.cbegin(), typed.cend(), IsNumberCharacter)) {
            QApplication::beep();
            return true;
        }
    } else if (event->type() == QEvent::FocusOut && m_limited &&
               static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        // A context menu opening is no leaving of the edit.
        const int current = value();
        if (current < m_min || current > m_max) setValue(current);
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace fabulor
