#pragma once

#include "platform/ClipboardSource.h"

// A clipboard a test copies into; the watch and the edit commands read it as they would the system's.
class FakeClipboard final : public ClipboardSource
{
public:
    bool hasText() override { return textOffered; }
    QString text() override { return current; }
    bool isSecret() override { return secret; }

    void copy(const QString &text, bool isSecretCopy = false)
    {
        current = text;
        textOffered = true;
        secret = isSecretCopy;
        emit changed();
    }

    QString current;
    bool textOffered = false;
    bool secret = false;
};
