#pragma once

#include <QByteArray>
#include <QString>

// Pronunciations in IPA from espeak-ng, in the voice the program speaks with, so that what is shown
// matches what is heard. One per process, as espeak-ng is.
class Pronouncer final
{
public:
    explicit Pronouncer(const QByteArray &voice = QByteArrayLiteral("gmw/en"));
    ~Pronouncer();
    Pronouncer(const Pronouncer &) = delete;
    Pronouncer &operator=(const Pronouncer &) = delete;

    // False when espeak-ng or its data could not be set up; pronounce() then gives nothing.
    bool isReady() const { return m_ready; }
    // "/ˈdɒɡ/" for "dog", each stress mark at the start of its syllable; the words of a phrase joined by blanks.
    QString pronounce(const QString &headword) const;

private:
    bool m_ready = false;
};
