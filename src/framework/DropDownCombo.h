#pragma once
// A drop-down list whose caret is drawn to the box's height, so it grows with the
// handheld's dots per inch as the box does.

#include <QComboBox>

namespace framework {

class DropDownCombo : public QComboBox {
public:
    explicit DropDownCombo(QWidget* parent) : QComboBox(parent) {}

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace framework
