// The floor of any Qt program here: an empty main window, reporting when its first paint is done.
// With "--text" the window also shows one label and a menu bar with one menu: the floor of a window
// that shows any text at all, which is the first to load the font system.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPaintEvent>
#include <QTimer>

#include <cstdio>

namespace {

class Window final : public QMainWindow
{
protected:
    void paintEvent(QPaintEvent *event) override
    {
        QMainWindow::paintEvent(event);
        if (!m_reported) {
            m_reported = true;
            QTimer::singleShot(0, [] {
                std::puts("ready");
                std::fflush(stdout);
            });
        }
    }

private:
    bool m_reported = false;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Window window;
    window.setWindowTitle(QStringLiteral("Empty"));
    if (argc > 1 && qstrcmp(argv[1], "--text") == 0) {
        window.setCentralWidget(new QLabel(QStringLiteral("definitions:"), &window));
        window.menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("E&xit"));
    }
    window.resize(535, 340);
    window.show();
    return QApplication::exec();
}
