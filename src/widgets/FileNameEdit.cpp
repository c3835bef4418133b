#include "FileNameEdit.h"

#include "FocusOrder.h"
#include "LazyIcon.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

namespace fabulor {

FileNameEdit::FileNameEdit(Dialogs& dialogs, FileDialogOptions options, QWidget* parent)
    : QWidget(parent), m_dialogs(dialogs), m_options(std::move(options))
{}

void FileNameEdit::makeParts()
{
    if (m_edit) return;
    m_edit = new QLineEdit(m_text, this);
    m_browse = new QToolButton(this);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(m_edit, 1);
    layout->addWidget(m_browse);
    m_browse->setIcon(LazyStandardIcon(QStyle::SP_DirOpenIcon, m_browse));
    m_browse->setIconSize(QSize(16, 16));
    m_browse->setFocusPolicy(Qt::NoFocus);
    PutInFocusOrderAt(this, m_edit);
    // The field is what its caption label leads to.
    setFocusProxy(m_edit);
    connect(m_browse, &QToolButton::clicked, this, &FileNameEdit::browse);
    nameParts();
    // Made while showing, after Qt showed the children it had.
    if (isVisible())
        for (QWidget* part : {static_cast<QWidget*>(m_edit), static_cast<QWidget*>(m_browse)})
            part->show();
    // Made inside a shown widget (a test asking for a part): the layout is
    // set up now rather than at the next event loop turn.
    layout->activate();
}

QLineEdit* FileNameEdit::lineEdit() const
{
    // Made on request; what the widget shows does not change by it.
    const_cast<FileNameEdit*>(this)->makeParts();
    return m_edit;
}

QToolButton* FileNameEdit::browseButton() const
{
    lineEdit();
    return m_browse;
}

void FileNameEdit::nameParts()
{
    if (!m_edit || accessibleName().isEmpty()) return;
    m_edit->setAccessibleName(accessibleName());
    m_browse->setAccessibleName(accessibleName() + QStringLiteral(": wybierz plik"));
}

bool FileNameEdit::event(QEvent* event)
{
    // The parts are made as the widget first shows. (Not on polish: Qt
    // polishes a widget that is only marked to show with a hidden page.)
    if (event->type() == QEvent::Show) makeParts();
    return QWidget::event(event);
}

QString FileNameEdit::text() const
{
    return m_edit ? m_edit->text() : m_text;
}

void FileNameEdit::setText(const QString& text)
{
    if (m_edit)
        m_edit->setText(text);
    else
        m_text = text;
}

void FileNameEdit::browse()
{
    // The dialog proposes the name the edit holds.
    if (const std::optional<QString> chosen = m_dialogs.chooseFile(m_options, text())) setText(*chosen);
    emit afterDialog(text());
}

} // namespace fabulor
