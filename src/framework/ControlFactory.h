#pragma once
// Makes the Qt widget for one template item and wires its notifications: a control
// tells its parent window what happened with WM_COMMAND (clicked, changed, selection
// changed) or WM_VSCROLL, carrying its id and its handle, as the window system's
// controls do.

#include <QWidget>

#include "framework/DialogTemplate.h"

namespace framework {

class ControlFactory {
public:
    // `previous` is the control made just before (an up-down's buddy).
    static QWidget* Create(const DialogItem& item, QWidget* parent, QWidget* previous);
    static void ConnectNotifications(QWidget* control);
};

}  // namespace framework
