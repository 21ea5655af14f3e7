#pragma once

// The real main window over the full dictionary in the folder given on the command line, shown and
// exposed, with a private settings folder and message boxes printed instead of shown.
#include "app/SearchEdit.h"
#include "app/Lexivo1.h"
#include "artwork/Artwork.h"
#include "dictionary/DictionaryTable.h"
#include "lexicon/SpellingAssistant.h"
#include "platform/Application.h"
#include "platform/Platform.h"

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

    // Takes the folder from the command line. The benchmark's exit status when that fails, after a message:
    // 2 without a folder, 1 when the dictionary did not open or the window never showed; 0 when all is set.
    int open(int argc, char **argv)
    {
        if (argc < 2) {
            std::fprintf(stderr, "usage: %s <folder holding data.dat>\n", argv[0]);
            return 2;
        }
        QDir::setCurrent(QString::fromLocal8Bit(argv[1]));
        Platform platform;
        platform.messages = MessageBoxes([](MessageBoxes::Kind, const QString &, const QString &text) {
            std::fprintf(stderr, "message: %s\n", qPrintable(text));
        });
        platform.configFolder = home.path();
        // As the program does, so that the tray gets an icon.
        QGuiApplication::setWindowIcon(Artwork::startIcon());
        app = std::make_unique<Application>();
        FormEnvironment env;
        env.programDir = home.path();
        form = std::make_unique<TLexivoAppForm>(app.get(), platform, env);
        if (!form->table()->isOpen())
            return 1;
        app->showForm();
        if (!QTest::qWaitForWindowExposed(form.get()))
            return 1;
        form->SEdit1->setFocus();
        return 0;
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
