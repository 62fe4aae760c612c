#pragma once
// The process's socket for window messages from other processes of the handheld:
// run/windows/PID.sock, a datagram socket, made when the process makes its first
// top-level window. A listening thread puts each message that arrives into the queue
// of the thread that owns the window, in the order the messages arrived, and answers
// sent messages once they are handled. Malformed datagrams, messages for windows
// this process no longer has and those posted to a window with too many waiting are
// logged to log/messages.log and dropped. An answer
// goes out without waiting: a sender that does not take its answers loses them (with a
// log line) rather than stopping the thread that answers. The log lines of a flood are
// counted rather than written one by one (RefusalLog). The thread stops at the process's
// exit, before the handheld it logs to and delivers for is closed.

#include <sys/socket.h>
#include <sys/un.h>

#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>

#include "ce/Messages.h"
#include "host/RefusalLog.h"
#include "host/process/ProcessIdentity.h"
#include "host/window/MessagePacket.h"

namespace host {

class MessagePort {
public:
    static constexpr const char* kLogName = "messages";

    static MessagePort& instance();

    // Listens on the current handheld's socket for this process (again after the
    // process switched handhelds); false, with a log line, when the socket cannot be made.
    bool listen();

    // Posts to a window of the process `owner`; false when its socket cannot be reached.
    bool post(pid_t owner, const ce::MSG& message);
    // Sends and waits for the answer; nothing when the process cannot be reached or
    // ends before it answers.
    std::optional<ce::LRESULT> send(const ProcessIdentity& owner, const ce::MSG& message);

    static std::filesystem::path socket_of(pid_t pid);

private:
    MessagePort() = default;
    void serve();
    // From the process's exit: returns once the thread is not handling a message and
    // will handle none again.
    void stop_serving();
    void receive(int socket);
    void handle(const MessagePacket& packet, const sockaddr_un& from, socklen_t from_length);
    bool send_to(int socket, const MessagePacket& packet, const sockaddr_un& to, socklen_t to_length,
                 int flags = 0);
    void answer(const MessagePacket& reply, std::uint32_t message, const sockaddr_un& to, socklen_t to_length);
    int sending_socket();

    RefusalLog refusals_{kLogName};
    std::mutex lock_;
    std::filesystem::path bound_;
    int listening_ = -1;
    int replaced_ = -1;  // a socket of the previous handheld, for the listening thread to close
    int wake_ = -1;      // eventfd that tells the listening thread its socket changed
    int sending_ = -1;
    bool serving_ = false;
    // Held by the thread while it handles what arrived; `stopped_` is set under it.
    std::mutex handling_;
    bool stopped_ = false;
    std::thread::id server_;
};

}  // namespace host
