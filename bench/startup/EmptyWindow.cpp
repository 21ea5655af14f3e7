// The floor of any Qt program here: an empty main window, reporting when its first paint is done.
#include <QApplication>
#include <QMainWindow>
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
    window.resize(535, 340);
    window.show();
    return QApplication::exec();
}
