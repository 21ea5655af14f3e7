#pragma once

#include <QDialog>

class AddedDictionaries;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// The Dictionaries window: every added dictionary found, on or off and in the user's order, with what it says
// of itself and why it cannot be read; and the folders the user added. Every change is kept at once.
class DictionariesDialog final : public QDialog
{
    Q_OBJECT
public:
    explicit DictionariesDialog(AddedDictionaries *dictionaries, QWidget *parent = nullptr);

private:
    void reload();
    void showDetails();
    void toggle(int row, bool on);
    void move(int by);
    void addFolder();
    void removeFolder();

    AddedDictionaries *m_dictionaries;
    QListWidget *m_list;
    QPlainTextEdit *m_details;
    QListWidget *m_folders;
    QPushButton *m_up;
    QPushButton *m_down;
    QPushButton *m_removeFolder;
    QLabel *m_status;
    bool m_filling = false;
};
