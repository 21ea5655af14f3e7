#include "dictionary/DictionarySession.h"

void DictionarySession::addPassword(const QString &password)
{
    // The window adds the same password before every open; keep one copy.
    if (!m_passwords.contains(password))
        m_passwords.append(password);
}
