#pragma once

#include <QString>

// The primary selection (the text last highlighted, without copying it) as the command line reads it.
struct SelectionText
{
    enum class Outcome { Text, NoText, Secret, TimedOut, NoDisplay };
    Outcome outcome = Outcome::NoDisplay;
    QString text;
};

// Reads it once, under the clipboard watch's rules: plain text only, a password manager's mark honoured, and
// an owner that does not answer within the time limit gives nothing.
SelectionText readPrimarySelection();
