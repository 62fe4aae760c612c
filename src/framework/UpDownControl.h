#pragma once
// The up-down spinner: two arrows that step a position within a range, optionally
// wrapping at the ends and writing the position into its buddy edit.

#include <QPointer>
#include <QWidget>

class QLineEdit;

namespace framework {

class UpDownControl : public QWidget {
public:
    UpDownControl(QWidget* parent, bool wrap, bool set_buddy_text);

    void SetBuddy(QLineEdit* buddy) { buddy_ = buddy; }
    QLineEdit* Buddy() const { return buddy_; }
    void SetRange(int lower, int upper);
    void SetPos(int position);
    int GetPos() const { return position_; }
    int Lower() const { return lower_; }
    int Upper() const { return upper_; }
    // One press of an arrow: +1 up, -1 down.
    void Step(int delta);

private:
    QPointer<QLineEdit> buddy_;
    int lower_ = 0;
    int upper_ = 100;
    int position_ = 0;
    bool wrap_;
    bool set_buddy_text_;
};

}  // namespace framework
