#pragma once
// The program's side of `handheld ui` and `handheld screenshot`: lists the controls and
// menu items of the foreground window, clicks them with the stylus (an id no control has
// chooses the menu item of that command), types into them, chooses list items and
// renders the window to PNG, answering through files (AutomationProtocol.h).

#include <QImage>
#include <string>

#include "ce/WindowProcedure.h"

class CWnd;

namespace framework {

class Automation {
public:
    // Handles one of the automation messages sent to `window`; 0 for any other message.
    static ce::LRESULT Handle(CWnd* window, ce::UINT message, ce::WPARAM wParam, ce::LPARAM lParam);

    // The window's controls, one per line ("2100 static "KIVO" visible enabled 8,4 232x18"),
    // then a frame's menu items ("57665 menu "Options > Exit" enabled"), or as JSON.
    static std::string Dump(CWnd* window, bool json);
    // The window as the screen shows it now.
    static QImage Screenshot(CWnd* window);
    // Presses and lifts the stylus on the control's centre; false when it is not there
    // to be tapped (missing, hidden or disabled).
    static bool Click(CWnd* window, int id);
    // Chooses item `index` of a list as a tap on it would; false when there is no such item.
    static bool Select(CWnd* window, int id, int index);
    // Taps a spinner's up arrow `steps` times (its down arrow for a negative count); false
    // when it is not a spinner that can be tapped.
    static bool Spin(CWnd* window, int id, int steps);
};

}  // namespace framework
