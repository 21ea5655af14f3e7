// The window's command table, handlers and menu and toolbar lists agree, and the check that says so
// finds each kind of fault.
#include "app/CommandTable.h"
#include "app/Lexivo1.h"

#include <QTest>

#include <utility>
#include <vector>

class TestCommandTable final : public QObject
{
    Q_OBJECT
private slots:
    void windowWiringAgrees();
    void faultsFound();
};

void TestCommandTable::windowWiringAgrees()
{
    const QStringList faults = TLexivoAppForm::commandWiringFaults();
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
}

void TestCommandTable::faultsFound()
{
    QList<Command> all;
    for (int i = 0; i < int(Command::Count); ++i)
        all << Command(i);
    const std::span<const CommandDef> table = commandTable();
    QCOMPARE(commandFaults(table, all, {{Command::FileSend1, Command::Separator, Command::FileClose1}}), QStringList());

    std::vector<CommandDef> swapped(table.begin(), table.end());
    std::swap(swapped[1], swapped[2]);
    QCOMPARE(commandFaults(swapped, all, {}),
             (QStringList{QStringLiteral("row 1 (FileClose1) is not in its command's place"),
                          QStringLiteral("row 2 (FileSend1) is not in its command's place")}));
    QCOMPARE(commandFaults(table.first(table.size() - 1), all, {}),
             (QStringList{QStringLiteral("the table has %1 rows for %2 commands").arg(table.size() - 1).arg(table.size())}));

    QList<Command> twiceAndMissing = all;
    twiceAndMissing.removeOne(Command::FileExit1);
    twiceAndMissing << Command::FileSend1 << Command(99);
    QCOMPARE(commandFaults(table, twiceAndMissing, {{Command::FileSend1}, {Command::Separator, Command(40)}}),
             (QStringList{QStringLiteral("a handler is bound to command #99, which has no row"),
                          QStringLiteral("FileSend1 is bound 2 times"), QStringLiteral("FileExit1 is bound 0 times"),
                          QStringLiteral("list 1 names command #40, which has no row")}));
}

QTEST_MAIN(TestCommandTable)
#include "test_command_table.moc"
