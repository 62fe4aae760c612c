#include "framework/MessageEvent.h"

#include "ce/Input.h"

namespace framework {

QEvent::Type MessageEvent::MessageType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

QEvent::Type MessageEvent::InputType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

bool MessageEvent::IsInput(ce::UINT message) {
    return (message >= ce::WM_KEYFIRST && message <= ce::WM_KEYLAST) || (message >= 0x0200 && message <= 0x0209);
}

}  // namespace framework
