#pragma once

#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

// What the clipboard's owner answered: its plain text, if it offers one, and whether it marked it secret.
struct ClipboardAnswer
{
    bool hasText = false;
    QString text;
    bool secret = false;
    // False when the owner did not answer in time; the next read asks again.
    bool answered = true;
};

// Reads the X clipboard on a connection and a thread of its own, so that an owner that is slow or never
// answers costs a wait there, never on the window's thread. Each question to the owner waits at most
// kTimeoutMs. Only plain text counts: UTF8_STRING, text/plain with or without a charset, and STRING.
class X11ClipboardReader final
{
public:
    static constexpr int kTimeoutMs = 300;

    // Null when no X display can be reached. `deliver` runs on the reader's thread after every read.
    static std::unique_ptr<X11ClipboardReader> connect(std::function<void(const ClipboardAnswer &)> deliver);
    // One read of the primary selection (the text last highlighted) on the calling thread, under the same
    // rules and time limit; nothing when no X display can be reached.
    static std::optional<ClipboardAnswer> readPrimarySelection();
    ~X11ClipboardReader();
    X11ClipboardReader(const X11ClipboardReader &) = delete;
    X11ClipboardReader &operator=(const X11ClipboardReader &) = delete;

    // Asks for a read and returns at once; requests made during a read are served by one more read.
    void request();

    struct Connection;

private:

    X11ClipboardReader(std::unique_ptr<Connection> connection, std::function<void(const ClipboardAnswer &)> deliver);
    void run();

    std::unique_ptr<Connection> m_x;
    std::function<void(const ClipboardAnswer &)> m_deliver;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_requested = false;
    bool m_stopping = false;
    int m_stopPipe[2] = {-1, -1};
    std::thread m_thread;
};
