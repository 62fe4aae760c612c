#include "host/window/MessagePort.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <system_error>
#include <thread>

#include "host/Device.h"
#include "host/DeviceLog.h"
#include "host/window/SentReply.h"
#include "host/window/WindowTable.h"

namespace host {

namespace {

// A receiver whose queue is full for this long is taken as gone.
constexpr int kSendTimeoutSeconds = 5;
// How often a caller waiting for an answer checks that the answering process still runs.
constexpr int kAliveCheckMs = 200;

std::optional<sockaddr_un> address_of(const std::filesystem::path& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string text = path.string();
    if (text.size() >= sizeof address.sun_path) return std::nullopt;
    std::memcpy(address.sun_path, text.c_str(), text.size() + 1);
    return address;
}

int datagram_socket() {
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    const timeval timeout{kSendTimeoutSeconds, 0};
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    return fd;
}

void log_line(const std::string& text) { DeviceLog(MessagePort::kLogName).write(text); }

std::string hex(std::uint64_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
    return text;
}

// The answer to a caller in another process: a reply datagram to the socket it sent from.
class RemoteReply : public SentReply {
public:
    RemoteReply(std::function<void(const MessagePacket&)> send, std::uint64_t serial)
        : send_(std::move(send)), serial_(serial) {}

protected:
    void deliver(ce::LRESULT result) override {
        MessagePacket reply;
        reply.kind = MessagePacket::Kind::reply;
        reply.message.lParam = result;
        reply.serial = serial_;
        send_(reply);
    }

private:
    std::function<void(const MessagePacket&)> send_;
    std::uint64_t serial_;
};

}  // namespace

MessagePort& MessagePort::instance() {
    static auto* port = new MessagePort;  // its thread runs until the process ends
    return *port;
}

std::filesystem::path MessagePort::socket_of(pid_t pid) {
    return Device::current().run_dir() / "windows" / (std::to_string(pid) + ".sock");
}

bool MessagePort::listen() {
    const std::filesystem::path path = socket_of(getpid());
    std::lock_guard guard(lock_);
    if (listening_ >= 0 && bound_ == path) return true;
    const auto address = address_of(path);
    if (!address) {
        log_line("cannot listen for window messages: socket path too long: " + path.string());
        return false;
    }
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    // A process that had this id before left its socket behind.
    unlink(path.c_str());
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || bind(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0) {
        log_line("cannot listen for window messages at " + path.string() + ": " + std::strerror(errno));
        if (fd >= 0) close(fd);
        return false;
    }
    if (wake_ < 0) wake_ = eventfd(0, EFD_CLOEXEC);
    if (listening_ >= 0) {
        if (replaced_ >= 0) close(replaced_);
        replaced_ = listening_;
    }
    listening_ = fd;
    bound_ = path;
    if (!serving_) {
        std::thread thread([this] { serve(); });
        server_ = thread.get_id();
        thread.detach();
        serving_ = true;
        // Exit destroys the handheld's database and log while the thread would still use
        // them for a message that comes late (the key-up of a key that closed the program).
        std::atexit([] { instance().stop_serving(); });
    } else {
        const std::uint64_t one = 1;
        if (write(wake_, &one, sizeof one) != sizeof one) log_line("cannot wake the message listener");
    }
    return true;
}

void MessagePort::stop_serving() {
    // The socket goes with the process: nothing answers at it any more.
    {
        std::lock_guard guard(lock_);
        if (!bound_.empty()) unlink(bound_.c_str());
    }
    // exit() called from a handler on the thread itself: it holds `handling_` already.
    if (std::this_thread::get_id() == server_) {
        stopped_ = true;
        return;
    }
    std::lock_guard guard(handling_);
    stopped_ = true;
}

void MessagePort::serve() {
    for (;;) {
        int socket;
        {
            std::lock_guard guard(lock_);
            if (replaced_ >= 0) {
                close(replaced_);
                replaced_ = -1;
            }
            socket = listening_;
        }
        std::array<pollfd, 2> ready{pollfd{socket, POLLIN, 0}, pollfd{wake_, POLLIN, 0}};
        std::optional<std::chrono::milliseconds> refusals_due;
        {
            std::lock_guard handling(handling_);
            if (stopped_) return;
            refusals_due = refusals_.flush();
        }
        if (poll(ready.data(), ready.size(), refusals_due ? static_cast<int>(refusals_due->count()) : -1) < 0)
            continue;
        std::lock_guard handling(handling_);
        if (stopped_) return;
        if ((ready[1].revents & POLLIN) != 0) {
            std::uint64_t count;
            if (read(wake_, &count, sizeof count) < 0) continue;
        }
        if ((ready[0].revents & POLLIN) != 0) receive(socket);
    }
}

void MessagePort::receive(int socket) {
    // One byte more than a packet, so that a longer datagram shows as malformed.
    std::array<std::uint8_t, MessagePacket::kSize + 1> bytes;
    sockaddr_un from{};
    socklen_t from_length = sizeof from;
    // MSG_TRUNC: the datagram's own length, however much of it fits.
    const ssize_t got = recvfrom(socket, bytes.data(), bytes.size(), MSG_DONTWAIT | MSG_TRUNC,
                                 reinterpret_cast<sockaddr*>(&from), &from_length);
    if (got < 0) return;
    const std::size_t kept = std::min(static_cast<std::size_t>(got), bytes.size());
    const auto packet = MessagePacket::from_bytes(std::span(bytes.data(), kept));
    if (!packet || packet->kind == MessagePacket::Kind::reply) {
        refusals_.refuse("dropped a malformed window message of " + std::to_string(got) + " bytes");
        return;
    }
    handle(*packet, from, from_length);
}

void MessagePort::handle(const MessagePacket& packet, const sockaddr_un& from, socklen_t from_length) {
    std::shared_ptr<SentReply> reply;
    if (packet.kind == MessagePacket::Kind::send)
        reply = std::make_shared<RemoteReply>(
            [this, from, from_length, message = packet.message.message](const MessagePacket& result) {
                answer(result, message, from, from_length);
            },
            packet.serial);
    const auto target = WindowTable::instance().find(packet.message.hwnd);
    const auto posted = target != nullptr ? target->deliver(packet.message, reply) : ce::WindowProcedure::Posted::gone;
    const std::string what = "dropped message " + hex(packet.message.message) + " for window " +
                             hex(reinterpret_cast<std::uintptr_t>(packet.message.hwnd));
    if (posted == ce::WindowProcedure::Posted::gone) {
        refusals_.refuse(what + ", which this process no longer has");
        if (reply != nullptr) reply->answer(0);
    } else if (posted == ce::WindowProcedure::Posted::full) {
        refusals_.refuse(what + ": too many posted messages wait for it already");
    }
}

int MessagePort::sending_socket() {
    std::lock_guard guard(lock_);
    if (sending_ < 0) sending_ = datagram_socket();
    return sending_;
}

bool MessagePort::send_to(int socket, const MessagePacket& packet, const sockaddr_un& to, socklen_t to_length,
                          int flags) {
    const auto bytes = packet.to_bytes();
    ssize_t sent;
    do {
        sent = sendto(socket, bytes.data(), bytes.size(), flags, reinterpret_cast<const sockaddr*>(&to), to_length);
    } while (sent < 0 && errno == EINTR);
    return sent == static_cast<ssize_t>(bytes.size());
}

// Answers on the thread that handled the message, which must not wait for the sender:
// a sender whose socket is full (it does not read its answers) or gone loses the answer.
void MessagePort::answer(const MessagePacket& reply, std::uint32_t message, const sockaddr_un& to,
                         socklen_t to_length) {
    if (send_to(sending_socket(), reply, to, to_length, MSG_DONTWAIT)) return;
    refusals_.refuse("dropped the answer to message " + hex(message) + ": its sender does not take it (" +
                     std::strerror(errno) + ")");
}

bool MessagePort::post(pid_t owner, const ce::MSG& message) {
    const auto address = address_of(socket_of(owner));
    if (!address) return false;
    MessagePacket packet;
    packet.message = message;
    if (send_to(sending_socket(), packet, *address, sizeof *address)) return true;
    log_line("cannot post message " + hex(message.message) + " to process " + std::to_string(owner) + ": " +
             std::strerror(errno));
    return false;
}

std::optional<ce::LRESULT> MessagePort::send(const ProcessIdentity& owner, const ce::MSG& message) {
    static std::atomic<std::uint64_t> serials{0};
    const auto address = address_of(socket_of(owner.pid));
    if (!address) return std::nullopt;
    const int fd = datagram_socket();
    if (fd < 0) return std::nullopt;
    // An address of the kernel's choosing, for the answer to come back to.
    const sockaddr_un self{AF_UNIX, {}};
    MessagePacket packet;
    packet.kind = MessagePacket::Kind::send;
    packet.message = message;
    packet.serial = ++serials;
    std::optional<ce::LRESULT> result;
    const bool sent = bind(fd, reinterpret_cast<const sockaddr*>(&self), sizeof(sa_family_t)) == 0 &&
                      send_to(fd, packet, *address, sizeof *address);
    if (!sent)
        log_line("cannot send message " + hex(message.message) + " to process " + std::to_string(owner.pid) + ": " +
                 std::strerror(errno));
    if (sent) {
        while (!result) {
            pollfd ready{fd, POLLIN, 0};
            if (poll(&ready, 1, kAliveCheckMs) > 0) {
                MessagePacket::Bytes bytes;
                const ssize_t got = recv(fd, bytes.data(), bytes.size(), 0);
                const auto answer =
                    got < 0 ? std::nullopt : MessagePacket::from_bytes(std::span(bytes.data(), static_cast<std::size_t>(got)));
                if (answer && answer->kind == MessagePacket::Kind::reply && answer->serial == packet.serial)
                    result = answer->message.lParam;
            } else if (!owner.alive()) {
                log_line("process " + std::to_string(owner.pid) + " ended before it answered message " +
                         hex(message.message));
                break;
            }
        }
    }
    close(fd);
    return result;
}

}  // namespace host
