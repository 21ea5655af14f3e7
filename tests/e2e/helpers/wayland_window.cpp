// A native Wayland window for the end-to-end tests (run with QT_QPA_PLATFORM=wayland): it takes the focus from
// the program's XWayland window, as the user's editor or browser would.
#include <QApplication>
#include <QLineEdit>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QLineEdit editor;
    editor.setText(QStringLiteral("a native Wayland window"));
    editor.resize(400, 100);
    editor.show();
    return QApplication::exec();
}
