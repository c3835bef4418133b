#include "FileNameEdit.h"

#include "LazyIcon.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

namespace fabulor {

FileNameEdit::FileNameEdit(Dialogs& dialogs, FileDialogOptions options, QWidget* parent)
    : QWidget(parent), m_dialogs(dialogs), m_options(std::move(options)), m_edit(new QLineEdit(this)),
      m_browse(new QToolButton(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(m_edit, 1);
    layout->addWidget(m_browse);
    m_browse->setIcon(LazyStandardIcon(QStyle::SP_DirOpenIcon, m_browse));
    m_browse->setIconSize(QSize(16, 16));
    m_browse->setFocusPolicy(Qt::NoFocus);
    // The field is what its caption label leads to.
    setFocusProxy(m_edit);
    connect(m_browse, &QToolButton::clicked, this, &FileNameEdit::browse);
}

QString FileNameEdit::text() const
{
    return m_edit->text();
}

void FileNameEdit::setText(const QString& text)
{
    m_edit->setText(text);
}

void FileNameEdit::browse()
{
    // The dialog proposes the name the edit holds.
    if (const std::optional<QString> chosen = m_dialogs.chooseFile(m_options, m_edit->text()))
        m_edit->setText(*chosen);
    emit afterDialog(m_edit->text());
}

} // namespace fabulor
