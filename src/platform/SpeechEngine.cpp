#include "platform/SpeechEngine.h"

// Out of line so that the vtables live in one object file.
SpeechEngine::~SpeechEngine() = default;
SpeechRuntime::~SpeechRuntime() = default;
