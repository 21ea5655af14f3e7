#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// One headword of an added dictionary and where its text lies in the dictionary's data file.
struct KeyRecord
{
    QString key;
    quint64 offset = 0;
    quint32 length = 0;
};

// What a reader makes of a dictionary's index: its headwords, in the order the file gives them, and what the
// dictionary says about itself. Problems that leave the rest readable are collected as warnings.
struct KeyListing
{
    QList<KeyRecord> records;
    QString name;
    QString description;
    QString licence;
    QStringList warnings;
};
