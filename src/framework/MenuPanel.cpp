#include "framework/MenuPanel.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "framework/Colors.h"

namespace framework {

namespace {

QColor colour(int index) {
    const COLORREF value = GetSysColor(index);
    return {GetRValue(value), GetGValue(value), GetBValue(value)};
}

}  // namespace

MenuPanel::MenuPanel(QWidget* frame) : QWidget(frame) {
    setFocusPolicy(Qt::StrongFocus);
    hide();
}

int MenuPanel::RowHeight(const QAction* action) const {
    const int text = fontMetrics().height();
    return action->isSeparator() ? std::max(3, text / 3) : text + text / 2;
}

void MenuPanel::Open(QMenu* menu, QRect cover, QPoint anchor) {
    menu_ = menu;
    highlighted_ = nullptr;
    setGeometry(cover);
    const int margin = fontMetrics().averageCharWidth();
    int width = 0, height = 2;
    for (const QAction* action : menu->actions()) {
        width = std::max(width, fontMetrics().horizontalAdvance(action->text()) + 4 * margin);
        height += RowHeight(action);
    }
    // The box stays on the screen: a title near the right edge opens its menu leftwards.
    const QPoint bottom_left = mapFromParent(anchor);
    const int left = std::clamp(bottom_left.x(), 0, std::max(0, cover.width() - width));
    box_ = QRect(left, bottom_left.y() - height, width, height);
    if (QWidget* focus = QApplication::focusWidget(); focus != this) focus_before_ = focus;
    show();
    raise();
    setFocus(Qt::PopupFocusReason);
    update();
}

void MenuPanel::Close() {
    if (!isVisible()) return;
    hide();
    menu_ = nullptr;
    if (focus_before_ != nullptr) focus_before_->setFocus(Qt::PopupFocusReason);
}

QRect MenuPanel::ItemRect(const QAction* action) const {
    if (menu_ == nullptr) return {};
    int top = box_.top() + 1;
    for (const QAction* each : menu_->actions()) {
        const int height = RowHeight(each);
        if (each == action) return {box_.left() + 1, top, box_.width() - 2, height};
        top += height;
    }
    return {};
}

QRect MenuPanel::ItemPlace(const QAction* action) const {
    if (!isVisible() || action->isSeparator()) return {};
    const QRect rect = ItemRect(action);
    return rect.isEmpty() ? rect : rect.translated(pos());
}

QAction* MenuPanel::ItemAt(QPoint point) const {
    if (menu_ == nullptr) return nullptr;
    for (QAction* action : menu_->actions())
        if (!action->isSeparator() && ItemRect(action).contains(point)) return action;
    return nullptr;
}

void MenuPanel::paintEvent(QPaintEvent* /*event*/) {
    if (menu_ == nullptr) return;
    QPainter painter(this);
    painter.fillRect(box_, colour(COLOR_WINDOW));
    painter.setPen(colour(COLOR_WINDOWTEXT));
    painter.drawRect(box_.adjusted(0, 0, -1, -1));
    const int margin = fontMetrics().averageCharWidth();
    for (const QAction* action : menu_->actions()) {
        const QRect rect = ItemRect(action);
        if (action->isSeparator()) {
            painter.setPen(colour(COLOR_WINDOWTEXT));
            painter.drawLine(rect.left() + margin, rect.center().y(), rect.right() - margin, rect.center().y());
            continue;
        }
        const bool highlighted = action == highlighted_;
        if (highlighted) painter.fillRect(rect, colour(COLOR_HIGHLIGHT));
        painter.setPen(!action->isEnabled() ? QColor(Qt::gray)
                       : highlighted        ? colour(COLOR_HIGHLIGHTTEXT)
                                            : colour(COLOR_WINDOWTEXT));
        painter.drawText(rect.adjusted(2 * margin, 0, -margin, 0), Qt::AlignLeft | Qt::AlignVCenter, action->text());
    }
}

void MenuPanel::mousePressEvent(QMouseEvent* event) {
    event->accept();
    QAction* item = ItemAt(event->position().toPoint());
    if (item == nullptr && !box_.contains(event->position().toPoint())) {
        Close();
        return;
    }
    highlighted_ = item != nullptr && item->isEnabled() ? item : nullptr;
    update();
}

// The item is chosen where the stylus comes up, as the shell does: sliding off it
// chooses nothing.
void MenuPanel::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    QAction* item = ItemAt(event->position().toPoint());
    if (item != nullptr && item == highlighted_) Choose(item);
}

void MenuPanel::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape: Close(); break;
        case Qt::Key_Up: MoveHighlight(-1); break;
        case Qt::Key_Down: MoveHighlight(1); break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (highlighted_ != nullptr) Choose(highlighted_);
            break;
        default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void MenuPanel::MoveHighlight(int step) {
    if (menu_ == nullptr) return;
    QList<QAction*> items;
    for (QAction* action : menu_->actions())
        if (!action->isSeparator() && action->isEnabled()) items.append(action);
    if (items.isEmpty()) return;
    const qsizetype at = items.indexOf(highlighted_.data());
    const qsizetype next = at < 0 ? (step > 0 ? 0 : items.size() - 1) : (at + step + items.size()) % items.size();
    highlighted_ = items[next];
    update();
}

// The menu closes before its command runs: the command may open a form of its own.
void MenuPanel::Choose(QAction* action) {
    Close();
    QMetaObject::invokeMethod(action, &QAction::trigger, Qt::QueuedConnection);
}

}  // namespace framework
