#pragma once
// A window message as it travels between the processes of a handheld: one datagram of
// fixed size on the receiving process's socket. A posted message needs no answer; a sent
// message is answered with a reply datagram on the socket it came from.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "ce/Messages.h"

namespace host {

struct MessagePacket {
    enum class Kind : std::uint32_t { post = 1, send = 2, reply = 3 };

    Kind kind = Kind::post;
    ce::MSG message;           // for a reply, only lParam is used: the result
    std::uint64_t serial = 0;  // pairs a reply with its send

    static constexpr std::size_t kSize = 48;
    using Bytes = std::array<std::uint8_t, kSize>;

    Bytes to_bytes() const;
    // Nothing for bytes that are not a packet of this handheld (wrong size, mark or kind).
    static std::optional<MessagePacket> from_bytes(std::span<const std::uint8_t> bytes);
};

}  // namespace host
