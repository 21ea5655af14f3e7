#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <map>

class QWidget;

// The application object: what the program's lifecycle expects of the hidden application window
// that carries the taskbar entry. On Linux a window is its own taskbar entry, so the main window
// is on screen only while the form is visible, the application window is shown and, when the
// application is minimised, it is iconified instead.
class Application final : public QObject
{
    Q_OBJECT
public:
    enum class SystemCommand { Minimize, Restore };
    using Hook = std::function<void(SystemCommand)>;

    explicit Application(QObject *parent = nullptr);
    ~Application() override;

    static Application *instance();

    void setTitle(const QString &title);
    QString title() const { return m_title; }

    // The main form whose on-screen state the application object governs.
    void setMainForm(QWidget *form);
    QWidget *mainForm() const;

    void minimize();
    void restore();
    bool isMinimized() const { return m_minimized; }

    // Whether the program has a taskbar entry: hidden, a minimised window is unmapped (it lives in the tray);
    // shown, it is iconified and stays on the taskbar.
    void showAppWindow();
    void hideAppWindow();
    bool isAppWindowShown() const { return m_appWindowShown; }

    // Raises and activates the main form when it is on screen and not minimised.
    void bringToFront();

    // Lets pending events run (QCoreApplication::processEvents).
    void processMessages();

    void terminate();
    bool terminated() const { return m_terminated; }

    // Hooks on the application window's system commands (the window manager's minimise and restore).
    int hookMainWindow(Hook hook);
    void unhookMainWindow(int id);
    bool isHooked(int id) const { return m_hooks.count(id) != 0; }
    // Called by the main form when the window manager asks to minimise or restore it.
    void systemCommand(SystemCommand command);
    // Called by the main form when the window manager reports it iconified.
    void formIconified() { m_iconifying = false; }

    // The form's own visibility, as the framework's Show/Hide set it.
    void showForm();
    void hideForm();
    bool isFormVisible() const { return m_formVisible; }

    // True while the application itself changes the window's state (not the user or the window manager).
    bool isApplyingState() const { return m_applying > 0; }

signals:
    void terminateRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void apply();

    QString m_title;
    QPointer<QWidget> m_form;
    bool m_minimized = false;
    bool m_appWindowShown = true;
    bool m_formVisible = false;
    bool m_terminated = false;
    bool m_iconifying = false; // mapped and iconified at once: the window manager may report it normal first
    int m_applying = 0;
    int m_nextHookId = 1;
    std::map<int, Hook> m_hooks;
};
