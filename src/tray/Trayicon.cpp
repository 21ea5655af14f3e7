#include "tray/Trayicon.h"

#include "platform/Application.h"
#include "platform/ImageList.h"
#include "tray/SystemTrayShell.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QWidget>

const QString TTrayIcon::CannotCreateIcon = QStringLiteral("Cannot Create System Shell Notification Icon");
const QString TTrayIcon::CannotRemoveIcon = QStringLiteral("Cannot Remove System Shell Notification Icon");

TTrayIcon::TTrayIcon(QObject *Owner, Application *app, TrayShell *shell) : QObject(Owner), m_app(app), m_shell(shell)
{
    if (!m_shell) {
        m_ownShell = std::make_unique<SystemTrayShell>();
        m_shell = m_ownShell.get();
    }
    m_icon = QGuiApplication::windowIcon();
    m_animateTimer.setInterval(1000);
    // The timer runs the component's own step; OnAnimate is only a published copy of it.
    connect(&m_animateTimer, &QTimer::timeout, this, [this] { DoOnAnimate(this); });
    OnAnimate = [this](QObject *Sender) { DoOnAnimate(Sender); };

    m_window = new TrayWindow([this](TMessage &Message) { DoMessage(Message); }, this);
    m_iconData.cbSize = NotifyIconData::ShellSize;
    m_iconData.hWnd = m_window;
    m_iconData.uID = quintptr(this);
    m_iconData.hIcon = m_icon;
    m_iconData.uFlags = Win::NIF_MESSAGE | Win::NIF_ICON;
    m_iconData.uCallbackMessage = Win::WM_USER + 1;
    Update();
}

TTrayIcon::~TTrayIcon()
{
    // Removed whether shown or not: an icon the shell does not know is simply refused.
    m_shell->remove(m_iconData);
    removeHook();
}

void TTrayIcon::Loaded()
{
    // Only now are Icons, IconIndex and Animate all known.
    m_loading = false;
    if (m_icons) {
        if (m_animate)
            m_animateTimer.start();
        else
            m_animateTimer.stop();
        setIconFromList(m_iconIndex);
    } else {
        m_animate = false;
        m_icon = QGuiApplication::windowIcon();
    }
    Update();
}

void TTrayIcon::Notification(QObject *AComponent, TOperation Operation)
{
    if (Operation != opRemove || !AComponent)
        return;
    if (AComponent == m_icons) {
        disconnect(m_iconsGone);
        m_icons = nullptr;
    } else if (AComponent == m_popupMenu) {
        disconnect(m_menuGone);
        m_popupMenu = nullptr;
        handMenuToShell();
    }
}

void TTrayIcon::SetVisible(bool Value)
{
    // Adding twice would be refused by the shell and would hook twice; removing twice likewise.
    if (Value == m_visible)
        return;
    if (Value) {
        if (!m_shell->add(m_iconData))
            throw EOutOfResources(CannotCreateIcon);
        m_visible = true;
        m_hide = true;
        installHook();
        handMenuToShell();
    } else {
        if (!m_shell->remove(m_iconData))
            throw EOutOfResources(CannotRemoveIcon);
        m_visible = false;
        m_hide = false;
        removeHook();
    }
}

void TTrayIcon::SetHint(const QString &Value)
{
    if (Value == m_hint || Value.size() > MaxHint)
        return;
    m_hint = Value;
    m_iconData.szTip = Value.left(NotifyIconData::MaxTip);
    if (Value.isEmpty())
        m_iconData.uFlags &= ~Win::NIF_TIP;
    else
        m_iconData.uFlags |= Win::NIF_TIP;
    Update();
}

void TTrayIcon::SetPopupMenu(QMenu *Value)
{
    if (Value == m_popupMenu)
        return;
    disconnect(m_menuGone);
    m_popupMenu = Value;
    if (Value)
        m_menuGone = connect(Value, &QObject::destroyed, this, [this](QObject *gone) { Notification(gone, opRemove); });
    handMenuToShell();
}

void TTrayIcon::SetPopupMenuOn(TTrayIconMessage Value)
{
    m_popupMenuOn = Value;
    handMenuToShell();
}

// A desktop that opens icons' menus itself gets the menu the mouse is meant to open; elsewhere ShowMenu opens it.
void TTrayIcon::handMenuToShell()
{
    if (m_visible)
        m_shell->setMenu(m_iconData, m_popupMenuOn == imNone ? nullptr : m_popupMenu);
}

void TTrayIcon::SetIcons(ImageList *Value)
{
    if (Value == m_icons)
        return;
    disconnect(m_iconsGone);
    m_icons = Value;
    if (Value)
        m_iconsGone = connect(Value, &QObject::destroyed, this, [this](QObject *gone) { Notification(gone, opRemove); });
}

void TTrayIcon::SetIconIndex(int Value)
{
    m_iconIndex = Value;
    if (m_icons)
        setIconFromList(Value);
    Update();
}

void TTrayIcon::SetAnimate(bool Value)
{
    if (m_icons || m_loading)
        m_animate = Value;
    if (m_icons) {
        if (Value)
            m_animateTimer.start();
        else
            m_animateTimer.stop();
    }
}

void TTrayIcon::Update()
{
    m_iconData.hIcon = m_icon;
    if (m_visible)
        m_shell->modify(m_iconData);
}

void TTrayIcon::SetDefaultIcon()
{
    m_icon = QGuiApplication::windowIcon();
    Update();
}

void TTrayIcon::EndSession()
{
    m_shell->remove(m_iconData);
}

void TTrayIcon::Minimize()
{
    if (m_app) {
        m_app->minimize();
        // Without an icon to come back through, the taskbar entry is the only way back: it stays.
        if (InNotificationArea())
            m_app->hideAppWindow();
    }
    if (OnMinimize)
        OnMinimize(this);
}

void TTrayIcon::Restore()
{
    if (m_app) {
        m_app->restore();
        m_app->showAppWindow();
        m_app->bringToFront();
    }
    if (OnRestore)
        OnRestore(this);
}

void TTrayIcon::ShowMenu()
{
    const QPoint pos = cursorPos();
    // The active window comes forward so the menu gets the keyboard and closes on a click elsewhere.
    if (QWidget *active = QApplication::activeWindow()) {
        active->winId();
        active->activateWindow();
    }
    if (m_popupMenu)
        m_popupMenu->popup(pos);
}

TShiftState TTrayIcon::ShiftState()
{
    return ShiftStateOf(QGuiApplication::queryKeyboardModifiers());
}

TShiftState TTrayIcon::ShiftStateOf(Qt::KeyboardModifiers modifiers)
{
    TShiftState state;
    if (modifiers & Qt::ShiftModifier)
        state |= ssShift;
    if (modifiers & Qt::ControlModifier)
        state |= ssCtrl;
    if (modifiers & Qt::AltModifier)
        state |= ssAlt;
    return state;
}

void TTrayIcon::DoMessage(TMessage &Message)
{
    // Every message not answered below is answered 0; no default handling runs.
    Message.Result = 0;
    switch (Message.Msg) {
    case Win::WM_QUERYENDSESSION:
        Message.Result = 1;
        return;
    case Win::WM_ENDSESSION:
        // Only when the session really ends: a cancelled logout must not leave the program iconless.
        if (Message.WParam != 0)
            EndSession();
        return;
    default:
        break;
    }
    if (Message.Msg != m_iconData.uCallbackMessage)
        return;

    // The button-specific choices, after the general step of the same message.
    const auto actOn = [this](TTrayIconMessage choice) {
        if (m_restoreOn == choice)
            Restore();
        if (m_popupMenuOn == choice)
            ShowMenu();
    };
    switch (quint32(Message.LParam)) {
    case Win::WM_MOUSEMOVE:
        // Moves are reported only to a component that listens for clicks, as it always was.
        if (OnClick) {
            const QPoint p = cursorPos();
            DoMouseMove(currentShift(), p.x(), p.y());
        }
        break;
    case Win::WM_LBUTTONDOWN: {
        const QPoint p = cursorPos();
        DoMouseDown(mbLeft, currentShift() | ssLeft, p.x(), p.y());
        break;
    }
    case Win::WM_LBUTTONUP: {
        // The click step, and with it the imClick choice, needs an OnClick handler.
        if (OnClick)
            DoClick();
        const QPoint p = cursorPos();
        DoMouseUp(mbLeft, currentShift() | ssLeft, p.x(), p.y());
        actOn(imLeftClickUp);
        break;
    }
    case Win::WM_LBUTTONDBLCLK:
        DoDblClick();
        actOn(imLeftDoubleClick);
        break;
    case Win::WM_RBUTTONDOWN: {
        const QPoint p = cursorPos();
        DoMouseDown(mbRight, currentShift() | ssRight, p.x(), p.y());
        break;
    }
    case Win::WM_RBUTTONUP: {
        const QPoint p = cursorPos();
        DoMouseUp(mbRight, currentShift() | ssRight, p.x(), p.y());
        actOn(imRightClickUp);
        break;
    }
    case Win::WM_RBUTTONDBLCLK:
        DoDblClick();
        actOn(imRightDoubleClick);
        break;
    case Win::WM_MBUTTONDOWN: {
        const QPoint p = cursorPos();
        DoMouseDown(mbMiddle, currentShift() | ssMiddle, p.x(), p.y());
        break;
    }
    case Win::WM_MBUTTONUP: {
        const QPoint p = cursorPos();
        DoMouseUp(mbMiddle, currentShift() | ssMiddle, p.x(), p.y());
        break;
    }
    case Win::WM_MBUTTONDBLCLK:
        DoDblClick();
        break;
    default:
        break;
    }
}

bool TTrayIcon::ApplicationHookProc(TMessage &Message)
{
    if (Message.Msg == Win::WM_SYSCOMMAND) {
        if (Message.WParam == Win::SC_MINIMIZE)
            Minimize();
        else if (Message.WParam == Win::SC_RESTORE)
            Restore();
    }
    // The application goes on with its own handling of the command.
    return false;
}

void TTrayIcon::DoClick()
{
    if (m_restoreOn == imClick)
        Restore();
    if (m_popupMenuOn == imClick)
        ShowMenu();
    if (OnClick)
        OnClick(this);
}

void TTrayIcon::DoDblClick()
{
    if (m_restoreOn == imDoubleClick)
        Restore();
    if (m_popupMenuOn == imDoubleClick)
        ShowMenu();
    if (OnDblClick)
        OnDblClick(this);
}

void TTrayIcon::DoMouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TTrayIcon::DoMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (m_restoreOn == imMouseDown)
        Restore();
    if (m_popupMenuOn == imMouseDown)
        ShowMenu();
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TTrayIcon::DoMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (m_restoreOn == imMouseUp)
        Restore();
    if (m_popupMenuOn == imMouseUp)
        ShowMenu();
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

void TTrayIcon::DoOnAnimate(QObject *)
{
    // Also wraps an index left past the end by SetIconIndex or a shorter list.
    if (!m_icons || m_icons->count() == 0)
        return;
    m_iconIndex = m_iconIndex >= m_icons->count() - 1 ? 0 : m_iconIndex + 1;
    SetIconIndex(m_iconIndex);
    Update();
}

void TTrayIcon::setInputSource(std::function<QPoint()> cursorPos, std::function<Qt::KeyboardModifiers()> keyboard)
{
    m_cursorPos = std::move(cursorPos);
    m_keyboard = std::move(keyboard);
}

void TTrayIcon::installHook()
{
    if (!m_app || m_hookId != 0)
        return;
    // The application object reports system commands; the component reads them as WM_SYSCOMMAND.
    m_hookId = m_app->hookMainWindow([this](Application::SystemCommand command) {
        TMessage message{Win::WM_SYSCOMMAND,
                         command == Application::SystemCommand::Minimize ? Win::SC_MINIMIZE : Win::SC_RESTORE, 0, 0};
        ApplicationHookProc(message);
    });
}

void TTrayIcon::removeHook()
{
    if (m_hookId == 0)
        return;
    if (m_app)
        m_app->unhookMainWindow(m_hookId);
    m_hookId = 0;
}

void TTrayIcon::setIconFromList(int index)
{
    // An index outside the list keeps the icon shown rather than blanking the tray.
    const QIcon image = m_icons->icon(index);
    if (!image.isNull())
        m_icon = image;
}

TShiftState TTrayIcon::currentShift() const
{
    return m_keyboard ? ShiftStateOf(m_keyboard()) : ShiftState();
}

QPoint TTrayIcon::cursorPos() const
{
    return m_cursorPos ? m_cursorPos() : QCursor::pos();
}
