#include "app/CommandBinding.h"

#include <QAction>
#include <QScopedValueRollback>

void CommandBinding::bind(QAction *action, std::function<void()> handler, bool checksItself)
{
    new CommandBinding(action, std::move(handler), checksItself);
}

void CommandBinding::setChecked(QAction *action, bool on)
{
    auto *binding = action->findChild<CommandBinding *>(QString(), Qt::FindDirectChildrenOnly);
    if (!binding) {
        action->setChecked(on);
        return;
    }
    const QScopedValueRollback mirroring(binding->m_mirroring, true);
    action->setChecked(on);
}

CommandBinding::CommandBinding(QAction *action, std::function<void()> handler, bool checksItself)
    : QObject(action), m_action(action), m_handler(std::move(handler)), m_checksItself(checksItself)
{
    connect(action, &QAction::triggered, this, &CommandBinding::triggered);
    connect(action, &QAction::toggled, this, &CommandBinding::toggled);
}

void CommandBinding::toggled(bool on)
{
    if (m_running || m_mirroring)
        return;
    // Qt flips the mark of a checkable action before it emits triggered(); a button or menu item flipped
    // through its accessible "Toggle" sets the mark alone and no triggered() follows. Either way the mark
    // goes back to what the handler last made it, and the handler runs: at once when triggered() follows,
    // else from the event loop.
    if (!m_checksItself) {
        const QScopedValueRollback mirroring(m_mirroring, true);
        m_action->setChecked(!on);
    }
    ++m_requests;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_requests > 0) {
                --m_requests;
                run();
            }
        },
        Qt::QueuedConnection);
}

void CommandBinding::triggered()
{
    if (m_requests > 0)
        --m_requests;
    run();
}

void CommandBinding::run()
{
    const QScopedValueRollback running(m_running, true);
    m_handler();
}
