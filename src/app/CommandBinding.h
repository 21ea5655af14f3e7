#pragma once

#include <QObject>

#include <functional>

class QAction;

// Binds one command to its handler so that every way of invoking it runs that handler once: a click, a key,
// a menu item, a toolbar button, or assistive technology flipping the check mark of a button or item.
// The check mark mirrors what the handler did: a change of the mark that neither the handler nor
// setChecked() below made is taken as a request to run the command, undone, and left to the handler.
class CommandBinding final : public QObject
{
    Q_OBJECT
public:
    // checksItself: carrying out the command toggles its mark first, and the handler reads the new mark.
    static void bind(QAction *action, std::function<void()> handler, bool checksItself);
    // Sets the mark of a bound command to a state the program holds elsewhere, without running its handler.
    static void setChecked(QAction *action, bool on);

private:
    CommandBinding(QAction *action, std::function<void()> handler, bool checksItself);
    void triggered();
    void toggled(bool on);
    void run();

    QAction *m_action;
    std::function<void()> m_handler;
    bool m_checksItself;
    bool m_running = false;   // the handler is on the stack: its writes to the mark are its own
    bool m_mirroring = false; // setChecked() is writing the mark
    int m_requests = 0;       // mark changes from outside whose handler run is still due
};
