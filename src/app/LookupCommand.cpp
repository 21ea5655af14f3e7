#include "app/LookupCommand.h"

#include "platform/SelectionReader.h"
#include "text/LookupText.h"

#include <QEvent>
#include <QStringList>
#include <QTimer>

#include <cstdio>
#include <cstring>

namespace {

LookupCommand failed(const char *message)
{
    std::fprintf(stderr, "%s\n", message);
    LookupCommand command;
    command.asked = true;
    command.exitCode = 1;
    return command;
}

} // namespace

LookupCommand lookupCommandFrom(int argc, char **argv)
{
    LookupCommand command;
    if (argc < 2)
        return command;
    if (std::strcmp(argv[1], "--lookup") == 0) {
        // A phrase may come quoted or as several arguments.
        QStringList words;
        for (int i = 2; i < argc; ++i)
            words.append(QString::fromLocal8Bit(argv[i]));
        command.word = lookupTextOf(words.join(QLatin1Char(' ')));
        if (command.word.isEmpty())
            return failed("Usage: verbarium --lookup WORD: give the word to look up.");
        command.asked = true;
        return command;
    }
    if (std::strcmp(argv[1], "--lookup-selection") != 0)
        return command;

    const SelectionText selection = readPrimarySelection();
    switch (selection.outcome) {
    case SelectionText::Outcome::NoDisplay:
        return failed("No desktop display to read the selection from (neither WAYLAND_DISPLAY nor DISPLAY works).");
    case SelectionText::Outcome::TimedOut:
        return failed("The program that holds the selection did not answer within 300 ms: nothing was looked up.");
    case SelectionText::Outcome::Secret:
        return failed("The selection is marked secret by a password manager: it is not looked up.");
    case SelectionText::Outcome::Text:
        command.word = lookupTextOf(selection.text);
        break;
    case SelectionText::Outcome::NoText:
        break;
    }
    if (command.word.isEmpty())
        return failed("No text is selected: highlight a word, then run verbarium --lookup-selection again.");
    command.asked = true;
    return command;
}

bool LookupPaintReporter::eventFilter(QObject *, QEvent *event)
{
    if (m_armed && event->type() == QEvent::Paint) {
        m_armed = false;
        QTimer::singleShot(0, this, [this] {
            std::printf("painted %s\n", qPrintable(m_word()));
            std::fflush(stdout);
        });
    }
    return false;
}
