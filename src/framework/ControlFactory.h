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
    // A report list (headed columns, full-row selection that stays shown without the
    // focus) and a tree (expand boxes, no header), for windows that make them themselves.
    static QWidget* MakeReportList(QWidget* parent);
    static QWidget* MakeTree(QWidget* parent);
};

}  // namespace framework
