#include "help/HelpLocator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

HelpLocator::HelpLocator(QString workingDir, QString programDir, QString dataDir)
{
    for (QString *dir : {&workingDir, &programDir, &dataDir}) {
        if (!dir->isEmpty())
            m_dirs.append(*dir);
    }
}

HelpLocator HelpLocator::forThisProcess(const QString &dataDir)
{
    return HelpLocator(QDir::currentPath(), QCoreApplication::applicationDirPath(), dataDir);
}

QString HelpLocator::locate(const QString &name) const
{
    // A bare name only: a name with a folder in it would let the search leave these folders.
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name == QLatin1String("..") || name == QLatin1String("."))
        return {};
    for (const QString &dir : m_dirs) {
        const QFileInfo info(QDir(dir), name);
        if (info.isFile())
            return info.absoluteFilePath();
    }
    return {};
}
