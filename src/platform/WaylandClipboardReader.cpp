#include "platform/WaylandClipboardReader.h"

#include "platform/ClipboardFormats.h"

#include "ext-data-control-v1-client.h"
#include "wlr-data-control-unstable-v1-client.h"

#include <QByteArrayList>
#include <QDeadlineTimer>

#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

// Both protocols have the same requests and events in the same order, so one set of listeners serves both; only
// the interface of the device a manager makes differs.
struct WaylandClipboardReader::Connection
{
    wl_display *display = nullptr;
    wl_registry *registry = nullptr;
    wl_seat *seat = nullptr;
    wl_proxy *manager = nullptr;
    const wl_interface *deviceInterface = nullptr;
    bool primaryOffered = false;
    wl_proxy *device = nullptr;
    // The formats each live offer has announced.
    std::map<wl_proxy *, QByteArrayList> offers;
    wl_proxy *clipboard = nullptr;
    wl_proxy *primary = nullptr;
    bool clipboardChanged = false;
    bool finished = false;

    ~Connection()
    {
        for (const auto &offer : offers)
            zwlr_data_control_offer_v1_destroy(reinterpret_cast<zwlr_data_control_offer_v1 *>(offer.first));
        if (device)
            zwlr_data_control_device_v1_destroy(reinterpret_cast<zwlr_data_control_device_v1 *>(device));
        if (manager)
            zwlr_data_control_manager_v1_destroy(reinterpret_cast<zwlr_data_control_manager_v1 *>(manager));
        if (seat)
            wl_seat_destroy(seat);
        if (registry)
            wl_registry_destroy(registry);
        if (display)
            wl_display_disconnect(display);
    }

    // An offer that no selection holds any more is of no use.
    void release(wl_proxy *offer)
    {
        if (!offer || offer == clipboard || offer == primary)
            return;
        offers.erase(offer);
        zwlr_data_control_offer_v1_destroy(reinterpret_cast<zwlr_data_control_offer_v1 *>(offer));
    }
};

namespace {

using Connection = WaylandClipboardReader::Connection;

void offerFormat(void *data, zwlr_data_control_offer_v1 *offer, const char *mimeType)
{
    static_cast<Connection *>(data)->offers[reinterpret_cast<wl_proxy *>(offer)].append(QByteArray(mimeType));
}
const zwlr_data_control_offer_v1_listener offerListener = {offerFormat};

void deviceOffer(void *data, zwlr_data_control_device_v1 *, zwlr_data_control_offer_v1 *offer)
{
    auto *w = static_cast<Connection *>(data);
    w->offers[reinterpret_cast<wl_proxy *>(offer)];
    zwlr_data_control_offer_v1_add_listener(offer, &offerListener, w);
}
void deviceSelection(void *data, zwlr_data_control_device_v1 *, zwlr_data_control_offer_v1 *offer)
{
    auto *w = static_cast<Connection *>(data);
    wl_proxy *old = w->clipboard;
    w->clipboard = reinterpret_cast<wl_proxy *>(offer);
    w->release(old);
    w->clipboardChanged = true;
}
void deviceFinished(void *data, zwlr_data_control_device_v1 *)
{
    static_cast<Connection *>(data)->finished = true;
}
void devicePrimary(void *data, zwlr_data_control_device_v1 *, zwlr_data_control_offer_v1 *offer)
{
    auto *w = static_cast<Connection *>(data);
    wl_proxy *old = w->primary;
    w->primary = reinterpret_cast<wl_proxy *>(offer);
    w->release(old);
}
const zwlr_data_control_device_v1_listener deviceListener = {deviceOffer, deviceSelection, deviceFinished, devicePrimary};

void registryGlobal(void *data, wl_registry *registry, uint32_t name, const char *interface, uint32_t version)
{
    auto *w = static_cast<Connection *>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !w->seat) {
        w->seat = static_cast<wl_seat *>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, ext_data_control_manager_v1_interface.name) == 0) {
        // The standard protocol wins over the older one whichever the compositor lists first.
        if (w->manager)
            zwlr_data_control_manager_v1_destroy(reinterpret_cast<zwlr_data_control_manager_v1 *>(w->manager));
        w->manager = static_cast<wl_proxy *>(wl_registry_bind(registry, name, &ext_data_control_manager_v1_interface, 1));
        w->deviceInterface = &ext_data_control_device_v1_interface;
        w->primaryOffered = true;
    } else if (std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0
               && w->deviceInterface != &ext_data_control_device_v1_interface) {
        const uint32_t bound = std::min<uint32_t>(version, 2);
        w->manager = static_cast<wl_proxy *>(wl_registry_bind(registry, name, &zwlr_data_control_manager_v1_interface, bound));
        w->deviceInterface = &zwlr_data_control_device_v1_interface;
        w->primaryOffered = bound >= 2;
    }
}
void registryRemove(void *, wl_registry *, uint32_t) { }
const wl_registry_listener registryListener = {registryGlobal, registryRemove};

std::unique_ptr<Connection> connectToCompositor()
{
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return nullptr;
    auto w = std::make_unique<Connection>();
    w->display = wl_display_connect(nullptr);
    if (!w->display)
        return nullptr;
    w->registry = wl_display_get_registry(w->display);
    wl_registry_add_listener(w->registry, &registryListener, w.get());
    if (wl_display_roundtrip(w->display) < 0 || !w->manager || !w->seat)
        return nullptr;
    // get_data_device, with the device interface of the protocol bound.
    w->device = wl_proxy_marshal_flags(w->manager, ZWLR_DATA_CONTROL_MANAGER_V1_GET_DATA_DEVICE, w->deviceInterface,
                                       wl_proxy_get_version(w->manager), 0, nullptr, w->seat);
    if (!w->device)
        return nullptr;
    zwlr_data_control_device_v1_add_listener(reinterpret_cast<zwlr_data_control_device_v1 *>(w->device), &deviceListener,
                                             w.get());
    // The compositor answers with the present selections.
    if (wl_display_roundtrip(w->display) < 0)
        return nullptr;
    return w;
}

// What the owner sends for one format; nothing when it does not finish within the time limit. Other requests
// are not served meanwhile: the transfer runs between the owner and this pipe.
std::optional<QByteArray> receive(Connection &w, wl_proxy *offer, const QByteArray &format, int stopFd)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return std::nullopt;
    zwlr_data_control_offer_v1_receive(reinterpret_cast<zwlr_data_control_offer_v1 *>(offer), format.constData(), fds[1]);
    ::close(fds[1]);
    wl_display_flush(w.display);
    const QDeadlineTimer deadline(WaylandClipboardReader::kTimeoutMs);
    QByteArray data;
    for (;;) {
        char buffer[8192];
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n > 0) {
            // More than any lookup needs: the rest is not kept.
            if (data.size() < 16 * 1024 * 1024)
                data.append(buffer, n);
            continue;
        }
        if (n == 0) {
            ::close(fds[0]);
            return data;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN || deadline.hasExpired())
            break;
        pollfd p[2] = {{fds[0], POLLIN, 0}, {stopFd, POLLIN, 0}};
        if (::poll(p, 2, int(deadline.remainingTime())) <= 0 || p[1].revents)
            break;
    }
    ::close(fds[0]);
    return std::nullopt;
}

ClipboardAnswer readOffer(Connection &w, wl_proxy *offer, int stopFd)
{
    ClipboardAnswer answer;
    if (!offer)
        return answer;
    const QByteArrayList formats = w.offers[offer];
    int bestRank = -1;
    QByteArray best;
    for (const QByteArray &format : formats) {
        const auto rank = clipboardTextRank(format);
        if (rank && (bestRank < 0 || *rank < bestRank)) {
            bestRank = *rank;
            best = format;
        }
    }
    if (best.isEmpty())
        return answer;
    if (formats.contains("x-kde-passwordManagerHint")) {
        const auto hint = receive(w, offer, "x-kde-passwordManagerHint", stopFd);
        answer.secret = hint && hint->trimmed() == "secret";
    }
    const auto text = receive(w, offer, best, stopFd);
    if (!text) {
        answer.answered = false;
        return answer;
    }
    answer.hasText = true;
    answer.text = clipboardTextOf(best, *text);
    return answer;
}

} // namespace

std::unique_ptr<WaylandClipboardReader> WaylandClipboardReader::connect(std::function<void(const ClipboardAnswer &)> deliver)
{
    auto w = connectToCompositor();
    if (!w)
        return nullptr;
    return std::unique_ptr<WaylandClipboardReader>(new WaylandClipboardReader(std::move(w), std::move(deliver)));
}

std::optional<ClipboardAnswer> WaylandClipboardReader::readPrimarySelection()
{
    const auto w = connectToCompositor();
    if (!w || !w->primaryOffered)
        return std::nullopt;
    return readOffer(*w, w->primary, -1);
}

WaylandClipboardReader::WaylandClipboardReader(std::unique_ptr<Connection> connection,
                                               std::function<void(const ClipboardAnswer &)> deliver)
    : m_w(std::move(connection)), m_deliver(std::move(deliver))
{
    if (::pipe2(m_wakePipe, O_CLOEXEC | O_NONBLOCK) != 0)
        m_wakePipe[0] = m_wakePipe[1] = -1;
    // The first read tells what the clipboard holds at start.
    m_w->clipboardChanged = true;
    m_thread = std::thread([this] { run(); });
}

WaylandClipboardReader::~WaylandClipboardReader()
{
    m_stopping = true;
    if (m_wakePipe[1] >= 0)
        (void)!::write(m_wakePipe[1], "x", 1);
    m_thread.join();
    for (int fd : m_wakePipe) {
        if (fd >= 0)
            ::close(fd);
    }
}

void WaylandClipboardReader::request()
{
    m_requested = true;
    if (m_wakePipe[1] >= 0)
        (void)!::write(m_wakePipe[1], "x", 1);
}

void WaylandClipboardReader::run()
{
    wl_display *display = m_w->display;
    for (;;) {
        if (m_stopping)
            return;
        if (m_w->clipboardChanged || m_requested.exchange(false)) {
            m_w->clipboardChanged = false;
            const ClipboardAnswer answer = readOffer(*m_w, m_w->clipboard, -1);
            if (m_stopping)
                return;
            m_deliver(answer);
            continue;
        }
        // The compositor ended the device (another seat, a lost connection): nothing more will come.
        if (m_w->finished)
            return;
        while (wl_display_prepare_read(display) != 0)
            wl_display_dispatch_pending(display);
        wl_display_flush(display);
        pollfd fds[2] = {{wl_display_get_fd(display), POLLIN, 0}, {m_wakePipe[0], POLLIN, 0}};
        const int rc = ::poll(fds, 2, -1);
        if (rc > 0 && (fds[0].revents & POLLIN)) {
            if (wl_display_read_events(display) < 0)
                return;
        } else {
            wl_display_cancel_read(display);
            if (rc > 0 && (fds[0].revents & (POLLERR | POLLHUP)))
                return;
        }
        if (fds[1].revents & POLLIN) {
            char drain[64];
            while (::read(m_wakePipe[0], drain, sizeof drain) > 0) {
            }
        }
        if (wl_display_dispatch_pending(display) < 0)
            return;
    }
}
