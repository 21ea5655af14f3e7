#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

// What the command line asks of a start beyond the window: "--lookup WORD…" or "--lookup-selection" hand a
// word to the running program (or to the one this start becomes).
struct LookupCommand
{
    // Whether the command line asked for a lookup at all.
    bool asked = false;
    // The word to look up; empty with an exit code when there is none.
    QString word;
    // Set when this start ends here: the reason has been written to standard error.
    std::optional<int> exitCode;
};

// Reads the command line; for "--lookup-selection" it reads the primary selection, waiting at most the
// clipboard watch's time limit for its owner.
LookupCommand lookupCommandFrom(int argc, char **argv);

// For the benchmarks and the Wayland scenario: once armed by a lookup or a new search text, reports the next
// paint of the entry as "painted WORD".
class LookupPaintReporter final : public QObject
{
public:
    LookupPaintReporter(std::function<QString()> word, QObject *parent) : QObject(parent), m_word(std::move(word)) { }
    void arm() { m_armed = true; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<QString()> m_word;
    bool m_armed = false;
};
