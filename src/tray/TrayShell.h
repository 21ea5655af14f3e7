#pragma once

#include "tray/NotifyIconData.h"

class QMenu;

// The notification area: add, modify and remove one icon, each answering whether the shell took it.
class TrayShell
{
public:
    virtual ~TrayShell() = default;
    virtual bool add(const NotifyIconData &data) = 0;
    virtual bool modify(const NotifyIconData &data) = 0;
    virtual bool remove(const NotifyIconData &data) = 0;
    // Whether the desktop shows icons at all just now; a panel may come and go.
    virtual bool hasNotificationArea() const { return true; }
    // The menu of the icon, for a desktop that opens icons' menus itself (none: the component opens its own).
    virtual void setMenu(const NotifyIconData &, QMenu *) { }
};
