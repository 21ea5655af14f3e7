#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrlQuery>

#include "platform/MailHandoff.h"
#include "sharing/FeedbackLinks.h"
#include "sharing/MailMessage.h"

namespace {

const QString kFooter = QStringLiteral("\n\n") + QString(65, QLatin1Char('-'))
                        + QStringLiteral("\nCreated and sent by Verbarium (https://www.ostrand.example/verbarium)");

// A stand-in for xdg-email: records its arguments NUL-separated, then exits with the given code.
QString writeFakeMailer(const QTemporaryDir &dir, int exitCode, const QString &extra = QString())
{
    const QString path = dir.filePath(QStringLiteral("fake-xdg-email"));
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(QStringLiteral("#!/bin/sh\n%1printf '%s\\0' \"$@\" > '%2'\nexit %3\n")
                .arg(extra, dir.filePath(QStringLiteral("args")))
                .arg(exitCode)
                .toUtf8());
    f.close();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    return path;
}

QStringList recordedArgs(const QTemporaryDir &dir)
{
    QFile f(dir.filePath(QStringLiteral("args")));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList args = QString::fromUtf8(f.readAll()).split(QLatin1Char('\0'));
    args.removeLast(); // after the last terminator
    return args;
}

} // namespace

class TestMail : public QObject
{
    Q_OBJECT
private slots:
    void message_data()
    {
        QTest::addColumn<QString>("headword");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("body");

        QTest::newRow("entry of two lines")
            << "lamp" << "noun\n1. an artificial source of visible illumination"
            << "definitions: lamp"
            << "lamp - definitions:\n\nnoun\n1. an artificial source of visible illumination" + kFooter;
        QTest::newRow("empty entry") << "lamp" << "" << "definitions: lamp" << "lamp - definitions:\n\n" + kFooter;
        QTest::newRow("non-ASCII kept as it is") << QString::fromUtf8("café") << QString::fromUtf8("a café")
                                                  << QString::fromUtf8("definitions: café")
                                                  << QString::fromUtf8("café - definitions:\n\na café") + kFooter;
    }

    void message()
    {
        QFETCH(QString, headword);
        QFETCH(QString, entry);
        QFETCH(QString, subject);
        QFETCH(QString, body);
        const MailMessage m = MailMessage::fromEntry(headword, QStringLiteral("definitions:"), entry,
                                                     FeedbackLinks::webSite());
        QCOMPARE(m.subject, subject);
        QCOMPARE(m.body.toUtf8(), body.toUtf8());
        QVERIFY(!m.body.contains(QLatin1Char('\r')));
        QVERIFY(m.body.endsWith(QLatin1Char(')')));
    }

    void handoff_data()
    {
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<bool>("handedOver");
        QTest::newRow("mail program took it") << 0 << true;
        QTest::newRow("no mail program (xdg-email exits 3)") << 3 << false;
        QTest::newRow("syntax error (exits 1)") << 1 << false;
    }

    void handoff()
    {
        QFETCH(int, exitCode);
        QFETCH(bool, handedOver);
        QTemporaryDir dir;
        MailHandoff mail;
        mail.setProgram(writeFakeMailer(dir, exitCode));
        QSignalSpy done(&mail, &MailHandoff::finished);
        const QString body = QStringLiteral("lamp - definitions:\n\n--body \"quoted\" $HOME `x`") + kFooter;
        mail.send(QStringLiteral("definitions: lamp"), body);
        QVERIFY(done.wait(10000));
        QCOMPARE(done.count(), 1);
        QCOMPARE(done.first().first().toBool(), handedOver);
        QCOMPARE(mail.pending(), 0);
        // Arguments arrive untouched, however odd the text.
        QCOMPARE(recordedArgs(dir), (QStringList{"--utf8", "--subject", "definitions: lamp", "--body", body}));
    }

    void handoffFailsWhenTheProgramIsMissing()
    {
        QTemporaryDir dir;
        MailHandoff mail;
        mail.setProgram(dir.filePath(QStringLiteral("no-such-mailer")));
        QSignalSpy done(&mail, &MailHandoff::finished);
        mail.send(QStringLiteral("s"), QStringLiteral("b"));
        QVERIFY(done.wait(10000));
        QCOMPARE(done.count(), 1);
        QCOMPARE(done.first().first().toBool(), false);
        QTest::qWait(50);
        QCOMPARE(done.count(), 1); // exactly one report
    }

    void handoffDoesNotBlockTheCaller()
    {
        QTemporaryDir dir;
        MailHandoff mail;
        mail.setProgram(writeFakeMailer(dir, 0, QStringLiteral("sleep 1\n")));
        QSignalSpy done(&mail, &MailHandoff::finished);
        mail.send(QStringLiteral("s"), QStringLiteral("b"));
        QCOMPARE(done.count(), 0);
        QCOMPARE(mail.pending(), 1);
        QVERIFY(done.wait(10000));
        QCOMPARE(done.first().first().toBool(), true);
    }

    void feedbackLinks_data()
    {
        QTest::addColumn<QUrl>("link");
        QTest::addColumn<QByteArray>("encoded");
        QTest::addColumn<QString>("subject");
        QTest::newRow("suggestion") << FeedbackLinks::suggestionLink()
                                    << QByteArray("mailto:suggestions@ostrand.example?subject=Suggestion%20for%20Verbarium")
                                    << "Suggestion for Verbarium";
        QTest::newRow("bug report") << FeedbackLinks::bugReportLink()
                                    << QByteArray("mailto:bugs@ostrand.example?subject=Report%20a%20bug%20for%20Verbarium")
                                    << "Report a bug for Verbarium";
    }

    void feedbackLinks()
    {
        QFETCH(QUrl, link);
        QFETCH(QByteArray, encoded);
        QFETCH(QString, subject);
        QVERIFY(link.isValid());
        QCOMPARE(link.toEncoded(), encoded);
        QCOMPARE(QUrlQuery(link).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded), subject);
        QCOMPARE(link.toString(), QStringLiteral("mailto:") + link.path() + QStringLiteral("?subject=") + subject);
    }

    void addressesBelongToAReservedDomain()
    {
        for (const QString &address : {FeedbackLinks::suggestionAddress(), FeedbackLinks::bugReportAddress()})
            QVERIFY(address.endsWith(QLatin1String("@ostrand.example")));
        QCOMPARE(FeedbackLinks::webSiteLink().host(), QStringLiteral("www.ostrand.example"));
        QVERIFY(FeedbackLinks::copyrightNotice().contains(QLatin1String("Ostrand")));
    }
};

QTEST_GUILESS_MAIN(TestMail)
#include "test_mail.moc"
