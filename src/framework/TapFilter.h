#pragma once
// Lets a control that takes no tap of its own (a label) answer one: `on_tap` runs when
// the stylus comes down on it. The filter belongs to the control and goes with it.

#include <QObject>
#include <functional>

class QWidget;

namespace framework {

class TapFilter : public QObject {
public:
    static void Install(QWidget* control, std::function<void()> on_tap);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TapFilter(QWidget* control, std::function<void()> on_tap);

    std::function<void()> on_tap_;
};

}  // namespace framework
