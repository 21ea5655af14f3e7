// verbarium-define: "verbarium --define WORD…" without the window's libraries, which would cost more to load
// than the whole lookup. The verbarium command hands "--define" over to it.
#include "define/DefineCommand.h"

#include <QString>
#include <QStringList>

#include <cstring>

int main(int argc, char **argv)
{
    // Called as "verbarium --define WORD…" (argv passes through unchanged) or directly with the words.
    const int first = argc > 1 && std::strcmp(argv[1], "--define") == 0 ? 2 : 1;
    QStringList words;
    for (int i = first; i < argc; ++i)
        words.append(QString::fromLocal8Bit(argv[i]));
    return runDefine(words, commandLineDataFolder() + QStringLiteral("/data.dat"), dictionaryPassword());
}
