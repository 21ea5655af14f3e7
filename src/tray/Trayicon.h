#pragma once

#include "platform/AppError.h"
#include "tray/TrayShell.h"

#include <QFlags>
#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

class Application;
class ImageList;
class QMenu;

// The shell's refusal to add or remove the icon.
class EOutOfResources final : public AppError
{
public:
    using AppError::AppError;
};

// The mouse action on which the icon restores the application or shows its menu.
enum TTrayIconMessage : quint8 {
    imClick,
    imDoubleClick,
    imMouseDown,
    imMouseUp,
    imLeftClickUp,
    imLeftDoubleClick,
    imRightClickUp,
    imRightDoubleClick,
    imNone,
};

enum TMouseButton : quint8 { mbLeft, mbRight, mbMiddle };

enum TShiftStateFlag : quint8 {
    ssShift = 0x01,
    ssAlt = 0x02,
    ssCtrl = 0x04,
    ssLeft = 0x08,
    ssRight = 0x10,
    ssMiddle = 0x20,
    ssDouble = 0x40,
};
Q_DECLARE_FLAGS(TShiftState, TShiftStateFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TShiftState)

// What a form stores only when a property differs from it (the values at creation differ).
struct TTrayIconStreamDefaults
{
    bool Visible = false;
    const char *Hint = "";
    bool Hide = false;
    TTrayIconMessage RestoreOn = imClick;
    TTrayIconMessage PopupMenuOn = imClick;
    int IconIndex = 0;
    int AnimateInterval = 1000;
    bool Animate = false;
};

// The icon of the application in the desktop's notification area: tip, animation over an image
// list, mouse events, restore or menu on a chosen mouse action, and hiding the taskbar entry on
// minimise through a hook on the application window.
class TTrayIcon : public QObject
{
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(QObject *Sender)>;
    using TMouseMoveEvent = std::function<void(QObject *Sender, TShiftState Shift, int X, int Y)>;
    using TMouseEvent = std::function<void(QObject *Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;

    static constexpr TTrayIconStreamDefaults StreamDefaults{};
    static constexpr int MaxHint = 63;
    static const QString CannotCreateIcon; // string table entry 0
    static const QString CannotRemoveIcon; // string table entry 5

    // The application is the one the icon minimises, restores and hooks (none: those steps do nothing to it).
    // With no shell given the component uses the desktop's notification area; a given shell is not owned.
    TTrayIcon(QObject *Owner, Application *app, TrayShell *shell = nullptr);
    ~TTrayIcon() override;

    // Form loading: between BeginLoad() and Loaded() the writers behave as while streaming.
    void BeginLoad() { m_loading = true; }
    virtual void Loaded();
    enum TOperation { opInsert, opRemove };
    virtual void Notification(QObject *AComponent, TOperation Operation);

    bool Visible() const { return m_visible; }
    virtual void SetVisible(bool Value);
    QString Hint() const { return m_hint; }
    void SetHint(const QString &Value);
    bool Hide() const { return m_hide; }
    void SetHide(bool Value) { m_hide = Value; }
    TTrayIconMessage RestoreOn() const { return m_restoreOn; }
    void SetRestoreOn(TTrayIconMessage Value) { m_restoreOn = Value; }
    TTrayIconMessage PopupMenuOn() const { return m_popupMenuOn; }
    void SetPopupMenuOn(TTrayIconMessage Value);
    QMenu *PopupMenu() const { return m_popupMenu; }
    void SetPopupMenu(QMenu *Value);
    ImageList *Icons() const { return m_icons; }
    void SetIcons(ImageList *Value);
    int IconIndex() const { return m_iconIndex; }
    virtual void SetIconIndex(int Value);
    bool GetAnimate() const { return m_animate; }
    void SetAnimate(bool Value);
    int GetAnimateInterval() const { return m_animateTimer.interval(); }
    void SetAnimateInterval(int Value) { m_animateTimer.setInterval(Value); }
    TrayWindow *GetHandle() const { return m_window; }
    // True while the icon is in a notification area the desktop shows, so that the user can reach the program
    // through it; asked anew each time, as a panel may come and go.
    bool InNotificationArea() const { return m_visible && m_shell->hasNotificationArea(); }

    // The icon currently handed to the shell, and the record that carries it.
    QIcon CurrentIcon() const { return m_icon; }
    const NotifyIconData &IconData() const { return m_iconData; }
    bool AnimationRunning() const { return m_animateTimer.isActive(); }

    virtual void Update();
    virtual void SetDefaultIcon();
    void EndSession();
    virtual void Minimize();
    virtual void Restore();
    virtual void ShowMenu();

    static TShiftState ShiftState();
    static TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers);

    virtual void DoMessage(TMessage &Message);
    bool ApplicationHookProc(TMessage &Message);
    // The animation timer's tick.
    virtual void DoOnAnimate(QObject *Sender);

    // Where the cursor position and the keyboard state come from (tests replace them).
    void setInputSource(std::function<QPoint()> cursorPos, std::function<Qt::KeyboardModifiers()> keyboard);

    // The framework's general-purpose integer; the clipboard watcher keeps its frame counter here.
    int Tag = 0;

    TNotifyEvent OnMinimize;
    TNotifyEvent OnRestore;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnAnimate;

protected:
    virtual void DoClick();
    virtual void DoDblClick();
    virtual void DoMouseMove(TShiftState Shift, int X, int Y);
    virtual void DoMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void DoMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);

private:
    void handMenuToShell();
    void installHook();
    void removeHook();
    void setIconFromList(int index);
    TShiftState currentShift() const;
    QPoint cursorPos() const;

    NotifyIconData m_iconData;
    QIcon m_icon;
    ImageList *m_icons = nullptr;
    QMenu *m_popupMenu = nullptr;
    QMetaObject::Connection m_iconsGone;
    QMetaObject::Connection m_menuGone;
    QTimer m_animateTimer;
    QString m_hint;
    int m_iconIndex = 0;
    bool m_visible = false;
    bool m_hide = true;
    bool m_animate = false;
    bool m_loading = false;
    TTrayIconMessage m_restoreOn = imDoubleClick;
    TTrayIconMessage m_popupMenuOn = imNone;
    int m_hookId = 0;

    Application *m_app;
    TrayShell *m_shell = nullptr;
    std::unique_ptr<TrayShell> m_ownShell;
    TrayWindow *m_window = nullptr;
    std::function<QPoint()> m_cursorPos;
    std::function<Qt::KeyboardModifiers()> m_keyboard;
};
