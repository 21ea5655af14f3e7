#pragma once

#include <QString>
#include <QStringList>

// Finds the help file that the program asks for by bare name: in the working folder, then the
// program's folder, then the installed data folder.
class HelpLocator final
{
public:
    static constexpr const char *kHelpFileName = "vrb.hlp";

    HelpLocator(QString workingDir, QString programDir, QString dataDir);
    // The working folder and the program's folder of this process, with the given data folder.
    static HelpLocator forThisProcess(const QString &dataDir);

    QStringList searchPath() const { return m_dirs; }
    // The full path of the first folder's file of that name, or an empty string.
    QString locate(const QString &name = QLatin1String(kHelpFileName)) const;

private:
    QStringList m_dirs;
};
