#pragma once

#include <QString>

#include <functional>

// The program's few kinds of message box, shown through a presenter: the real dialogs unless a test
// records them instead.
class MessageBoxes
{
public:
    enum class Kind {
        Ownerless,      // no owner, the system's default caption, OK
        Application,    // the application's box with the given caption and a stop icon
        Exception,      // the framework's error box: caption "Verbarium", error icon, OK
        ErrorDialog,    // the standard error dialog titled "Error"
    };

    using Presenter = std::function<void(Kind kind, const QString &caption, const QString &text)>;

    // The desktop's modal box, waiting for OK.
    static void showDialog(Kind kind, const QString &caption, const QString &text);

    explicit MessageBoxes(Presenter presenter = showDialog) : m_present(std::move(presenter)) { }

    void ownerless(const QString &text) const;
    void stop(const QString &caption, const QString &text) const;
    void exception(const QString &text) const;
    void errorDialog(const QString &text) const;

private:
    Presenter m_present;
};
