#pragma once

#include "tray/TrayShell.h"

#include <QList>
#include <QString>

// A notification area that records every call and refuses on request.
class FakeTrayShell final : public TrayShell
{
public:
    struct Call
    {
        QString op;
        NotifyIconData data;
    };

    bool add(const NotifyIconData &data) override { return record("add", data, refuseAdd); }
    bool modify(const NotifyIconData &data) override { return record("modify", data, refuseModify); }
    bool remove(const NotifyIconData &data) override { return record("remove", data, refuseRemove); }

    bool hasNotificationArea() const override { return notificationArea; }
    void setMenu(const NotifyIconData &, QMenu *menu) override { menus.append(menu); }

    QStringList ops() const
    {
        QStringList out;
        for (const Call &c : calls)
            out << c.op;
        return out;
    }

    QList<Call> calls;
    QList<QMenu *> menus; // each menu handed over, in order
    bool refuseAdd = false;
    bool refuseModify = false;
    bool refuseRemove = false;
    bool notificationArea = true;

private:
    bool record(const char *op, const NotifyIconData &data, bool refuse)
    {
        calls.append({QString::fromLatin1(op), data});
        return !refuse;
    }
};
