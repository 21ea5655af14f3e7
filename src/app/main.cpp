#include "app/EntryView.h"
#include "app/Lexivo1.h"
#include "app/LookupCommand.h"
#include "app/SearchEdit.h"
#include "app/StartupError.h"
#include "app/StartupTimeline.h"
#include "app/StartupWarmup.h"
#include "app/VerbariumApplication.h"
#include "app/VerbariumStyle.h"
#include "artwork/Artwork.h"
#include "define/DefineCommand.h"
#include "dictionary/DictionaryTable.h"
#include "platform/Application.h"
#include "platform/EspeakSpeech.h"
#include "platform/Platform.h"
#include "platform/PrestartedRuntime.h"
#include "platform/SessionEnd.h"
#include "platform/SingleInstance.h"
#include "tray/Trayicon.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

namespace {

// A Wayland client cannot read the clipboard while it lacks the focus, so the clipboard watch
// needs the X11 platform (XWayland) unless the user chose a platform himself.
void preferX11UnderWayland()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

// What the first entry does not wait for, done once on the loop's first turn after the entry is
// painted: the spelling dictionary and the added dictionaries, which load on threads of their own; the
// program icon in all its window sizes (each painted as it is handed to the window manager); the
// headwords that opening the table left for later, which the word list gets before it is needed; and
// the speech engine.
class DeferredStart final : public QObject
{
public:
    DeferredStart(TLexivoAppForm *form, std::function<void()> prestartSpeech)
        : QObject(form), m_form(form), m_prestartSpeech(std::move(prestartSpeech))
    {
    }

    void run()
    {
        if (m_done)
            return;
        m_done = true;
        m_form->startSpelling();
        m_form->startAddedDictionaries();
        // The speech library and its sound libraries load on a thread of their own while the rest is done here.
        m_prestartSpeech();
        QGuiApplication::setWindowIcon(Artwork::windowIcon());
        m_form->table()->loadAllHeadwords();
        m_form->startSpeech();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, &DeferredStart::run);
        }
        return false;
    }

private:
    TLexivoAppForm *m_form;
    std::function<void()> m_prestartSpeech;
    bool m_done = false;
};

// For the start-up benchmark: report once the first entry has been painted.
class FirstPaintReporter final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            StartupTimeline::mark("first paint");
            QTimer::singleShot(0, [] {
                std::puts("ready");
                std::fflush(stdout);
            });
        }
        return false;
    }
};

// A running instance holds the name but does not answer: say so rather than end in silence.
int reportNotResponding(int argc, char **argv, const MessageBoxes &messages)
{
    const QString text = QStringLiteral("Verbarium is already running but is not responding.");
    std::fprintf(stderr, "%s\n", qPrintable(text));
    QApplication qtApp(argc, argv);
    messages.ownerless(text);
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    StartupTimeline::mark("main");
    // "--define WORD…" prints entries for a terminal and ends: nothing of the window or the display starts.
    if (argc > 1 && std::strcmp(argv[1], "--define") == 0) {
        QStringList words;
        for (int i = 2; i < argc; ++i)
            words.append(QString::fromLocal8Bit(argv[i]));
        return runDefine(words, commandLineDataFolder() + QLatin1Char('/') + TLexivoAppForm::tableFileName(),
                         TLexivoAppForm::tablePassword());
    }
    // "--lookup WORD" and "--lookup-selection": a word for the running program, or for this one.
    const LookupCommand lookup = lookupCommandFrom(argc, argv);
    if (lookup.exitCode)
        return *lookup.exitCode;
    // Started from a terminal or a key binding, a lookup that becomes the program opens the installed dictionary.
    if (lookup.asked)
        QDir::setCurrent(commandLineDataFolder());
    preferX11UnderWayland();
    // The desktop's services, for the window and for what is said before it exists.
    Platform platform;

    // A running instance is asked to come forward; this start then ends without touching settings.
    // The toolkit is not needed for that, so a second start ends before starting it.
    SingleInstance instance(QStringLiteral("Verbarium"));
    switch (lookup.asked ? instance.startLookingUp(lookup.word) : instance.start()) {
    case SingleInstance::Start::HandedOver:
        return 0;
    case SingleInstance::Start::NotResponding:
        return reportNotResponding(argc, argv, platform.messages);
    case SingleInstance::Start::First:
        break;
    }
    StartupTimeline::mark("single instance checked");

    // The first start: set-up that needs no toolkit runs beside the toolkit's own start.
    StartupWarmup warmup(QDir::current().absoluteFilePath(TLexivoAppForm::tableFileName()),
                         TLexivoAppForm::tablePassword());
    // The speech library and its sixteen sound libraries load once the first entry is painted (DeferredStart).
    std::unique_ptr<SpeechRuntime> speech;
    platform.speechRuntime = [&speech]() -> std::unique_ptr<SpeechRuntime> { return std::move(speech); };

    VerbariumApplication qtApp(argc, argv, platform.messages);
    QApplication::setStyle(new VerbariumStyle);
    QGuiApplication::setQuitOnLastWindowClosed(false);
    QCoreApplication::setApplicationName(QStringLiteral("verbarium"));
    QGuiApplication::setDesktopFileName(QStringLiteral("verbarium"));
    StartupTimeline::mark("QApplication");

    Application app;
    app.setTitle(QString());
    instance.listen();

    app.setTitle(QStringLiteral("Verbarium"));
    QGuiApplication::setWindowIcon(Artwork::startIcon());

    // Only the first argument is looked at, and only an exact "/m" counts.
    const QStringList args = QCoreApplication::arguments();
    FormEnvironment env;
    env.startHidden = args.size() > 1 && args.at(1) == QLatin1String("/m");
    env.speechAfterFirstPaint = true;
    env.programDir = QCoreApplication::applicationDirPath();
    env.preopenedDictionary = [&warmup](const QString &path, const QString &password) {
        return warmup.takeDictionary(path, password);
    };

    // A second start may ask to be shown while this one is still starting: remember it and act once ready.
    std::unique_ptr<TLexivoAppForm> form;
    bool showRequested = false;
    QObject::connect(&instance, &SingleInstance::showRequested, &app, [&form, &showRequested] {
        if (form && form->isStarted())
            form->showFromAnotherStart();
        else
            showRequested = true;
    });
    QString lookUpRequested = lookup.word;
    LookupPaintReporter *lookupPaints = nullptr;
    QObject::connect(&instance, &SingleInstance::lookUpRequested, &app,
                     [&form, &lookUpRequested, &lookupPaints](const QString &word) {
        if (lookupPaints)
            lookupPaints->arm();
        if (form && form->isStarted())
            form->lookUpFromAnotherStart(word);
        else
            lookUpRequested = word;
    });
    const auto build = [&] { form = std::make_unique<TLexivoAppForm>(&app, platform, env); };
    if (const auto failed = buildOrReport(build, platform.messages))
        return *failed;
    StartupTimeline::mark("window built");

    // As the loop starts the window is shown, unless it starts minimised: "/m" goes to the tray (or, without a
    // notification area, to the taskbar, never out of reach); a stored minimised state is iconified and keeps its
    // taskbar entry.
    if (env.startHidden) {
        app.minimize();
        if (form->TrayIcon1->InNotificationArea())
            app.hideAppWindow();
        app.processMessages();
    } else if (form->windowState() & Qt::WindowMinimized) {
        app.minimize();
    }
    if (app.isAppWindowShown())
        app.showForm();
    StartupTimeline::mark("shown");
    // Logging out or shutting down is leaving too: the settings are kept as at "E&xit".
    SessionEnd sessionEnd;
    QObject::connect(&sessionEnd, &SessionEnd::ending, form.get(), &TLexivoAppForm::endSession);
    QObject::connect(&sessionEnd, &SessionEnd::saveRequested, form.get(), &TLexivoAppForm::saveAtSessionEnd);
    sessionEnd.setLastChance([&form, &app] {
        if (form && !app.terminated())
            form->saveAtSessionEnd();
    });
    form->markStarted();
    if (showRequested)
        QTimer::singleShot(0, form.get(), &TLexivoAppForm::showFromAnotherStart);
    if (!lookUpRequested.isEmpty() && !form->startupFailed())
        form->lookUpFromAnotherStart(lookUpRequested);
    // Without a dictionary there is nothing to use: end at once, whether or not a window got activated.
    if (form->startupFailed()) {
        QTimer::singleShot(0, &app, &Application::terminate);
    } else {
        auto *deferred = new DeferredStart(form.get(), [&speech] {
            speech = std::make_unique<PrestartedRuntime>(std::make_unique<EspeakRuntime>());
        });
        if (form->isVisible() && !(form->windowState() & Qt::WindowMinimized)) {
            form->RichEdit1->viewport()->installEventFilter(deferred);
            // Should no paint come (a window manager that never maps it), the rest still follows soon.
            QTimer::singleShot(2000, deferred, &DeferredStart::run);
        } else {
            QTimer::singleShot(0, deferred, &DeferredStart::run);
        }
    }

    // Installed last so that it sees the first paint first: the report is not held up by the load.
    if (qEnvironmentVariableIsSet("VERBARIUM_BENCH_READY")) {
        form->RichEdit1->viewport()->installEventFilter(new FirstPaintReporter(form.get()));
        lookupPaints = new LookupPaintReporter([&form] { return form->SEdit1->text(); }, form.get());
        form->RichEdit1->viewport()->installEventFilter(lookupPaints);
        // Clipboard takes and typing are reported the same way.
        QObject::connect(form->SEdit1, &QLineEdit::textChanged, lookupPaints, [lookupPaints] { lookupPaints->arm(); });
    }

    QCoreApplication::exec();
    const bool failed = form->startupFailed();
    form.reset();
    return failed ? 1 : 0;
}
