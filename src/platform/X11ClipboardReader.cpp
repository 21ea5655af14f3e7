#include "platform/X11ClipboardReader.h"

#include "platform/ClipboardFormats.h"

#include <QByteArrayList>
#include <QDeadlineTimer>

#include <xcb/xcb.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

// More than any lookup or paste needs; a larger offer is cut here rather than held in memory whole.
constexpr quint32 kMaxBytes = 16 * 1024 * 1024;
// A reply that comes after its time-out may land in a property: each question uses the next of these.
constexpr int kPropertySlots = 8;

struct XcbFree
{
    void operator()(void *p) const { std::free(p); }
};
template<typename T>
using Reply = std::unique_ptr<T, XcbFree>;

enum class Outcome { Data, Refused, TimedOut };

struct Converted
{
    Outcome outcome = Outcome::TimedOut;
    xcb_atom_t type = XCB_NONE;
    QByteArray data;
};

} // namespace

struct X11ClipboardReader::Connection
{
    xcb_connection_t *c = nullptr;
    xcb_window_t window = XCB_NONE;
    // The selection read: CLIPBOARD, or PRIMARY for the highlighted text.
    xcb_atom_t selection = XCB_NONE;
    xcb_atom_t clipboard = XCB_NONE, targets = XCB_NONE, incr = XCB_NONE, utf8 = XCB_NONE, latin1 = XCB_NONE,
               plain = XCB_NONE, plainUtf8 = XCB_NONE, secretHint = XCB_NONE;
    xcb_atom_t propertySlot[kPropertySlots] = {};
    int nextSlot = 0;
    int stopFd = -1;

    ~Connection()
    {
        if (c)
            xcb_disconnect(c);
    }

    xcb_atom_t intern(const QByteArray &name) const
    {
        Reply<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(name.size()), name.constData()), nullptr));
        return reply ? reply->atom : XCB_NONE;
    }

    // Waits for the next event of this window that `wanted` accepts; null on time-out, stop or a broken link.
    template<typename Wanted>
    Reply<xcb_generic_event_t> waitFor(const QDeadlineTimer &deadline, Wanted wanted)
    {
        for (;;) {
            while (xcb_generic_event_t *raw = xcb_poll_for_event(c)) {
                Reply<xcb_generic_event_t> event(raw);
                if (wanted(event.get()))
                    return event;
            }
            if (xcb_connection_has_error(c) || deadline.hasExpired())
                return nullptr;
            pollfd fds[2] = {{xcb_get_file_descriptor(c), POLLIN, 0}, {stopFd, POLLIN, 0}};
            const int rc = ::poll(fds, 2, int(deadline.remainingTime()));
            if (rc < 0 && errno != EINTR)
                return nullptr;
            if (fds[1].revents)
                return nullptr;
        }
    }

    // The whole property, deleted once read: the deletion is what lets an incremental owner go on.
    std::optional<std::pair<xcb_atom_t, QByteArray>> takeProperty(xcb_atom_t property)
    {
        Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            c, xcb_get_property(c, 1, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, kMaxBytes / 4), nullptr));
        if (!reply)
            return std::nullopt;
        const int length = xcb_get_property_value_length(reply.get());
        const auto *value = static_cast<const char *>(xcb_get_property_value(reply.get()));
        if (reply->bytes_after > 0) // too large to be kept whole: the rest goes with the property
            xcb_delete_property(c, window, property);
        return std::make_pair(reply->type, QByteArray(value, length));
    }

    Converted convert(xcb_atom_t target)
    {
        const QDeadlineTimer deadline(kTimeoutMs);
        const xcb_atom_t property = propertySlot[nextSlot];
        nextSlot = (nextSlot + 1) % kPropertySlots;
        xcb_delete_property(c, window, property);
        xcb_convert_selection(c, window, selection, target, property, XCB_CURRENT_TIME);
        xcb_flush(c);
        const auto notify = waitFor(deadline, [&](xcb_generic_event_t *e) {
            if ((e->response_type & 0x7f) != XCB_SELECTION_NOTIFY)
                return false;
            const auto *n = reinterpret_cast<xcb_selection_notify_event_t *>(e);
            return n->requestor == window && n->selection == selection && n->target == target;
        });
        Converted result;
        if (!notify)
            return result;
        if (reinterpret_cast<xcb_selection_notify_event_t *>(notify.get())->property == XCB_NONE) {
            result.outcome = Outcome::Refused;
            return result;
        }
        auto first = takeProperty(property);
        if (!first)
            return result;
        result.outcome = Outcome::Data;
        result.type = first->first;
        if (result.type != incr) {
            result.data = first->second;
            return result;
        }
        // An incremental transfer: each chunk is a new value of the property, an empty one ends it.
        for (;;) {
            const QDeadlineTimer chunkDeadline(kTimeoutMs);
            const auto changed = waitFor(chunkDeadline, [&](xcb_generic_event_t *e) {
                if ((e->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
                    return false;
                const auto *p = reinterpret_cast<xcb_property_notify_event_t *>(e);
                return p->window == window && p->atom == property && p->state == XCB_PROPERTY_NEW_VALUE;
            });
            auto chunk = changed ? takeProperty(property) : std::nullopt;
            if (!chunk) {
                result.outcome = Outcome::TimedOut;
                return result;
            }
            if (chunk->second.isEmpty())
                return result;
            result.type = chunk->first;
            if (quint32(result.data.size()) < kMaxBytes)
                result.data += chunk->second;
        }
    }

    QByteArrayList atomNames(const std::vector<xcb_atom_t> &atoms) const
    {
        std::vector<xcb_get_atom_name_cookie_t> cookies;
        for (xcb_atom_t atom : atoms)
            cookies.push_back(xcb_get_atom_name(c, atom));
        QByteArrayList names;
        for (const auto &cookie : cookies) {
            Reply<xcb_get_atom_name_reply_t> reply(xcb_get_atom_name_reply(c, cookie, nullptr));
            names << (reply ? QByteArray(xcb_get_atom_name_name(reply.get()), xcb_get_atom_name_name_length(reply.get()))
                            : QByteArray());
        }
        return names;
    }
};

namespace {

ClipboardAnswer timedOut()
{
    ClipboardAnswer answer;
    answer.answered = false;
    return answer;
}

ClipboardAnswer readClipboard(X11ClipboardReader::Connection &x)
{
    ClipboardAnswer answer;
    Reply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(x.c, xcb_get_selection_owner(x.c, x.selection), nullptr));
    if (!owner)
        return timedOut();
    if (owner->owner == XCB_NONE)
        return answer;

    std::vector<xcb_atom_t> offered;
    const Converted targets = x.convert(x.targets);
    if (targets.outcome == Outcome::TimedOut)
        return timedOut();
    if (targets.outcome == Outcome::Data) {
        const auto *atoms = reinterpret_cast<const xcb_atom_t *>(targets.data.constData());
        offered.assign(atoms, atoms + targets.data.size() / qsizetype(sizeof(xcb_atom_t)));
    } else {
        // An owner without a list of targets may still give text when asked for it.
        offered = {x.utf8, x.latin1};
    }

    const QByteArrayList names = x.atomNames(offered);
    std::optional<int> bestRank;
    xcb_atom_t best = XCB_NONE;
    QByteArray bestName;
    bool hinted = false;
    for (size_t i = 0; i < offered.size(); ++i) {
        hinted = hinted || (offered[i] == x.secretHint && x.secretHint != XCB_NONE);
        const auto rank = clipboardTextRank(names.at(qsizetype(i)));
        if (rank && (!bestRank || *rank < *bestRank)) {
            bestRank = rank;
            best = offered[i];
            bestName = names.at(qsizetype(i));
        }
    }
    if (best == XCB_NONE)
        return answer;
    if (hinted) {
        const Converted hint = x.convert(x.secretHint);
        answer.secret = hint.outcome == Outcome::Data && hint.data.trimmed() == "secret";
    }
    const Converted text = x.convert(best);
    if (text.outcome == Outcome::TimedOut)
        return timedOut();
    answer.hasText = text.outcome == Outcome::Data;
    if (answer.hasText)
        answer.text = clipboardTextOf(bestName, text.data);
    return answer;
}

} // namespace

namespace {

std::unique_ptr<X11ClipboardReader::Connection> connectToX()
{
    auto x = std::make_unique<X11ClipboardReader::Connection>();
    x->c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x->c))
        return nullptr;
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(x->c)).data;
    if (!screen)
        return nullptr;
    x->window = xcb_generate_id(x->c);
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(x->c, XCB_COPY_FROM_PARENT, x->window, screen->root, -1, -1, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, XCB_CW_EVENT_MASK, &events);
    x->clipboard = x->intern("CLIPBOARD");
    x->targets = x->intern("TARGETS");
    x->incr = x->intern("INCR");
    x->utf8 = x->intern("UTF8_STRING");
    x->latin1 = XCB_ATOM_STRING;
    x->secretHint = x->intern("x-kde-passwordManagerHint");
    for (int i = 0; i < kPropertySlots; ++i)
        x->propertySlot[i] = x->intern("VERBARIUM_CLIPBOARD_" + QByteArray::number(i));
    if (xcb_connection_has_error(x->c) || x->clipboard == XCB_NONE)
        return nullptr;
    x->selection = x->clipboard;
    return x;
}

} // namespace

std::unique_ptr<X11ClipboardReader> X11ClipboardReader::connect(std::function<void(const ClipboardAnswer &)> deliver)
{
    auto x = connectToX();
    if (!x)
        return nullptr;
    return std::unique_ptr<X11ClipboardReader>(new X11ClipboardReader(std::move(x), std::move(deliver)));
}

std::optional<ClipboardAnswer> X11ClipboardReader::readPrimarySelection()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return std::nullopt;
    const auto x = connectToX();
    if (!x)
        return std::nullopt;
    x->selection = XCB_ATOM_PRIMARY;
    return readClipboard(*x);
}

X11ClipboardReader::X11ClipboardReader(std::unique_ptr<Connection> connection,
                                       std::function<void(const ClipboardAnswer &)> deliver)
    : m_x(std::move(connection)), m_deliver(std::move(deliver))
{
    if (::pipe2(m_stopPipe, O_CLOEXEC) != 0)
        m_stopPipe[0] = m_stopPipe[1] = -1;
    m_x->stopFd = m_stopPipe[0];
    m_thread = std::thread([this] { run(); });
}

X11ClipboardReader::~X11ClipboardReader()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    // Cuts short a wait for an owner.
    if (m_stopPipe[1] >= 0)
        (void)!::write(m_stopPipe[1], "x", 1);
    m_thread.join();
    for (int fd : m_stopPipe) {
        if (fd >= 0)
            ::close(fd);
    }
}

void X11ClipboardReader::request()
{
    {
        std::lock_guard lock(m_mutex);
        m_requested = true;
    }
    m_wake.notify_one();
}

void X11ClipboardReader::run()
{
    for (;;) {
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_requested || m_stopping; });
            if (m_stopping)
                return;
            m_requested = false;
        }
        const ClipboardAnswer answer = readClipboard(*m_x);
        {
            std::lock_guard lock(m_mutex);
            if (m_stopping)
                return;
        }
        m_deliver(answer);
    }
}
