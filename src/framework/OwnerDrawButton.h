#pragma once
// A push button that draws nothing by itself: the window that subclasses it paints it
// (up or pushed) in its OnPaint. Clicking works as for any push button.

#include <QAbstractButton>

namespace framework {

class OwnerDrawButton : public QAbstractButton {
public:
    using QAbstractButton::QAbstractButton;

protected:
    void paintEvent(QPaintEvent* /*event*/) override {}
};

}  // namespace framework
