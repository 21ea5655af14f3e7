#pragma once

#include <QString>

#include <functional>

// The program's few kinds of message box. Tests replace the presenter so no dialog blocks them.
namespace MessageBoxes {

enum class Kind {
    Ownerless,      // no owner, the system's default caption, OK
    Application,    // the application's box with the given caption and a stop icon
    Exception,      // the framework's error box: caption "Verbarium", error icon, OK
    ErrorDialog,    // the standard error dialog titled "Error"
};

using Presenter = std::function<void(Kind kind, const QString &caption, const QString &text)>;

// Replaces the presenter (tests); an empty presenter restores the real boxes.
void setPresenter(Presenter presenter);

void ownerless(const QString &text);
void stop(const QString &caption, const QString &text);
void exception(const QString &text);
void errorDialog(const QString &text);

} // namespace MessageBoxes
