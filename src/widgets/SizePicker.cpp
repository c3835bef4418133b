#include "SizePicker.h"

#include "Accessibility.h"
#include "FontPicker.h"

#include "document/IntegerText.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLineEdit>
#include <QValidator>

#include <algorithm>

namespace fabulor {
namespace {

const QList<int> scalableSizes{8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

// The size replacing one that no font can have.
constexpr int fallbackSize = 10;

// Lets through only digits and signs; anything else is refused with a beep,
// whether typed, pasted or dropped.
class SizeTextValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& /*position*/) const override
    {
        const bool allowed = std::all_of(input.cbegin(), input.cend(), [](QChar c) {
            return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('+') ||
                   c == QLatin1Char('-');
        });
        if (allowed) return Acceptable;
        QApplication::beep();
        return Invalid;
    }
};

} // namespace

SizePicker::SizePicker(QWidget* parent) : QComboBox(parent)
{
    InstallWidgetAccessibility();
    setEditable(true);
    // The typed text is the value: no completion that would change it, no
    // entries added by Return.
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    lineEdit()->setValidator(new SizeTextValidator(lineEdit()));
    fill(QString());
    setCurrentIndex(-1);
    setEditText(QString());

    connect(this, &QComboBox::activated, this, &SizePicker::changed);
    connect(lineEdit(), &QLineEdit::textEdited, this, &SizePicker::changed);
}

SizePicker::~SizePicker()
{
    if (m_fonts) m_fonts->unlink(this);
}

void SizePicker::setFontPicker(FontPicker* fonts)
{
    if (m_fonts == fonts) return;
    if (m_fonts) m_fonts->unlink(this);
    m_fonts = fonts;
    if (m_fonts) {
        m_fonts->link(this);
        fill(m_fonts->text());
    }
}

int SizePicker::value() const
{
    return number().value_or(-1);
}

std::optional<int> SizePicker::number() const
{
    const QByteArray text = currentText().toLatin1();
    return ParseInteger(std::string_view(text.constData(), std::size_t(text.size())));
}

void SizePicker::setLimits(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
}

void SizePicker::setSize(int size)
{
    if (size < m_minimum || size > m_maximum) size = fallbackSize;
    const QString text = QString::number(size);
    setCurrentIndex(findText(text));
    setEditText(text);
    emit changed();
}

QList<int> SizePicker::sizesFor(const QString& family)
{
    // A smoothly scalable font draws well at every size. A bitmap font, even
    // one the system would stretch, only looks right at the sizes it brings.
    if (family.isEmpty() || QFontDatabase::isSmoothlyScalable(family)) return scalableSizes;
    QList<int> own = QFontDatabase::pointSizes(family);
    own.removeIf([](int size) { return size <= 0; });
    std::sort(own.begin(), own.end());
    own.erase(std::unique(own.begin(), own.end()), own.end());
    // A family unknown to the system offers nothing; the standard sizes
    // still let the user type and choose.
    return own.isEmpty() ? scalableSizes : own;
}

void SizePicker::fontChanged(const QString& family)
{
    const int shown = value();
    fill(family);
    setSize(shown);
}

void SizePicker::fill(const QString& family)
{
    // Refilling clears the edit, so the text is put back afterwards; the
    // caller decides whether the change is announced.
    const QString text = currentText();
    clear();
    for (int size : sizesFor(family))
        addItem(QString::number(size));
    setCurrentIndex(findText(text));
    setEditText(text);
}

} // namespace fabulor
