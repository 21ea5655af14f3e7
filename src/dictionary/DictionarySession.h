#pragma once

#include <QString>
#include <QStringList>

// The database session `Session1`: its name, its folders and the passwords it holds.
// A table asks it for the passwords when it opens and for the folder of its scratch files.
class DictionarySession final
{
public:
    void setSessionName(const QString &name) { m_sessionName = name; }
    QString sessionName() const { return m_sessionName; }

    void setNetFileDir(const QString &dir) { m_netFileDir = dir; }
    QString netFileDir() const { return m_netFileDir; }

    // The engine's scratch files go here.
    void setPrivateDir(const QString &dir) { m_privateDir = dir; }
    QString privateDir() const { return m_privateDir; }

    void setActive(bool active) { m_active = active; }
    bool isActive() const { return m_active; }

    void addPassword(const QString &password);
    void removeAllPasswords() { m_passwords.clear(); }
    QStringList passwords() const { return m_passwords; }

private:
    QString m_sessionName;
    QString m_netFileDir;
    QString m_privateDir;
    QStringList m_passwords;
    bool m_active = false;
};
