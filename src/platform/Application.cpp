#include "platform/Application.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace {
Application *s_instance = nullptr;
}

Application::Application(QObject *parent) : QObject(parent)
{
    s_instance = this;
}

Application::~Application()
{
    if (s_instance == this)
        s_instance = nullptr;
}

Application *Application::instance()
{
    return s_instance;
}

void Application::setTitle(const QString &title)
{
    // Kept apart from Qt's display name: that one would be added to every dialog's caption.
    m_title = title;
}

void Application::setMainForm(QWidget *form)
{
    m_form = form;
}

QWidget *Application::mainForm() const
{
    return m_form;
}

void Application::minimize()
{
    m_minimized = true;
    apply();
}

void Application::restore()
{
    m_iconifying = false;
    if (!m_minimized)
        return;
    m_minimized = false;
    apply();
}

void Application::showAppWindow()
{
    m_appWindowShown = true;
    apply();
}

void Application::hideAppWindow()
{
    m_appWindowShown = false;
    apply();
}

void Application::showForm()
{
    m_formVisible = true;
    apply();
}

void Application::hideForm()
{
    m_formVisible = false;
    apply();
}

void Application::bringToFront()
{
    if (m_form && m_form->isVisible() && !m_form->isMinimized()) {
        m_form->raise();
        m_form->activateWindow();
    }
}

void Application::processMessages()
{
    QCoreApplication::processEvents();
}

void Application::terminate()
{
    m_terminated = true;
    emit terminateRequested();
    QCoreApplication::quit();
}

int Application::hookMainWindow(Hook hook)
{
    const int id = m_nextHookId++;
    m_hooks.emplace(id, std::move(hook));
    return id;
}

void Application::unhookMainWindow(int id)
{
    m_hooks.erase(id);
}

void Application::systemCommand(SystemCommand command)
{
    // The window manager's first report on a window iconified as it was mapped may still say normal.
    if (m_iconifying && command == SystemCommand::Restore)
        return;
    if (m_hooks.empty()) {
        // Nobody takes the command over: the window manager has already acted; just keep count.
        m_minimized = command == SystemCommand::Minimize;
        return;
    }
    // A hook may unhook itself (or others) while it runs: iterate over a copy.
    const auto hooks = m_hooks;
    for (const auto &[id, hook] : hooks) {
        if (m_hooks.count(id))
            hook(command);
    }
}

bool Application::eventFilter(QObject *watched, QEvent *event)
{
    // A window manager that had not yet taken the window in when it was iconified ignores that request (only a
    // managed window changes state), and a busy one often has not: once the window is on screen, ask again.
    auto *window = qobject_cast<QWindow *>(watched);
    if (event->type() == QEvent::Expose && window && window->isExposed()) {
        window->removeEventFilter(this);
        if (m_iconifying && m_minimized && m_appWindowShown && m_form && m_form->windowHandle() == window) {
            ++m_applying;
            // The same state again is no request at all: pass through normal to make it one.
            const Qt::WindowStates states = m_form->windowState();
            m_form->setWindowState(states & ~Qt::WindowMinimized);
            m_form->setWindowState(states | Qt::WindowMinimized);
            --m_applying;
        }
    }
    return false;
}

// One place maps the three flags onto what the window manager sees: a window nobody asked for is
// withdrawn; a minimised application with its taskbar entry is iconified; otherwise it is shown.
void Application::apply()
{
    if (!m_form)
        return;
    ++m_applying;
    const bool wanted = m_formVisible && m_appWindowShown;
    if (!m_formVisible || (m_minimized && !m_appWindowShown)) {
        if (m_form->isVisible())
            m_form->hide();
    } else if (m_minimized) {
        if (!m_form->isMinimized() || !m_form->isVisible()) {
            // A window mapped iconified from the first comes up normal under some window managers; one mapped
            // without activation and iconified at once stays iconified.
            const Qt::WindowStates states = m_form->windowState() | Qt::WindowMinimized;
            if (!m_form->isVisible()) {
                m_iconifying = true;
                const bool quiet = m_form->testAttribute(Qt::WA_ShowWithoutActivating);
                m_form->setAttribute(Qt::WA_ShowWithoutActivating);
                m_form->setWindowState(states & ~Qt::WindowMinimized);
                m_form->show();
                m_form->setAttribute(Qt::WA_ShowWithoutActivating, quiet);
                if (QWindow *window = m_form->windowHandle())
                    window->installEventFilter(this);
            }
            m_form->setWindowState(states);
        }
    } else if (wanted) {
        Qt::WindowStates states = m_form->windowState() & ~Qt::WindowMinimized;
        if (!m_form->isVisible() || m_form->isMinimized()) {
            m_form->setWindowState(states);
            m_form->show();
        }
    } else {
        // The form is visible but the application window is hidden: on Linux a window is its own
        // taskbar entry, so keep it on screen; the tray is how the user reaches it otherwise.
        if (!m_form->isVisible()) {
            m_form->setWindowState(m_form->windowState() & ~Qt::WindowMinimized);
            m_form->show();
        }
    }
    --m_applying;
}
