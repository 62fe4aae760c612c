#pragma once
// A Test button that runs its test itself: the form gives it what to run, and a tap
// (stylus lifted over the button) runs it while the button is still drawn pushed, so the
// user sees it held down for as long as the signals take to go out.

#include <loki/Functor.h>

#include "framework/CButton.h"

class CTestButton : public CButton {
public:
    using Callback = Loki::Functor<void>;

    // Takes over the push button `id` of `form`; a tap on it runs `callback`.
    bool AttachToControl(int id, CWnd* form, Callback callback);
    // What a tap does; nothing before a callback is given.
    void Press();

protected:
    void OnLButtonDown(ce::UINT flags, CPoint point) override;
    void OnLButtonUp(ce::UINT flags, CPoint point) override;

private:
    Callback callback_;
    bool armed_ = false;
};
