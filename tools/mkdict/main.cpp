// verbarium-mkdict: builds the dictionary file data.dat from WordNet 3.0 or from a plain word list.
#include "Pronouncer.h"
#include "WordNetReader.h"

#include "dictionary/DictionaryWriter.h"
#include "platform/AppError.h"
#include "search/EntryIndex.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {

void say(const QString &text)
{
    std::fprintf(stderr, "verbarium-mkdict: %s\n", qPrintable(text));
    std::fflush(stderr);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("verbarium-mkdict"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Builds Verbarium's password-protected dictionary file."));
    parser.addHelpOption();
    const QCommandLineOption wordnetOption(QStringLiteral("wordnet"), QStringLiteral("WordNet 3.0 database folder."),
                                           QStringLiteral("dir"), QStringLiteral("/usr/share/wordnet"));
    const QCommandLineOption listOption(QStringLiteral("from-list"),
                                        QStringLiteral("Build from a text file of \"headword<TAB>entry\" lines instead."),
                                        QStringLiteral("file"));
    const QCommandLineOption quietOption({QStringLiteral("q"), QStringLiteral("quiet")}, QStringLiteral("No progress messages."));
    const QCommandLineOption noPronOption(QStringLiteral("no-pronunciation"),
                                          QStringLiteral("Store no pronunciations (they need espeak-ng's data)."));
    parser.addOptions({wordnetOption, listOption, quietOption, noPronOption});
    parser.addPositionalArgument(QStringLiteral("output"), QStringLiteral("The dictionary file to write (data.dat)."));
    parser.process(app);
    if (parser.positionalArguments().size() != 1) {
        say(QStringLiteral("give exactly one output file; see --help"));
        return 2;
    }
    const QString output = parser.positionalArguments().constFirst();
    const bool quiet = parser.isSet(quietOption);
    QElapsedTimer timer;
    timer.start();
    const auto progress = [quiet, &timer](const QString &text) {
        if (!quiet)
            say(QStringLiteral("%1 s: %2").arg(double(timer.elapsed()) / 1000.0, 0, 'f', 1).arg(text));
    };

    try {
        QList<DictionaryRow> rows;
        qsizetype leftOut = 0;
        qsizetype inflected = 0;
        if (parser.isSet(listOption)) {
            progress(QStringLiteral("reading %1").arg(parser.value(listOption)));
            rows = readWordList(parser.value(listOption), &leftOut);
        } else {
            WordNetReader reader(parser.value(wordnetOption), progress);
            rows = reader.read();
            leftOut = reader.leftOut();
            inflected = reader.inflectedRows();
        }
        if (!parser.isSet(noPronOption)) {
            const Pronouncer pronouncer;
            if (pronouncer.isReady()) {
                progress(QStringLiteral("pronouncing %1 headwords").arg(rows.size()));
                for (DictionaryRow &row : rows)
                    row.pronunciation = pronouncer.pronounce(row.word);
            } else {
                say(QStringLiteral("espeak-ng could not be set up: the dictionary gets no pronunciations"));
            }
        }
        const qsizetype total = rows.size();
        progress(QStringLiteral("writing %1 rows to %2").arg(total).arg(output));
        qint64 indexMs = 0;
        const auto textIndex = [&progress, &timer, &indexMs](sqlite3 *db, const QList<DictionaryRow> &sorted) {
            progress(QStringLiteral("building the text index"));
            const qint64 start = timer.elapsed();
            writeEntryIndex(db, sorted);
            indexMs = timer.elapsed() - start;
        };
        writeDictionary(output, std::move(rows), QStringLiteral("marbol47quen"), [&progress](qsizetype done, qsizetype all) {
            progress(QStringLiteral("%1% written").arg(done * 100 / std::max<qsizetype>(all, 1)));
        }, textIndex);
        progress(QStringLiteral("text index built in %1 s").arg(double(indexMs) / 1000.0, 0, 'f', 1));
        std::printf("%s: %lld rows written (%lld of them irregular forms), %lld left out as longer than 32 characters, "
                    "%.1f s\n",
                    qPrintable(output), static_cast<long long>(total), static_cast<long long>(inflected),
                    static_cast<long long>(leftOut), double(timer.elapsed()) / 1000.0);
    } catch (const AppError &error) {
        say(error.message());
        return 1;
    }
    return 0;
}
