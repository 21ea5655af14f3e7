#pragma once

// The real main window over the full dictionary in the folder given on the command line, shown and
// exposed, with a private settings folder and message boxes printed instead of shown.
#include "app/DataControls.h"
#include "app/Lexivo1.h"
#include "artwork/Artwork.h"
#include "dictionary/DictionaryTable.h"
#include "lexicon/SpellingAssistant.h"
#include "platform/Application.h"
#include "platform/MessageBox.h"

#include <QDir>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <memory>

struct BenchWindow
{
    QTemporaryDir home;
    std::unique_ptr<Application> app;
    std::unique_ptr<TLexivoAppForm> form;

    // False (after a message) when the dictionary did not open or the window never showed.
    bool open(const char *dataFolder)
    {
        qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
        QDir::setCurrent(QString::fromLocal8Bit(dataFolder));
        MessageBoxes::setPresenter([](MessageBoxes::Kind, const QString &, const QString &text) {
            std::fprintf(stderr, "message: %s\n", qPrintable(text));
        });
        // As the program does, so that the tray gets an icon.
        QGuiApplication::setWindowIcon(Artwork::startIcon());
        app = std::make_unique<Application>();
        FormEnvironment env;
        env.programDir = home.path();
        form = std::make_unique<TLexivoAppForm>(app.get(), env);
        if (!form->table()->isOpen())
            return false;
        app->showForm();
        if (!QTest::qWaitForWindowExposed(form.get()))
            return false;
        form->SEdit1->setFocus();
        return true;
    }

    // Loads the spelling dictionary as the program does after its first paint; false when it is missing.
    bool startSpelling()
    {
        form->table()->loadAllHeadwords();
        QSignalSpy loaded(form->spelling(), &SpellingAssistant::loaded);
        form->startSpelling();
        if (!loaded.wait(10000) || !form->spelling()->isAvailable()) {
            std::fprintf(stderr, "Hunspell's en_US dictionary did not load (is hunspell-en-us installed?)\n");
            return false;
        }
        return true;
    }

    ~BenchWindow()
    {
        form.reset();
        app.reset();
    }
};
