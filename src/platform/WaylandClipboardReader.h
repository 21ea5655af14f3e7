#pragma once

#include "platform/X11ClipboardReader.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

// Reads the clipboard of a Wayland session through the compositor's data-control protocol
// (ext-data-control-v1, else zwlr_data_control_manager_v1), on a connection and a thread of its own, while the
// window itself stays on XWayland: XWayland hears of a copy only while one of its own windows has the focus,
// data control of every copy. The rules are the X reader's: plain text only, a password manager's mark
// honoured, and an owner that does not answer within the time limit gives nothing.
class WaylandClipboardReader final
{
public:
    static constexpr int kTimeoutMs = X11ClipboardReader::kTimeoutMs;

    // Null when no Wayland compositor can be reached or it offers no data control. `deliver` runs on the
    // reader's thread after the first read and after every change of the clipboard.
    static std::unique_ptr<WaylandClipboardReader> connect(std::function<void(const ClipboardAnswer &)> deliver);
    // One read of the primary selection on the calling thread; nothing when data control offers none.
    static std::optional<ClipboardAnswer> readPrimarySelection();
    ~WaylandClipboardReader();
    WaylandClipboardReader(const WaylandClipboardReader &) = delete;
    WaylandClipboardReader &operator=(const WaylandClipboardReader &) = delete;

    // Asks for another read (after an owner that did not answer in time) and returns at once.
    void request();

    struct Connection;

private:
    WaylandClipboardReader(std::unique_ptr<Connection> connection, std::function<void(const ClipboardAnswer &)> deliver);
    void run();

    std::unique_ptr<Connection> m_w;
    std::function<void(const ClipboardAnswer &)> m_deliver;
    std::atomic<bool> m_requested = false;
    std::atomic<bool> m_stopping = false;
    int m_wakePipe[2] = {-1, -1};
    std::thread m_thread;
};
