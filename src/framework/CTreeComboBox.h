#pragma once
// A drop-down box whose drop-down part is a tree: a one-line box with an arrow that,
// when tapped, drops a tree down below itself, over whatever the form shows there. The
// derived box makes the tree (OnDropDown) and hears which item was chosen; choosing an
// item or tapping anywhere outside the open tree closes it again.

#include <QObject>
#include <QPointer>

#include "framework/CWnd.h"

class CTreeCtrl;

class CTreeComboBox : public CWnd {
public:
    CTreeComboBox();
    ~CTreeComboBox() override;

    // The box at `rect` (in `parent`'s client coordinates); its tree opens in `parent` too.
    bool Create(CWnd* parent, const CRect& rect, int id);

    bool IsDroppedDown() const { return dropped_ != nullptr; }
    // Drops the tree down, as a tap on the box does.
    bool ShowDropDown();
    // Closes the open tree; nothing is chosen.
    void CloseUp();
    // The open tree's place: under the box, as wide as the box, down to the given height.
    CRect DropDownRect() const;
    // The height the open tree takes (pixels); by default down to the bottom of the parent.
    void SetDropDownHeight(int height) { drop_height_ = height; }

    // The derived tree tells its box that an item was chosen.
    void ItemChosen(CTreeCtrl* tree);

protected:
    // Makes and fills the tree to show at `place` (in the parent's coordinates); null
    // leaves the box closed. The box shows, raises and hides it.
    virtual CTreeCtrl* OnDropDown(const CRect& place) = 0;
    // The tree was closed, with an item chosen or not (the derived box may destroy it now).
    virtual void OnCloseUp(bool /*chosen*/) {}
    // The user chose `tree`'s selected item, before the tree closes.
    virtual void OnChosen(CTreeCtrl* /*tree*/) {}

    void OnPaint(CDC& dc) override;
    bool OnEraseBkgnd(CDC& /*dc*/) override { return true; }
    void OnLButtonDown(ce::UINT flags, CPoint point) override;
    void OnLButtonUp(ce::UINT /*flags*/, CPoint /*point*/) override {}
    void OnMouseMove(ce::UINT /*flags*/, CPoint /*point*/) override {}

private:
    // Watches the whole program's stylus while the tree is open: a press outside the
    // tree closes it and is not passed on (nor is its release).
    class OutsideTap : public QObject {
    public:
        explicit OutsideTap(CTreeComboBox* box) : box_(box) {}
        bool eventFilter(QObject* watched, QEvent* event) override;

    private:
        CTreeComboBox* box_;
        bool swallow_release_ = false;
    };

    void Close(bool chosen);

    CTreeCtrl* dropped_ = nullptr;
    OutsideTap outside_{this};
    int drop_height_ = -1;
};
