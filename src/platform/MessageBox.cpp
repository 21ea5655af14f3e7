#include "platform/MessageBox.h"

#include <QMessageBox>

void MessageBoxes::showDialog(Kind kind, const QString &caption, const QString &text)
{
    const QMessageBox::Icon icon = kind == Kind::Ownerless ? QMessageBox::NoIcon : QMessageBox::Critical;
    QMessageBox box(icon, caption, text, QMessageBox::Ok);
    box.exec();
}

void MessageBoxes::ownerless(const QString &text) const
{
    // A box without a caption of the program's own reads "Error" on the desktop, as the system's default.
    m_present(Kind::Ownerless, QStringLiteral("Error"), text);
}

void MessageBoxes::stop(const QString &caption, const QString &text) const
{
    m_present(Kind::Application, caption, text);
}

void MessageBoxes::exception(const QString &text) const
{
    m_present(Kind::Exception, QStringLiteral("Verbarium"), text);
}

void MessageBoxes::errorDialog(const QString &text) const
{
    m_present(Kind::ErrorDialog, QStringLiteral("Error"), text);
}
