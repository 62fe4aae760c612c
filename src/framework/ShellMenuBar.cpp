#include "framework/ShellMenuBar.h"

#include <QMouseEvent>

namespace framework {

ShellMenuBar::ShellMenuBar(QWidget* parent, std::function<void(QAction*)> on_title)
    : QMenuBar(parent), on_title_(std::move(on_title)) {
    setNativeMenuBar(false);
}

void ShellMenuBar::mousePressEvent(QMouseEvent* event) {
    event->accept();
    QAction* title = actionAt(event->position().toPoint());
    if (title != nullptr && title->menu() != nullptr && title->isEnabled()) on_title_(title);
}

// The press has opened the menu already; Qt's own bar would open its pop-up here.
void ShellMenuBar::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }

}  // namespace framework
