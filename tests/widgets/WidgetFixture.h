#pragma once

// Builds the real main window over a small dictionary in a private working folder, with the desktop's
// services faked: message boxes and opened links recorded, settings kept in the private home, the clipboard
// one the test copies into.

#include "../mocks/FakeClipboard.h"
#include "../mocks/FakeSpeech.h"
#include "../unit/tray/FakeTrayShell.h"
#include "app/Lexivo1.h"
#include "dictionary/DictionaryWriter.h"
#include "platform/Application.h"
#include "platform/Platform.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

struct ShownBox
{
    MessageBoxes::Kind kind;
    QString caption;
    QString text;
};

class WindowFixture
{
public:
    // A test that brings its own services changes them in `services`.
    explicit WindowFixture(const QList<DictionaryRow> &rows, FormEnvironment env = {}, bool writeDictionary = true,
                           const DictionaryExtra &extraTables = {},
                           const std::function<void(Platform &)> &services = {})
    {
        m_oldDir = QDir::currentPath();
        qputenv("HOME", m_home.path().toUtf8());
        if (writeDictionary)
            ::writeDictionary(m_work.filePath("data.dat"), rows, QStringLiteral("marbol47quen"), {}, extraTables);
        QDir::setCurrent(m_work.path());
        if (env.programDir.isEmpty())
            env.programDir = m_work.path();
        Platform desktop = platform();
        if (services)
            services(desktop);
        app = std::make_unique<Application>();
        form = std::make_unique<TLexivoAppForm>(app.get(), desktop, env);
    }

    // Boxes and links recorded into this fixture, settings under its home, its clipboard, speech into a
    // recording fake and a desktop with a notification area.
    Platform platform()
    {
        Platform p;
        p.messages = MessageBoxes([this](MessageBoxes::Kind kind, const QString &caption, const QString &text) {
            boxes.append({kind, caption, text});
        });
        p.openLink = [this](const QUrl &url) {
            openedLinks.append(url.toString());
            return true;
        };
        p.configFolder = configFolder();
        p.clipboard = [this] { return &clipboard; };
        p.speechRuntime = [log = speech] { return std::make_unique<FakeSpeechRuntime>(log); };
        p.trayShell = &trayShell;
        return p;
    }

    QString configFolder() const { return m_home.path() + QStringLiteral("/config"); }

    ~WindowFixture()
    {
        form.reset();
        app.reset();
        QDir::setCurrent(m_oldDir);
    }

    QString workDir() const { return m_work.path(); }

    std::shared_ptr<FakeSpeechLog> speech = std::make_shared<FakeSpeechLog>();
    FakeTrayShell trayShell;
    FakeClipboard clipboard;
    std::unique_ptr<Application> app;
    std::unique_ptr<TLexivoAppForm> form;
    QList<ShownBox> boxes;
    QStringList openedLinks;

private:
    QTemporaryDir m_home;
    QTemporaryDir m_work;
    QString m_oldDir;
};

// A few headwords in deliberately unsorted order: the writer sorts them.
inline QList<DictionaryRow> sampleRows()
{
    return {
        {"zebra", "<p>a striped animal</p>"},
        {"apple", "<p>a fruit; see <b>pear</b></p>"},
        {"pear", "<p>another fruit</p>"},
        {"o'clock", "<p>of the clock</p>"},
        {"well-being", "<p>a good state</p>"},
        {"banana", "<p>a long fruit</p>"},
        {"Cherry", "<p>a small fruit</p>"},
        {"date", ""},
    };
}
