#pragma once
// An open menu of the frame's menu bar, drawn inside the frame as the handheld's shell
// draws it: a box of items standing on the bar under its title. A tap on an enabled item
// chooses it; a tap anywhere else closes the menu and goes no further, as does Escape.
// Up and Down move the highlight, Return chooses the highlighted item.

#include <QPointer>
#include <QWidget>

class QAction;
class QMenu;

namespace framework {

class MenuPanel : public QWidget {
public:
    explicit MenuPanel(QWidget* frame);

    // Covers `cover` (the frame above the bar) and shows `menu`'s items in a box whose
    // bottom-left corner is `anchor`, both in the frame's coordinates.
    void Open(QMenu* menu, QRect cover, QPoint anchor);
    void Close();
    QMenu* OpenMenu() const { return isVisible() ? menu_.data() : nullptr; }
    // Where `action`'s item is drawn, in the frame's coordinates; empty when not shown.
    QRect ItemPlace(const QAction* action) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int RowHeight(const QAction* action) const;
    // The item under `point` (panel coordinates), or null.
    QAction* ItemAt(QPoint point) const;
    QRect ItemRect(const QAction* action) const;  // panel coordinates
    void Choose(QAction* action);
    void MoveHighlight(int step);

    QPointer<QMenu> menu_;
    QRect box_;
    QPointer<QAction> highlighted_;
    QPointer<QWidget> focus_before_;
};

}  // namespace framework
