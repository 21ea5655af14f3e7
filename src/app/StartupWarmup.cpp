#include "app/StartupWarmup.h"

#include "dictionary/DictionaryTable.h"

#include <fontconfig/fontconfig.h>

StartupWarmup::StartupWarmup(const QString &dictionaryPath, const QString &password)
    : m_path(dictionaryPath), m_password(password), m_thread([this] {
          // The toolkit's font database reads this configuration on the first text it measures.
          FcInit();
          m_dictionary.reset(DictionaryTable::preopen(m_path, m_password));
      })
{
}

StartupWarmup::~StartupWarmup()
{
    if (m_thread.joinable())
        m_thread.join();
}

sqlite3 *StartupWarmup::takeDictionary(const QString &path, const QString &password)
{
    if (m_thread.joinable())
        m_thread.join();
    if (path != m_path || password != m_password)
        return nullptr;
    return m_dictionary.release();
}
