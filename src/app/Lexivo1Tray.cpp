// The window's life in the notification area.
#include "app/Lexivo1.h"

#include "platform/Application.h"
#include "platform/ImageList.h"
#include "tray/Trayicon.h"

// The tray icon is part of the window as it is built, before the start-up steps run; a shell that
// refuses the icon ends the building with the component's error.
void TLexivoAppForm::createTrayIcon()
{
    TrayIcon1 = new TTrayIcon(this, m_app, m_platform.trayShell);
    TrayIcon1->setObjectName(QStringLiteral("TrayIcon1"));
    TrayIcon1->BeginLoad();
    TrayIcon1->SetVisible(true);
    TrayIcon1->SetHint(QStringLiteral("Verbarium"));
    TrayIcon1->SetPopupMenu(TrayPopupMenu1);
    TrayIcon1->SetHide(true);
    TrayIcon1->SetRestoreOn(imDoubleClick);
    TrayIcon1->SetPopupMenuOn(imRightClickUp);
    TrayIcon1->SetIcons(ImageList2);
    TrayIcon1->SetIconIndex(1);
    TrayIcon1->SetAnimateInterval(100);
    TrayIcon1->OnRestore = [this](QObject *) { TrayIcon1Restore(); };
    TrayIcon1->Loaded();
}

void TLexivoAppForm::TrayIcon1Restore()
{
    m_app->showForm();
    m_app->processMessages();
    m_app->restore();
    m_app->processMessages();
    // The icon's own bringing forward came while the window was still hidden.
    m_app->bringToFront();
}

void TLexivoAppForm::RestoreActionExecute()
{
    if (isMinimized()) {
        m_app->minimize();
        m_app->processMessages();
    }
    m_app->showForm();
    m_app->processMessages();
    m_app->restore();
    m_app->processMessages();
    // Also when the window was on screen all along, behind others.
    m_app->bringToFront();
}
