#include "platform/MessageBox.h"

#include <QMessageBox>

namespace MessageBoxes {
namespace {

Presenter &presenter()
{
    static Presenter p;
    return p;
}

void show(Kind kind, const QString &caption, const QString &text, QMessageBox::Icon icon)
{
    if (presenter()) {
        presenter()(kind, caption, text);
        return;
    }
    QMessageBox box(icon, caption, text, QMessageBox::Ok);
    box.exec();
}

} // namespace

void setPresenter(Presenter p)
{
    presenter() = std::move(p);
}

void ownerless(const QString &text)
{
    // A box without a caption of the program's own reads "Error" on the desktop, as the system's default.
    show(Kind::Ownerless, QStringLiteral("Error"), text, QMessageBox::NoIcon);
}

void stop(const QString &caption, const QString &text)
{
    show(Kind::Application, caption, text, QMessageBox::Critical);
}

void exception(const QString &text)
{
    show(Kind::Exception, QStringLiteral("Verbarium"), text, QMessageBox::Critical);
}

void errorDialog(const QString &text)
{
    show(Kind::ErrorDialog, QStringLiteral("Error"), text, QMessageBox::Critical);
}

} // namespace MessageBoxes
