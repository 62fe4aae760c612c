#pragma once
// The frame's menu bar as the handheld's shell runs it: a tap on a title opens that
// menu in the frame's own window (MenuPanel) rather than in a pop-up window of its own,
// which a tap, a screenshot or `ui dump` of the frame would not reach.

#include <QMenuBar>
#include <functional>

namespace framework {

class ShellMenuBar : public QMenuBar {
public:
    // `on_title(action)` runs when the title of `action`'s menu is tapped.
    ShellMenuBar(QWidget* parent, std::function<void(QAction*)> on_title);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::function<void(QAction*)> on_title_;
};

}  // namespace framework
