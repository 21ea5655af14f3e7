#pragma once

#include "shelf/ShelfLookup.h"
#include "shelf/ShelfSettings.h"

#include <QObject>
#include <QPointer>
#include <QThread>

#include <memory>

class AddedDictionary;
class DictionaryTable;

// The window's side of the dictionaries the user has beside the built-in one: finds them, reads their keys on
// a thread of its own (saying how far it is), then shows their headwords among the table's rows and their
// sections under the built-in entry. With none on, the table is left exactly as it is.
class AddedDictionaries final : public QObject
{
    Q_OBJECT
public:
    struct Found
    {
        std::shared_ptr<AddedDictionary> dictionary;
        bool enabled = true;
    };

    AddedDictionaries(DictionaryTable *table, QString configFolder, QObject *parent = nullptr);
    ~AddedDictionaries() override;

    // Reads the user's choices and the dictionaries; the table must hold all its headwords by now.
    void start();
    bool isReading() const { return m_thread != nullptr; }

    // The entry of a row of the table followed by the added dictionaries' sections for it.
    QString entryWithSections(int row, const QString &entry) const;
    // The first pronunciation an added dictionary gives for row's word, between slashes.
    QString pronunciation(int row) const;

    // Every dictionary found at the last read, in the user's order, and the choices it was read with.
    const QList<Found> &found() const { return m_found; }
    const ShelfSettings &settings() const { return m_settings; }
    // Keeps new choices in the settings file and reads the dictionaries again with them. False when the file
    // could not be written (the choices then hold until the program ends).
    bool apply(const ShelfSettings &settings);

signals:
    // What the status bar says while the keys are read; empty when done.
    void progress(const QString &text);
    void changed();

private:
    void finish(QList<Found> found, std::shared_ptr<const class ShelfOverlay> overlay);

    QPointer<DictionaryTable> m_table;
    QString m_configFolder;
    ShelfSettings m_settings;
    QList<Found> m_found;
    std::shared_ptr<const ShelfOverlay> m_overlay;
    QThread *m_thread = nullptr;
    bool m_again = false;
    bool m_settingsRead = false;
};
