#pragma once
// Brings a widget's events to its CWnd: painting, sizing, stylus, focus, and the window
// messages posted to its handle. Whatever the CWnd leaves to Default() goes on to the
// widget itself.

#include <QObject>

class CWnd;
class QMouseEvent;

namespace framework {

class WindowBridge : public QObject {
public:
    WindowBridge(QWidget* widget, CWnd* window);
    // Goes with its widget; the window then gives up its handle.
    ~WindowBridge() override;
    void Forget() { window_ = nullptr; }

    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    bool Paint(QWidget* widget);
    bool Mouse(QMouseEvent* event);

    CWnd* window_;
};

}  // namespace framework
