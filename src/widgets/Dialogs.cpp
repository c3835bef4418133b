#include "Dialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace fabulor {

Dialogs::~Dialogs() = default;

void StandardDialogs::showError(const QString& caption, const QString& message)
{
    QMessageBox box(QMessageBox::Critical, caption, message, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

} // namespace fabulor
