#pragma once
// Watches every stylus and key event of the thread before it reaches its widget: offers
// it as a window message for pre-translation; a consumed one goes no further.

#include <QObject>

namespace framework {

class InputFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace framework
