#include "app/StartupWarmup.h"

#include "dictionary/DictionaryTable.h"

#include <fontconfig/fontconfig.h>

StartupWarmup::StartupWarmup(const QString &dictionaryPath, const QString &password)
    : m_thread([dictionaryPath, password] {
          // The toolkit's font database reads this configuration on the first text it measures.
          FcInit();
          DictionaryTable::prepareEngine(dictionaryPath, password);
      })
{
}

StartupWarmup::~StartupWarmup()
{
    m_thread.join();
}
