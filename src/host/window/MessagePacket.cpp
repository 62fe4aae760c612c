#include "host/window/MessagePacket.h"

#include <cstring>

namespace host {

namespace {

constexpr std::uint32_t kMark = 0x4B57'4D31;  // "KWM1"

// Layout: mark, kind, window, message, time, wParam, lParam, serial; native byte order,
// since both ends are processes of one host.
constexpr std::size_t kMarkAt = 0;
constexpr std::size_t kKindAt = 4;
constexpr std::size_t kWindowAt = 8;
constexpr std::size_t kMessageAt = 16;
constexpr std::size_t kTimeAt = 20;
constexpr std::size_t kWParamAt = 24;
constexpr std::size_t kLParamAt = 32;
constexpr std::size_t kSerialAt = 40;
static_assert(kSerialAt + 8 == MessagePacket::kSize);

template <class T>
void put(MessagePacket::Bytes& bytes, std::size_t at, T value) {
    std::memcpy(bytes.data() + at, &value, sizeof value);
}

template <class T>
T get(std::span<const std::uint8_t> bytes, std::size_t at) {
    T value;
    std::memcpy(&value, bytes.data() + at, sizeof value);
    return value;
}

}  // namespace

MessagePacket::Bytes MessagePacket::to_bytes() const {
    Bytes bytes{};
    put(bytes, kMarkAt, kMark);
    put(bytes, kKindAt, static_cast<std::uint32_t>(kind));
    put(bytes, kWindowAt, static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(message.hwnd)));
    put(bytes, kMessageAt, std::uint32_t{message.message});
    put(bytes, kTimeAt, std::uint32_t{message.time});
    put(bytes, kWParamAt, std::uint64_t{message.wParam});
    put(bytes, kLParamAt, std::int64_t{message.lParam});
    put(bytes, kSerialAt, serial);
    return bytes;
}

std::optional<MessagePacket> MessagePacket::from_bytes(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != kSize || get<std::uint32_t>(bytes, kMarkAt) != kMark) return std::nullopt;
    const auto kind = get<std::uint32_t>(bytes, kKindAt);
    if (kind < static_cast<std::uint32_t>(Kind::post) || kind > static_cast<std::uint32_t>(Kind::reply))
        return std::nullopt;
    MessagePacket packet;
    packet.kind = static_cast<Kind>(kind);
    packet.message.hwnd =
        reinterpret_cast<ce::HWND>(static_cast<std::uintptr_t>(get<std::uint64_t>(bytes, kWindowAt)));
    packet.message.message = get<std::uint32_t>(bytes, kMessageAt);
    packet.message.time = get<std::uint32_t>(bytes, kTimeAt);
    packet.message.wParam = static_cast<ce::WPARAM>(get<std::uint64_t>(bytes, kWParamAt));
    packet.message.lParam = static_cast<ce::LPARAM>(get<std::int64_t>(bytes, kLParamAt));
    packet.serial = get<std::uint64_t>(bytes, kSerialAt);
    return packet;
}

}  // namespace host
