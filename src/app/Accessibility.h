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

// Open popup menus are listed among the application's children, beside its windows: a context or tray
// menu is not inside any window, and Qt leaves popups out of the application's children.
void exposePopupMenus();

// The popup menus the application lists beside its windows just now.
QList<QMenu *> openPopupMenus();

} // namespace Accessibility
