#include "framework/TapFilter.h"

#include <QEvent>
#include <QWidget>

namespace framework {

TapFilter::TapFilter(QWidget* control, std::function<void()> on_tap) : QObject(control), on_tap_(std::move(on_tap)) {}

void TapFilter::Install(QWidget* control, std::function<void()> on_tap) {
    if (control != nullptr) control->installEventFilter(new TapFilter(control, std::move(on_tap)));
}

bool TapFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress) return QObject::eventFilter(watched, event);
    if (auto* control = qobject_cast<QWidget*>(watched); control != nullptr && control->isEnabled()) on_tap_();
    return true;
}

}  // namespace framework
