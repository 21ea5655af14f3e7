// Stress marks at the start of their syllable, checked against how dictionaries print the words.
#include "text/StressMarks.h"

#include <QTest>

class TestStressMarks final : public QObject
{
    Q_OBJECT

private slots:
    void dictionaryPlacement_data()
    {
        QTest::addColumn<QString>("espeak");
        QTest::addColumn<QString>("dictionary");
        // What espeak-ng says for the word, and where a dictionary puts the marks.
        const char *const rows[][3] = {
            {"serendipity", "sˌɛɹəndˈɪpɪti", "ˌsɛɹənˈdɪpɪti"},
            {"lighthouse", "lˈaɪthaʊs", "ˈlaɪthaʊs"},
            {"butterfly", "bˈʌtəflˌaɪ", "ˈbʌtəˌflaɪ"},
            {"photograph", "fˈəʊtəɡɹˌaf", "ˈfəʊtəˌɡɹaf"},
            {"astronaut", "ˈastɹənˌɔːt", "ˈastɹəˌnɔːt"},
            {"university", "jˌuːnɪvˈɜːsɪti", "ˌjuːnɪˈvɜːsɪti"},
            {"examination", "ɛɡzˌamɪnˈeɪʃən", "ɛɡˌzamɪˈneɪʃən"},
            {"pronunciation", "pɹənˌʌnsɪˈeɪʃən", "pɹəˌnʌnsɪˈeɪʃən"},
            {"entertainment", "ˌɛntətˈeɪnmənt", "ˌɛntəˈteɪnmənt"},
            {"understand", "ˌʌndəstˈand", "ˌʌndəˈstand"},
            {"computer", "kəmpjˈuːtə", "kəmˈpjuːtə"},
            {"beautiful", "bjˈuːtifəl", "ˈbjuːtifəl"},
            {"nightingale", "nˈaɪtɪŋɡˌeɪl", "ˈnaɪtɪŋˌɡeɪl"},
            {"kangaroo", "kˈaŋɡɐɹˌuː", "ˈkaŋɡɐˌɹuː"},
            {"ice cream", "ˈaɪs kɹˈiːm", "ˈaɪs ˈkɹiːm"},
            {"explain", "ɛksplˈeɪn", "ɛkˈspleɪn"},
            {"mistake", "mɪstˈeɪk", "mɪˈsteɪk"},
            {"complete", "kəmplˈiːt", "kəmˈpliːt"},
            {"display", "dɪsplˈeɪ", "dɪˈspleɪ"},
            {"important", "ɪmpˈɔːtənt", "ɪmˈpɔːtənt"},
            {"abstraction", "ɐbstɹˈakʃən", "ɐbˈstɹakʃən"},
            {"instead", "ɪnstˈɛd", "ɪnˈstɛd"},
            {"outstanding", "aʊtstˈandɪŋ", "aʊtˈstandɪŋ"},
            {"unstable", "ʌnstˈeɪbəl", "ʌnˈsteɪbəl"},
            {"upstairs", "ʌpstˈeəz", "ʌpˈsteəz"},
            {"describe", "dɪskɹˈaɪb", "dɪˈskɹaɪb"},
            {"mosquito", "məskˈiːtəʊ", "məˈskiːtəʊ"},
            {"dislike", "dɪslˈaɪk", "dɪˈslaɪk"},
            {"Atlantic", "ɐtlˈantɪk", "ɐtˈlantɪk"},
            {"athletic", "aθlˈɛtɪk", "aθˈlɛtɪk"},
            {"september", "sɛptˈɛmbə", "sɛpˈtɛmbə"},
            {"Antarctic", "antˈɑːktɪk", "anˈtɑːktɪk"},
            {"canteen", "kantˈiːn", "kanˈtiːn"},
            {"enclose", "ɛŋklˈəʊz", "ɛŋˈkləʊz"},
            {"inquire", "ɪŋkwˈaɪə", "ɪŋˈkwaɪə"},
            {"engage", "ɛŋɡˈeɪdʒ", "ɛŋˈɡeɪdʒ"},
            {"anxiety", "aŋzˈaɪəti", "aŋˈzaɪəti"},
            {"enjoy", "ɛndʒˈɔɪ", "ɛnˈdʒɔɪ"},
            {"exist", "ɛɡzˈɪst", "ɛɡˈzɪst"},
            {"umbrella", "ʌmbɹˈɛlə", "ʌmˈbɹɛlə"},
            {"employ", "ɛmplˈɔɪ", "ɛmˈplɔɪ"},
            {"cathedral", "kɐθˈiːdɹəl", "kɐˈθiːdɹəl"},
            {"volcano", "vɒlkˈeɪnəʊ", "vɒlˈkeɪnəʊ"},
            {"spaghetti", "spɐɡˈɛti", "spɐˈɡɛti"},
            {"tsunami", "tsuːnˈɑːmi", "tsuːˈnɑːmi"},
            // Notations espeak-ng does not use here: a tied affricate, a syllabic consonant, r and g.
            {"a tied affricate", "ɪnt͡ʃˈɑː", "ɪnˈt͡ʃɑː"},
            {"a syllabic n before the stress", "bʌtn̩ˈhəʊl", "bʌtn̩ˈhəʊl"},
            {"r and g for ɹ and ɡ", "ɪŋgrˈeɪt", "ɪŋˈgreɪt"},
        };
        for (const auto &row : rows)
            QTest::newRow(row[0]) << QString::fromUtf8(row[1]) << QString::fromUtf8(row[2]);
    }

    void dictionaryPlacement()
    {
        QFETCH(QString, espeak);
        QFETCH(QString, dictionary);
        QCOMPARE(stressAtSyllableStart(QLatin1Char('/') + espeak + QLatin1Char('/')),
                 QLatin1Char('/') + dictionary + QLatin1Char('/'));
        // A transcription already in place stays as it is.
        QCOMPARE(stressAtSyllableStart(dictionary), dictionary);
    }
};

QTEST_GUILESS_MAIN(TestStressMarks)
#include "test_stressmarks.moc"
