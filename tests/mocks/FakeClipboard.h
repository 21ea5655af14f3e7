#pragma once

#include "platform/ClipboardSource.h"

// A clipboard a test copies into; the watch reads it as it would the system's.
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
    }

    QString current;
    bool textOffered = false;
    bool secret = false;
};
