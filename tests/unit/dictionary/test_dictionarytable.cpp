#include "dictionary/DictionarySession.h"
#include "dictionary/DictionaryTable.h"
#include "dictionary/DictionaryWriter.h"
#include "dictionary/HeadwordOrder.h"
#include "dictionary/SqlCipher.h"
#include "platform/AppError.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>
#include <utility>

#include <sys/stat.h>

namespace {

const QString kPassword = QStringLiteral("marbol47quen");

QList<DictionaryRow> sampleRows()
{
    // Given out of order: the writer sorts.
    return {
        {QStringLiteral("zebra"), QStringLiteral("<p>a striped animal</p>")},
        {QStringLiteral("apple"), QStringLiteral("<p>a fruit</p>")},
        {QStringLiteral("Paris"), QStringLiteral("<p>a city</p>")},
        {QStringLiteral("paris"), QStringLiteral("<p>plaster</p>")},
        {QStringLiteral("banana"), QString()},
        {QStringLiteral("hot dog"), QStringLiteral("<p>a sausage</p>")},
        {QString(32, QLatin1Char('m')), QStringLiteral("<p>long</p>")},
    };
}
// Index order of sampleRows().
const QStringList kOrder = {QStringLiteral("apple"), QStringLiteral("banana"), QStringLiteral("hot dog"),
                            QString(32, QLatin1Char('m')), QStringLiteral("Paris"), QStringLiteral("paris"),
                            QStringLiteral("zebra")};

QByteArray fileHash(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1);
}

// Writes a database by hand, for files the writer would never produce.
void writeRaw(const QString &path, const QString &password, const QList<const char *> &statements)
{
    sqlcipher::Database db;
    QCOMPARE(sqlcipher::openDatabase(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, db), SQLITE_OK);
    QCOMPARE(sqlcipher::applyKey(db.get(), password), SQLITE_OK);
    QCOMPARE(sqlcipher::registerHeadwordCollation(db.get()), SQLITE_OK);
    for (const char *sql : statements)
        QVERIFY2(sqlcipher::exec(db.get(), sql) == SQLITE_OK, sql);
}

} // namespace

class TestDictionaryTable final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void openStandsOnFirstRowWithPasswordGivenBeforeOpen();
    void findNearest_data();
    void findNearest();
    void findNearestAgreesWithLinearScan_data();
    void findNearestAgreesWithLinearScan();
    void nextAndPriorStopAtTheEnds();
    void moveToFollowsTheWordList();
    void entriesAreFetchedByRow();
    void pronunciationsAreOptional();
    void closeRemovesPasswordsAndResets();
    void emptyTableStandsOnNoRow();
    void openFailures_data();
    void openFailures();
    void triesEachPasswordOfTheSession();
    void unreadableFileSaysWhy();
    void damagedEntrySaysSo();
    void takesAHandleOpenedAhead();
    void neverWritesTheFile();
    void writerRejectsBadRowsAndReplacesWhole();
    void openReadsTheFirstScreenful();
    void everyFurtherStepLoadsTheRest_data();
    void everyFurtherStepLoadsTheRest();
    void otherNumberingIsReadWholeAtOpen();
    void gapsInTheNumberingCorrectTheCount();
    void disorderPastTheFirstScreenIsSorted();
    void findHeadwordExactElseIgnoringCase();
    void realDictionary();

private:
    // Opens "data.dat" from the working folder the way the window does.
    std::unique_ptr<DictionaryTable> makeTable();
    QString dataPath() const { return m_dir->filePath(QStringLiteral("data.dat")); }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
    DictionarySession m_session;
};

void TestDictionaryTable::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    m_session = DictionarySession();
    m_session.setSessionName(QStringLiteral("Session1_2"));
    m_session.setPrivateDir(m_dir->path());
    m_session.setNetFileDir(m_dir->path());
    m_session.setActive(true);
}

void TestDictionaryTable::cleanup()
{
    QDir::setCurrent(m_previousDir);
    m_dir.reset();
}

std::unique_ptr<DictionaryTable> TestDictionaryTable::makeTable()
{
    auto table = std::make_unique<DictionaryTable>(&m_session);
    table->setTableName(QStringLiteral("data.dat"));
    connect(table.get(), &DictionaryTable::beforeOpen, this, [this] { m_session.addPassword(kPassword); });
    connect(table.get(), &DictionaryTable::afterClose, this, [this] { m_session.removeAllPasswords(); });
    return table;
}

void TestDictionaryTable::openStandsOnFirstRowWithPasswordGivenBeforeOpen()
{
    writeDictionary(dataPath(), sampleRows());
    auto table = makeTable();
    QSignalSpy scrolls(table.get(), &DictionaryTable::afterScroll);
    QSignalSpy changes(table.get(), &DictionaryTable::dataChanged);
    QVERIFY(!table->isOpen());
    QCOMPARE(table->recNo(), 0);
    QVERIFY(m_session.passwords().isEmpty());

    table->open();
    QVERIFY(table->isOpen());
    QCOMPARE(m_session.passwords(), QStringList{kPassword});
    QCOMPARE(table->recordCount(), int(kOrder.size()));
    QCOMPARE(table->currentRow(), 0);
    QCOMPARE(table->recNo(), 1);
    QCOMPARE(table->currentHeadword(), QStringLiteral("apple"));
    QVERIFY(table->bof());
    QVERIFY(!table->eof());
    QCOMPARE(scrolls.count(), 0);
    QCOMPARE(changes.count(), 1);
    for (int row = 0; row < kOrder.size(); ++row)
        QCOMPARE(table->headwordAt(row), kOrder[row]);
    QCOMPARE(table->headwordAt(-1), QString());
    QCOMPARE(table->headwordAt(int(kOrder.size())), QString());

    // Opening again changes nothing.
    table->open();
    QCOMPARE(changes.count(), 1);
}

void TestDictionaryTable::findNearest_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("exact") << "banana" << "banana";
    QTest::newRow("prefix") << "ban" << "banana";
    QTest::newRow("case-insensitive") << "BANANA" << "banana";
    QTest::newRow("between two headwords") << "bb" << "hot dog";
    // Case twins: any spelling finds the first of them.
    QTest::newRow("lower case finds first twin") << "paris" << "Paris";
    QTest::newRow("capitalised finds first twin") << "Paris" << "Paris";
    QTest::newRow("upper case finds first twin") << "PARIS" << "Paris";
    QTest::newRow("prefix finds first twin") << "par" << "Paris";
    QTest::newRow("past the twins") << "parisa" << "zebra";
    QTest::newRow("after every headword") << "zzzz" << "zebra";
    QTest::newRow("before every headword") << "0" << "apple";
    QTest::newRow("empty text") << "" << "apple";
    QTest::newRow("no trimming") << " zebra" << "apple";
    QTest::newRow("multi-word") << "hot d" << "hot dog";
    QTest::newRow("33 characters cut to 32") << QString(33, QLatin1Char('m')) << QString(32, QLatin1Char('m'));
    QTest::newRow("longer text cut to 32") << QString(32, QLatin1Char('m')) + "zzzz" << QString(32, QLatin1Char('m'));
}

void TestDictionaryTable::findNearest()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    writeDictionary(dataPath(), sampleRows());
    auto table = makeTable();
    table->open();
    table->next(); // leave the first row so that every case moves
    QSignalSpy scrolls(table.get(), &DictionaryTable::afterScroll);

    table->findNearest(text);
    QCOMPARE(table->currentHeadword(), expected);
    QCOMPARE(table->recNo(), int(kOrder.indexOf(expected)) + 1);
    QVERIFY(!table->bof());
    QVERIFY(!table->eof());
    QCOMPARE(scrolls.count(), 0);
}

void TestDictionaryTable::findNearestAgreesWithLinearScan_data()
{
    // Headwords are kept as Latin-1 until one needs more; the last set switches in the middle of the scan.
    QTest::addColumn<QString>("alphabet");
    QTest::newRow("ASCII") << QStringLiteral("aAbBcC -'");
    QTest::newRow("Latin-1") << QStringLiteral("aA\u00e9\u00c9\u00df\u00ff -");
    QTest::newRow("beyond Latin-1") << QStringLiteral("aA\u00e9\u00c9\u03c3\u03a3 -");
}

void TestDictionaryTable::findNearestAgreesWithLinearScan()
{
    // Many near-identical words: the stored index and the in-memory search must agree exactly.
    QFETCH(QString, alphabet);
    QRandomGenerator random(11);
    QList<DictionaryRow> rows;
    QSet<QString> seen;
    while (rows.size() < 2000) {
        QString word;
        for (int n = 1 + int(random.bounded(6)); n > 0; --n)
            word += alphabet[int(random.bounded(alphabet.size()))];
        if (!seen.contains(word)) {
            seen.insert(word);
            rows.append({word, word});
        }
    }
    writeDictionary(dataPath(), rows);
    auto table = makeTable();
    table->open();
    QCOMPARE(table->recordCount(), 2000);
    for (int row = 1; row < table->recordCount(); ++row)
        QVERIFY(compareHeadwords(table->headwordAt(row - 1), table->headwordAt(row)) < 0);

    for (int probe = 0; probe < 500; ++probe) {
        QString key;
        for (int n = int(random.bounded(7)); n > 0; --n)
            key += alphabet[int(random.bounded(alphabet.size()))];
        int expected = table->recordCount() - 1;
        for (int row = 0; row < table->recordCount(); ++row) {
            if (compareHeadwordsIgnoringCase(table->headwordAt(row), key) >= 0) {
                expected = row;
                break;
            }
        }
        table->findNearest(key);
        QCOMPARE(table->currentRow(), expected);
        // Never behind a case twin of the key.
        if (expected > 0)
            QVERIFY(compareHeadwordsIgnoringCase(table->headwordAt(expected - 1), key) < 0);
        // The entry belongs to the headword: row ids survived the sort.
        QCOMPARE(table->currentEntry(), table->currentHeadword());
    }
}

void TestDictionaryTable::nextAndPriorStopAtTheEnds()
{
    writeDictionary(dataPath(), sampleRows());
    auto table = makeTable();
    table->open();
    QSignalSpy scrolls(table.get(), &DictionaryTable::afterScroll);
    QSignalSpy changes(table.get(), &DictionaryTable::dataChanged);

    table->prior(); // at the first row: nothing moves, but the attempt sets bof
    QCOMPARE(table->currentRow(), 0);
    QVERIFY(table->bof());
    QCOMPARE(scrolls.count(), 1);

    table->next();
    QCOMPARE(table->currentRow(), 1);
    QVERIFY(!table->bof());
    QVERIFY(!table->eof());
    QCOMPARE(scrolls.count(), 2);
    QCOMPARE(changes.count(), 1);

    table->findNearest(QStringLiteral("zebra"));
    QVERIFY(!table->eof());
    scrolls.clear();
    table->next();
    QCOMPARE(table->currentHeadword(), QStringLiteral("zebra"));
    QVERIFY(table->eof());
    QCOMPARE(scrolls.count(), 1);
    table->next();
    QCOMPARE(table->recNo(), int(kOrder.size()));
    QCOMPARE(scrolls.count(), 2);

    table->prior();
    QCOMPARE(table->currentHeadword(), QStringLiteral("paris"));
    QVERIFY(!table->eof());
}

void TestDictionaryTable::moveToFollowsTheWordList()
{
    writeDictionary(dataPath(), sampleRows());
    auto table = makeTable();
    table->open();
    QSignalSpy scrolls(table.get(), &DictionaryTable::afterScroll);
    QSignalSpy changes(table.get(), &DictionaryTable::dataChanged);

    table->moveTo(4);
    QCOMPARE(table->currentHeadword(), QStringLiteral("Paris"));
    QCOMPARE(table->recNo(), 5);
    QVERIFY(!table->bof());
    QCOMPARE(scrolls.count(), 1);
    QCOMPARE(changes.count(), 1);

    for (int bad : {-1, int(kOrder.size()), 1000}) {
        table->moveTo(bad);
        QCOMPARE(table->currentRow(), 4);
    }
    QCOMPARE(scrolls.count(), 1);
}

void TestDictionaryTable::entriesAreFetchedByRow()
{
    writeDictionary(dataPath(), sampleRows());
    auto table = makeTable();
    table->open();
    QCOMPARE(table->currentEntry(), QStringLiteral("<p>a fruit</p>"));
    table->next();
    QCOMPARE(table->currentEntry(), QString()); // an empty entry is allowed
    table->findNearest(QStringLiteral("Paris"));
    QCOMPARE(table->currentEntry(), QStringLiteral("<p>a city</p>"));
    table->next();
    QCOMPARE(table->currentEntry(), QStringLiteral("<p>plaster</p>"));
    QCOMPARE(table->currentEntry(), QStringLiteral("<p>plaster</p>"));
}

void TestDictionaryTable::closeRemovesPasswordsAndResets()
{
    writeDictionary(dataPath(), sampleRows());
    auto table = makeTable();
    table->open();
    table->next();
    QSignalSpy closes(table.get(), &DictionaryTable::afterClose);
    QSignalSpy changes(table.get(), &DictionaryTable::dataChanged);

    table->close();
    QVERIFY(!table->isOpen());
    QCOMPARE(closes.count(), 1);
    QVERIFY(changes.count() >= 1);
    QVERIFY(m_session.passwords().isEmpty());
    QCOMPARE(table->currentRow(), -1);
    QCOMPARE(table->recNo(), 0);
    QCOMPARE(table->recordCount(), 0);
    QCOMPARE(table->currentHeadword(), QString());
    QCOMPARE(table->currentEntry(), QString());
    table->next();
    table->findNearest(QStringLiteral("a"));
    QCOMPARE(table->currentRow(), -1);

    table->close();
    QCOMPARE(closes.count(), 1);

    // The password is given again on the next open, and the destructor closes.
    table->open();
    QCOMPARE(table->currentHeadword(), QStringLiteral("apple"));
    table.reset();
    QVERIFY(m_session.passwords().isEmpty());
}

void TestDictionaryTable::emptyTableStandsOnNoRow()
{
    writeDictionary(dataPath(), {});
    auto table = makeTable();
    QSignalSpy scrolls(table.get(), &DictionaryTable::afterScroll);
    table->open();
    QVERIFY(table->isOpen());
    QCOMPARE(table->recordCount(), 0);
    QCOMPARE(table->currentRow(), -1);
    QCOMPARE(table->recNo(), 0);
    QVERIFY(table->bof());
    QVERIFY(table->eof());
    table->findNearest(QStringLiteral("anything"));
    table->next();
    table->prior();
    table->moveTo(0);
    QCOMPARE(table->currentRow(), -1);
    QCOMPARE(table->currentHeadword(), QString());
    QCOMPARE(table->currentEntry(), QString());
    QVERIFY(table->bof());
    QVERIFY(table->eof());
}

void TestDictionaryTable::openFailures_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("engineMessage");

    QTest::newRow("missing file") << "missing" << "unable to open database file";
    QTest::newRow("wrong password") << "password" << "file is encrypted or is not a database";
    QTest::newRow("unencrypted file") << "plain" << "file is encrypted or is not a database";
    QTest::newRow("not a database") << "text" << "file is encrypted or is not a database";
    QTest::newRow("empty file") << "empty" << "no such table: Dictionary";
    QTest::newRow("no table") << "notable" << "no such table: Dictionary";
    QTest::newRow("no WordDef field") << "nofield" << "no such column: WordDef";
    QTest::newRow("no index") << "noindex" << "no such index: IndexWordName";
    QTest::newRow("index in another order") << "order" << "the index IndexWordName is out of order";
}

void TestDictionaryTable::openFailures()
{
    QFETCH(QString, kind);
    QFETCH(QString, engineMessage);
    const QString path = dataPath();
    if (kind == QLatin1String("password")) {
        writeDictionary(path, sampleRows(), QStringLiteral("another"));
    } else if (kind == QLatin1String("plain")) {
        writeDictionary(path, sampleRows(), QString());
    } else if (kind == QLatin1String("text") || kind == QLatin1String("empty")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (kind == QLatin1String("text"))
            file.write(QByteArray("apple\ta fruit\n").repeated(200));
    } else if (kind == QLatin1String("notable")) {
        writeRaw(path, kPassword, {"CREATE TABLE Words (WordName TEXT, WordDef TEXT)"});
    } else if (kind == QLatin1String("nofield")) {
        writeRaw(path, kPassword,
                 {"CREATE TABLE Dictionary (WordName TEXT COLLATE HEADWORD, Definition TEXT)",
                  "CREATE INDEX IndexWordName ON Dictionary (WordName)"});
    } else if (kind == QLatin1String("noindex")) {
        writeRaw(path, kPassword, {"CREATE TABLE Dictionary (WordName TEXT COLLATE HEADWORD, WordDef TEXT)"});
    } else if (kind == QLatin1String("order")) {
        writeRaw(path, kPassword,
                 {"CREATE TABLE Dictionary (WordName TEXT COLLATE BINARY, WordDef TEXT)",
                  "CREATE INDEX IndexWordName ON Dictionary (WordName)",
                  "INSERT INTO Dictionary VALUES ('apple', ''), ('Zebra', '')"});
    }
    const bool existed = QFile::exists(path);
    const QByteArray before = fileHash(path);

    auto table = makeTable();
    QSignalSpy closes(table.get(), &DictionaryTable::afterClose);
    QString message;
    try {
        table->open();
    } catch (const AppError &error) {
        message = error.message();
    }
    QVERIFY2(message.contains(engineMessage), qPrintable(message));
    QVERIFY2(message.contains(QDir::toNativeSeparators(path)), qPrintable(message));
    QVERIFY2(message.contains(QLatin1String("verbarium-mkdict")), qPrintable(message));
    QVERIFY(!table->isOpen());
    QCOMPARE(table->currentRow(), -1);
    QCOMPARE(table->recordCount(), 0);
    QCOMPARE(closes.count(), 0);
    // The failed attempt neither created nor changed the file.
    QCOMPARE(QFile::exists(path), existed);
    QCOMPARE(fileHash(path), before);
}

void TestDictionaryTable::unreadableFileSaysWhy()
{
    // A FIFO would block the open for good; a folder is no file either. Both are refused at once.
    const QString fifo = m_dir->filePath(QStringLiteral("fifo"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder")));
    for (const QString &name : {QStringLiteral("fifo"), QStringLiteral("folder")}) {
        auto table = makeTable();
        table->setTableName(name);
        QString message;
        try {
            table->open();
        } catch (const AppError &error) {
            message = error.message();
        }
        QVERIFY2(message.endsWith(QLatin1String("\nThe file cannot be read: it is not a regular file.")),
                 qPrintable(message));
        QVERIFY(!DictionaryTable::preopen(m_dir->filePath(name), kPassword));
    }
}

void TestDictionaryTable::damagedEntrySaysSo()
{
    // Entries of a page or more each, then one page in the middle of the file overwritten with zeros.
    QList<DictionaryRow> rows;
    for (int i = 0; i < 40; ++i)
        rows.append({QStringLiteral("word%1").arg(i, 2, 10, QLatin1Char('0')), QString(5000, QLatin1Char('a' + i % 26))});
    writeDictionary(dataPath(), rows);
    {
        QFile file(dataPath());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.seek(file.size() / 2 / sqlcipher::kPageSize * sqlcipher::kPageSize));
        QCOMPARE(file.write(QByteArray(sqlcipher::kPageSize, '\0')), qint64(sqlcipher::kPageSize));
    }
    auto table = makeTable();
    table->open();
    int damaged = 0;
    for (int row = 0; row < table->recordCount(); ++row) {
        table->moveTo(row);
        const QString entry = table->currentEntry();
        if (entry.startsWith(QLatin1String("This entry cannot be read: the dictionary file is damaged ("))) {
            QVERIFY2(entry.endsWith(QLatin1String("). Rebuild it with verbarium-mkdict or reinstall.")), qPrintable(entry));
            ++damaged;
        } else {
            QCOMPARE(entry, rows.at(row).definition);
        }
    }
    QVERIFY(damaged > 0);
}

void TestDictionaryTable::takesAHandleOpenedAhead()
{
    writeDictionary(dataPath(), sampleRows());
    // Opening ahead fails quietly on a wrong password or a missing file, and never creates one.
    QCOMPARE(DictionaryTable::preopen(dataPath(), QStringLiteral("wrong")), nullptr);
    const QString missing = m_dir->filePath(QStringLiteral("missing.dat"));
    QCOMPARE(DictionaryTable::preopen(missing, kPassword), nullptr);
    QVERIFY(!QFile::exists(missing));

    sqlite3 *ahead = DictionaryTable::preopen(dataPath(), kPassword);
    QVERIFY(ahead);
    QStringList asked;
    auto table = makeTable();
    table->setPreopened([&](const QString &path, const QString &password) -> sqlite3 * {
        asked << path + QLatin1Char('|') + password;
        return std::exchange(ahead, nullptr);
    });
    table->open();
    QCOMPARE(asked, QStringList{dataPath() + QLatin1Char('|') + kPassword});
    QVERIFY(!ahead);
    // The handle taken over serves the table like one it opened itself.
    table->findNearest(QStringLiteral("hot"));
    QCOMPARE(table->currentHeadword(), QStringLiteral("hot dog"));
    QCOMPARE(table->currentEntry(), QStringLiteral("<p>a sausage</p>"));
    QCOMPARE(table->recordCount(), int(kOrder.size()));

    // Once handed over, a source gives nothing more: the next open opens the file itself.
    table->close();
    table->open();
    QCOMPARE(asked.size(), 2);
    QCOMPARE(table->recordCount(), int(kOrder.size()));
}

void TestDictionaryTable::triesEachPasswordOfTheSession()
{
    writeDictionary(dataPath(), sampleRows());
    auto table = std::make_unique<DictionaryTable>(&m_session);
    table->setTableName(QStringLiteral("data.dat"));
    m_session.addPassword(QStringLiteral("wrong"));
    m_session.addPassword(kPassword);
    m_session.addPassword(kPassword);
    QCOMPARE(m_session.passwords().size(), 2);
    table->open();
    QCOMPARE(table->recordCount(), int(kOrder.size()));

    // No password at all: the file stays closed.
    table->close();
    m_session.removeAllPasswords();
    QVERIFY_THROWS_EXCEPTION(AppError, table->open());
}

void TestDictionaryTable::neverWritesTheFile()
{
    writeDictionary(dataPath(), sampleRows());
    QFile file(dataPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    const QDateTime modified = QFileInfo(dataPath()).lastModified();
    const QStringList filesBefore = QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden);

    {
        auto table = makeTable();
        table->open();
        table->findNearest(QStringLiteral("paris"));
        (void)table->currentEntry();
        table->next();
        table->prior();
        table->moveTo(0);
        (void)table->currentEntry();
        table->close();
    }
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll() == before);
    QCOMPARE(QFileInfo(dataPath()).lastModified(), modified);
    // No journal, lock or scratch file was left beside it.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), filesBefore);
}

void TestDictionaryTable::writerRejectsBadRowsAndReplacesWhole()
{
    writeDictionary(dataPath(), sampleRows());
    const QByteArray before = fileHash(dataPath());
    const QList<QList<DictionaryRow>> bad = {
        {{QStringLiteral("apple"), {}}, {QString(), QStringLiteral("no headword")}},
        {{QString(33, QLatin1Char('x')), {}}},
    };
    for (const auto &rows : bad) {
        QVERIFY_THROWS_EXCEPTION(AppError, writeDictionary(dataPath(), rows));
        QCOMPARE(fileHash(dataPath()), before);
    }
    QVERIFY_THROWS_EXCEPTION(AppError, writeDictionary(m_dir->filePath(QStringLiteral("no/such/folder/data.dat")), sampleRows()));

    // A second build replaces the first; no temporary file is left behind.
    writeDictionary(dataPath(), {{QStringLiteral("only"), QStringLiteral("one")}});
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("data.dat")});
    auto table = makeTable();
    table->open();
    QCOMPARE(table->recordCount(), 1);
    QCOMPARE(table->currentEntry(), QStringLiteral("one"));
}

namespace {

// More rows than open reads; "w0000", "w0001", ... in index order.
QList<DictionaryRow> manyRows(int count)
{
    QList<DictionaryRow> rows;
    for (int i = 0; i < count; ++i) {
        const QString word = QStringLiteral("w%1").arg(i, 4, 10, QLatin1Char('0'));
        rows.append({word, QStringLiteral("<p>%1</p>").arg(word)});
    }
    return rows;
}

// Statements for a hand-made table of `count` rows "w0000"... numbered by rowIdOf(position).
QList<QByteArray> numberedRows(int count, const std::function<qint64(int)> &rowIdOf)
{
    QList<QByteArray> statements;
    for (int i = 0; i < count; ++i) {
        statements.append(QStringLiteral("INSERT INTO Dictionary (rowid, WordName, WordDef) VALUES (%1, 'w%2', 'e%2')")
                              .arg(rowIdOf(i))
                              .arg(i, 4, 10, QLatin1Char('0'))
                              .toUtf8());
    }
    return statements;
}

void writeRawRows(const QString &path, const char *schema, const QList<QByteArray> &rows)
{
    QList<const char *> statements{schema, "CREATE INDEX IndexWordName ON Dictionary (WordName)", "BEGIN"};
    for (const QByteArray &row : rows)
        statements.append(row.constData());
    statements.append("COMMIT");
    writeRaw(path, kPassword, statements);
}

} // namespace

void TestDictionaryTable::openReadsTheFirstScreenful()
{
    const QList<DictionaryRow> rows = manyRows(3000);
    writeDictionary(dataPath(), rows);
    auto table = makeTable();
    QSignalSpy changes(table.get(), &DictionaryTable::dataChanged);
    QSignalSpy scrolls(table.get(), &DictionaryTable::afterScroll);
    table->open();
    // What the first paint needs is there without the rest of the headwords.
    QVERIFY(!table->allHeadwordsLoaded());
    QCOMPARE(table->recordCount(), 3000);
    QCOMPARE(table->currentHeadword(), QStringLiteral("w0000"));
    QCOMPARE(table->currentEntry(), QStringLiteral("<p>w0000</p>"));
    QCOMPARE(table->headwordAt(40), QStringLiteral("w0040"));
    QVERIFY(!table->allHeadwordsLoaded());

    table->loadAllHeadwords();
    QVERIFY(table->allHeadwordsLoaded());
    table->loadAllHeadwords();
    QCoreApplication::processEvents();
    // Loading is invisible: no row change, no notification, same rows.
    QCOMPARE(changes.count(), 1);
    QCOMPARE(scrolls.count(), 0);
    QCOMPARE(table->currentRow(), 0);
    QCOMPARE(table->recordCount(), 3000);
    for (int row = 0; row < 3000; row += 7)
        QCOMPARE(table->headwordAt(row), rows[row].word);
    QCOMPARE(table->headwordAt(2999), QStringLiteral("w2999"));
    QCOMPARE(table->headwordAt(3000), QString());

    // A reopen starts lazily again.
    table->close();
    table->open();
    QVERIFY(!table->allHeadwordsLoaded());
    QCOMPARE(table->recordCount(), 3000);
}

void TestDictionaryTable::everyFurtherStepLoadsTheRest_data()
{
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("expected");
    QTest::newRow("findNearest") << "findNearest" << "w2500";
    QTest::newRow("nearestRow") << "nearestRow" << "w0000";
    QTest::newRow("next") << "next" << "w0001";
    QTest::newRow("prior") << "prior" << "w0000";
    QTest::newRow("moveTo") << "moveTo" << "w2999";
    QTest::newRow("headwordAt") << "headwordAt" << "w0000";
}

void TestDictionaryTable::everyFurtherStepLoadsTheRest()
{
    QFETCH(QString, step);
    QFETCH(QString, expected);
    writeDictionary(dataPath(), manyRows(3000));
    auto table = makeTable();
    table->open();
    QVERIFY(!table->allHeadwordsLoaded());
    if (step == QLatin1String("findNearest"))
        table->findNearest(u"W25");
    else if (step == QLatin1String("nearestRow"))
        QCOMPARE(table->nearestRow(u"w2999x"), 2999);
    else if (step == QLatin1String("next"))
        table->next();
    else if (step == QLatin1String("prior"))
        table->prior();
    else if (step == QLatin1String("moveTo"))
        table->moveTo(2999);
    else
        QCOMPARE(table->headwordAt(2000), QStringLiteral("w2000"));
    QVERIFY(table->allHeadwordsLoaded());
    QCOMPARE(table->currentHeadword(), expected);
    QCOMPARE(table->currentEntry(), QStringLiteral("<p>%1</p>").arg(expected));
}

void TestDictionaryTable::otherNumberingIsReadWholeAtOpen()
{
    // Row ids that are not positions: nothing tells the count sooner, and entries follow the ids.
    writeRawRows(dataPath(), "CREATE TABLE Dictionary (WordName TEXT COLLATE HEADWORD, WordDef TEXT)",
                 numberedRows(600, [](int i) { return qint64(600 - i) * 10; }));
    auto table = makeTable();
    table->open();
    QVERIFY(table->allHeadwordsLoaded());
    QCOMPARE(table->recordCount(), 600);
    QCOMPARE(table->currentEntry(), QStringLiteral("e0000"));
    table->moveTo(599);
    QCOMPARE(table->currentHeadword(), QStringLiteral("w0599"));
    QCOMPARE(table->currentEntry(), QStringLiteral("e0599"));
}

void TestDictionaryTable::pronunciationsAreOptional()
{
    writeDictionary(dataPath(), {{"dog", "<p>a canine</p>", QStringLiteral("/d\u02c8\u0252\u0261/")}, {"dogma", "<p>a belief</p>"}});
    auto table = makeTable();
    table->open();
    QCOMPARE(table->currentPronunciation(), QStringLiteral("/d\u02c8\u0252\u0261/"));
    // Another row's entry is read without moving, and without disturbing the current one's.
    QCOMPARE(table->entryAt(1), QStringLiteral("<p>a belief</p>"));
    QCOMPARE(table->currentRow(), 0);
    QCOMPARE(table->currentEntry(), QStringLiteral("<p>a canine</p>"));
    table->next();
    QCOMPARE(table->currentPronunciation(), QString());
    table->close();

    // A file written before pronunciations were kept opens as before and has none.
    QFile::remove(dataPath());
    writeRawRows(dataPath(), "CREATE TABLE Dictionary (WordName TEXT COLLATE HEADWORD, WordDef TEXT)",
                 numberedRows(3, [](int i) { return qint64(i) + 1; }));
    table->open();
    QCOMPARE(table->currentEntry(), QStringLiteral("e0000"));
    QCOMPARE(table->currentPronunciation(), QString());
}

void TestDictionaryTable::gapsInTheNumberingCorrectTheCount()
{
    // Numbered 1..k at the start and ending on the largest id, with gaps between: the count taken at
    // open is too large and is put right when the rest is read, with a notification on the next turn.
    writeRawRows(dataPath(), "CREATE TABLE Dictionary (WordName TEXT COLLATE HEADWORD, WordDef TEXT)",
                 numberedRows(600, [](int i) { return i < 300 ? qint64(i) + 1 : qint64(i) * 2; }));
    auto table = makeTable();
    table->open();
    QVERIFY(!table->allHeadwordsLoaded());
    QCOMPARE(table->recordCount(), 1198);
    QSignalSpy changes(table.get(), &DictionaryTable::dataChanged);
    table->loadAllHeadwords();
    QCOMPARE(table->recordCount(), 600);
    QCOMPARE(changes.count(), 0);
    QTRY_COMPARE(changes.count(), 1);
    table->moveTo(450);
    QCOMPARE(table->currentHeadword(), QStringLiteral("w0450"));
    QCOMPARE(table->currentEntry(), QStringLiteral("e0450"));
    table->findNearest(u"zzz");
    QCOMPARE(table->currentRow(), 599);
}

void TestDictionaryTable::disorderPastTheFirstScreenIsSorted()
{
    // An index whose ties fall otherwise than ours ("zebra" before "Zebra"), where open does not
    // look: the words are put in this program's order, each still with its own entry.
    QList<QByteArray> rows = numberedRows(300, [](int i) { return qint64(i) + 1; });
    rows.append("INSERT INTO Dictionary (rowid, WordName, WordDef) VALUES (301, 'zebra', 'animal')");
    rows.append("INSERT INTO Dictionary (rowid, WordName, WordDef) VALUES (302, 'Zebra', 'name')");
    writeRawRows(dataPath(), "CREATE TABLE Dictionary (WordName TEXT COLLATE NOCASE, WordDef TEXT)", rows);
    auto table = makeTable();
    table->open();
    QVERIFY(!table->allHeadwordsLoaded());
    QCOMPARE(table->recordCount(), 302);
    table->findNearest(u"zebra");
    QCOMPARE(table->currentRow(), 300);
    QCOMPARE(table->currentHeadword(), QStringLiteral("Zebra"));
    QCOMPARE(table->currentEntry(), QStringLiteral("name"));
    table->next();
    QCOMPARE(table->currentHeadword(), QStringLiteral("zebra"));
    QCOMPARE(table->currentEntry(), QStringLiteral("animal"));
    for (int row = 1; row < table->recordCount(); ++row)
        QVERIFY(compareHeadwords(table->headwordAt(row - 1), table->headwordAt(row)) < 0);
}

void TestDictionaryTable::findHeadwordExactElseIgnoringCase()
{
    // Past the first screenful, so that the index answers before the headwords are loaded, and the memory after.
    QList<DictionaryRow> rows = manyRows(600);
    for (const char *word : {"xMars", "xmars", "xmArs", "xParis"})
        rows.append({QString::fromLatin1(word), QStringLiteral("<p>%1</p>").arg(QLatin1String(word))});
    writeDictionary(dataPath(), rows);
    auto table = makeTable();
    table->open();
    for (const bool loaded : {false, true}) {
        if (loaded)
            table->loadAllHeadwords();
        const auto find = [&table](const char *word) {
            QString spelling;
            const int row = table->findHeadword(QString::fromLatin1(word), &spelling);
            return row < 0 ? QStringLiteral("none") : QStringLiteral("%1 %2").arg(row).arg(spelling);
        };
        // In the word list: xMars, xmArs, xmars, xParis after the 600 others.
        QCOMPARE(find("xmars"), QStringLiteral("602 xmars"));
        QCOMPARE(find("xmArs"), QStringLiteral("601 xmArs"));
        // No exact spelling: the first of the twins.
        QCOMPARE(find("XMARS"), QStringLiteral("600 xMars"));
        QCOMPARE(find("xparis"), QStringLiteral("603 xParis"));
        QCOMPARE(find("w0450"), QStringLiteral("450 w0450"));
        QCOMPARE(find("xmar"), QStringLiteral("none"));
        QCOMPARE(find("zzz"), QStringLiteral("none"));
        QCOMPARE(find(""), QStringLiteral("none"));
        QCOMPARE(table->allHeadwordsLoaded(), loaded);
    }
}

void TestDictionaryTable::realDictionary()
{
    const QString dir = qEnvironmentVariable("VERBARIUM_TEST_DATA");
    if (dir.isEmpty() || !QFile::exists(dir + QStringLiteral("/data.dat")))
        QSKIP("the WordNet dictionary has not been built");
    QVERIFY(QDir::setCurrent(dir));
    auto table = makeTable();
    table->open();
    QVERIFY2(table->recordCount() > 140000, qPrintable(QString::number(table->recordCount())));
    // The builder numbers rows by position, so the count is known before the words are all read.
    QVERIFY(!table->allHeadwordsLoaded());
    const int counted = table->recordCount();
    table->loadAllHeadwords();
    QCOMPARE(table->recordCount(), counted);

    table->findNearest(QStringLiteral("serendipity"));
    QCOMPARE(table->currentHeadword(), QStringLiteral("serendipity"));
    QVERIFY(table->currentEntry().contains(QLatin1String("good luck")));
    table->findNearest(QStringLiteral("zzzz"));
    QCOMPARE(table->currentRow(), table->recordCount() - 1);
    table->findNearest(QStringLiteral("ran"));
    QCOMPARE(table->currentHeadword(), QStringLiteral("ran"));
    QVERIFY(table->currentEntry().contains(QLatin1String("past tense of run")));
}

QTEST_GUILESS_MAIN(TestDictionaryTable)
#include "test_dictionarytable.moc"
