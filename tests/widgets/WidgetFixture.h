#pragma once

// Builds the real main window over a small dictionary in a private working folder, with message
// boxes recorded instead of shown.

#include "../mocks/FakeSpeech.h"
#include "../unit/tray/FakeTrayShell.h"
#include "app/Lexivo1.h"
#include "dictionary/DictionaryWriter.h"
#include "platform/Application.h"
#include "platform/MessageBox.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

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
    explicit WindowFixture(const QList<DictionaryRow> &rows, FormEnvironment env = {}, bool writeDictionary = true,
                           const DictionaryExtra &extraTables = {})
    {
        m_oldDir = QDir::currentPath();
        qputenv("HOME", m_home.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (m_home.path() + "/config").toUtf8());
        if (writeDictionary)
            ::writeDictionary(m_work.filePath("data.dat"), rows, QStringLiteral("marbol47quen"), {}, extraTables);
        QDir::setCurrent(m_work.path());
        MessageBoxes::setPresenter([this](MessageBoxes::Kind kind, const QString &caption, const QString &text) {
            boxes.append({kind, caption, text});
        });
        if (env.programDir.isEmpty())
            env.programDir = m_work.path();
        // The window speaks into a recording fake unless a test brings its own runtime.
        if (!env.speechRuntime) {
            env.speechRuntime = [log = speech] { return std::make_unique<FakeSpeechRuntime>(log); };
        }
        // A desktop with a notification area, unless a test brings its own.
        if (!env.trayShell)
            env.trayShell = &trayShell;
        app = std::make_unique<Application>();
        form = std::make_unique<TLexivoAppForm>(app.get(), env);
    }

    ~WindowFixture()
    {
        form.reset();
        app.reset();
        MessageBoxes::setPresenter({});
        QDir::setCurrent(m_oldDir);
    }

    QString workDir() const { return m_work.path(); }

    std::shared_ptr<FakeSpeechLog> speech = std::make_shared<FakeSpeechLog>();
    FakeTrayShell trayShell;
    std::unique_ptr<Application> app;
    std::unique_ptr<TLexivoAppForm> form;
    QList<ShownBox> boxes;

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
