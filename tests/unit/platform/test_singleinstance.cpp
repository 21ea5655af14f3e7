// The hand-over between two starts: a request reaches the running instance and is answered, foreign bytes
// are ignored or cut off, and the name is free again once the running instance is gone.
#include "platform/SingleInstance.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <cstddef>
#include <cstring>
#include <future>
#include <vector>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

QString uniqueCaption(const char *tag)
{
    return QStringLiteral("VerbariumTest-%1-%2").arg(::getpid()).arg(QLatin1String(tag));
}

// A raw peer, for what a start of this program never sends.
int connectRaw(const QString &name)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray bytes = name.toUtf8();
    std::memcpy(address.sun_path + 1, bytes.constData(), size_t(bytes.size()));
    const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + size_t(bytes.size()));
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), length) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Reads what the peer sends within the time, while the event loop runs; "closed" when it hung up.
QByteArray readRaw(int fd, int timeoutMs)
{
    QByteArray got;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 10) <= 0)
            continue;
        char buffer[64];
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0)
            return got + "closed";
        got.append(buffer, n);
    }
    return got;
}

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT
private slots:
    void nobodyRunning();
    void secondStartIsShownAndAnswered();
    void nameIsPerCaptionAndFreedOnExit();
    void foreignBytes();
    void lookUpCarriesTheWord();
    void burstOfStartsAllHandOver();
    void silentInstanceIsReported();
};

void TestSingleInstance::nobodyRunning()
{
    SingleInstance instance(uniqueCaption("none"));
    QElapsedTimer timer;
    timer.start();
    // The time-out is far beyond any scheduling delay, so returning well before it means the refusal was seen.
    QVERIFY(!instance.activateRunning(60000));
    QVERIFY2(timer.elapsed() < 30000, "a refused connection must not wait for the time-out");
}

void TestSingleInstance::secondStartIsShownAndAnswered()
{
    const QString caption = uniqueCaption("second");
    SingleInstance first(caption);
    QVERIFY(first.listen());
    QVERIFY(first.listen()); // listening twice is harmless
    QSignalSpy shown(&first, &SingleInstance::showRequested);

    SingleInstance second(caption);
    QVERIFY(!second.listen());
    // The second start blocks while it waits, so it runs on its own thread; this one answers.
    QElapsedTimer timer;
    timer.start();
    auto asked = std::async(std::launch::async, [&second] { return second.activateRunning(60000); });
    QTRY_VERIFY_WITH_TIMEOUT(asked.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 30000);
    QVERIFY(asked.get());
    QCOMPARE(shown.count(), 1);
    QVERIFY2(timer.elapsed() < 30000, "the answer must come before the time-out");
}

void TestSingleInstance::nameIsPerCaptionAndFreedOnExit()
{
    const QString caption = uniqueCaption("freed");
    {
        SingleInstance first(caption);
        QVERIFY(first.listen());
        SingleInstance other(uniqueCaption("other"));
        QVERIFY(other.listen());
        QVERIFY(!SingleInstance(caption).listen());
    }
    SingleInstance again(caption);
    QVERIFY(again.listen());
}

void TestSingleInstance::foreignBytes()
{
    const QString caption = uniqueCaption("foreign");
    SingleInstance first(caption);
    QVERIFY(first.listen());
    QSignalSpy shown(&first, &SingleInstance::showRequested);

    // An unknown line is ignored; a real request on the same connection still counts, in pieces too.
    int fd = connectRaw(first.serverName());
    QVERIFY(fd >= 0);
    QVERIFY(::send(fd, "hello\nsh", 8, 0) == 8);
    QCOMPARE(readRaw(fd, 200), QByteArray());
    QVERIFY(::send(fd, "ow\n", 3, 0) == 3);
    QCOMPARE(readRaw(fd, 1000), QByteArray("ok\n"));
    QCOMPARE(shown.count(), 1);
    ::close(fd);

    // A long run without a line end is not a request: the connection is cut, nothing is shown.
    fd = connectRaw(first.serverName());
    QVERIFY(fd >= 0);
    const QByteArray junk(5000, 'x');
    QVERIFY(::send(fd, junk.constData(), size_t(junk.size()), MSG_NOSIGNAL) == junk.size());
    QCOMPARE(readRaw(fd, 1000), QByteArray("closed"));
    ::close(fd);

    // A peer that hangs up at once leaves the instance working.
    fd = connectRaw(first.serverName());
    ::close(fd);
    SingleInstance second(caption);
    auto asked = std::async(std::launch::async, [&second] { return second.activateRunning(3000); });
    QTRY_VERIFY_WITH_TIMEOUT(asked.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 5000);
    QVERIFY(asked.get());
    QCOMPARE(shown.count(), 2);
}

void TestSingleInstance::lookUpCarriesTheWord()
{
    const QString caption = uniqueCaption("lookup");
    SingleInstance first(caption);
    QVERIFY(first.listen());
    QSignalSpy shown(&first, &SingleInstance::showRequested);
    QSignalSpy lookedUp(&first, &SingleInstance::lookUpRequested);

    // Blanks, a line break and letters beyond ASCII survive the trip; a word beyond the limit arrives cut.
    const QString phrase = QStringLiteral("caf\u00e9 au lait\nnext line");
    const QString longWord(SingleInstance::kMaxWordLength + 50, QChar(0xe9));
    for (const QString &word : {phrase, longWord}) {
        SingleInstance later(caption);
        auto asked = std::async(std::launch::async, [&later, word] { return later.startLookingUp(word, 60000); });
        QTRY_VERIFY_WITH_TIMEOUT(asked.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 30000);
        QCOMPARE(asked.get(), SingleInstance::Start::HandedOver);
    }
    QCOMPARE(lookedUp.count(), 2);
    QCOMPARE(lookedUp.at(0).at(0).toString(), phrase);
    QCOMPARE(lookedUp.at(1).at(0).toString(), longWord.left(SingleInstance::kMaxWordLength));
    QCOMPARE(shown.count(), 0);
    QVERIFY(first.privatePath().isEmpty());
}

void TestSingleInstance::burstOfStartsAllHandOver()
{
    // More starts than the queue holds, all before the first instance serves any: each must wait its turn.
    const QString caption = uniqueCaption("burst");
    SingleInstance first(caption);
    QCOMPARE(first.start(), SingleInstance::Start::First);
    QSignalSpy shown(&first, &SingleInstance::showRequested);
    constexpr int kStarts = 80;
    std::vector<std::future<SingleInstance::Start>> starts;
    for (int i = 0; i < kStarts; ++i)
        starts.push_back(std::async(std::launch::async, [caption] { return SingleInstance(caption).start(10000); }));
    QTest::qWait(300);
    QVERIFY(first.listen());
    for (auto &start : starts) {
        QTRY_VERIFY_WITH_TIMEOUT(start.wait_for(std::chrono::seconds(0)) == std::future_status::ready, 15000);
        QCOMPARE(start.get(), SingleInstance::Start::HandedOver);
    }
    QCOMPARE(shown.count(), kStarts);
}

void TestSingleInstance::silentInstanceIsReported()
{
    // The name is held but nobody serves it, as with a stopped or stuck instance.
    const QString caption = uniqueCaption("silent");
    SingleInstance stuck(caption);
    QCOMPARE(stuck.start(), SingleInstance::Start::First);
    QCOMPARE(SingleInstance(caption).start(500), SingleInstance::Start::NotResponding);
    QVERIFY(!SingleInstance(caption).activateRunning(200));
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "test_singleinstance.moc"
