#pragma once

#include <QList>

class QAction;
class QMenu;
class QObject;
class QWidget;
class TLexivoAppForm;

// What the window offers screen readers and keyboard users beyond its designed controls.
namespace Accessibility {

// Descriptions for the controls, the toolbar buttons' long hints, the keys that reach "E&xit" and the
// help, and the tray menu as the program's own popup menu. Called once the window is built.
void setUp(TLexivoAppForm *form);

// From here on the application's accessible object lists the open popup menus beside its windows (a
// context or tray menu is inside no window, and Qt leaves popups out), and the program's own plain-widget
// windows are exposed as windows. Early, before a screen reader first asks for the application.
void installFactory();

// The popup menus the application lists beside its windows just now.
QList<QMenu *> openPopupMenus();

} // namespace Accessibility
