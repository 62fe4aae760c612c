#pragma once
// A window: a Qt widget behind a window handle of the handheld, with the handlers the
// window system calls. A handler that is not overridden, or that calls Default(), lets
// the widget do what it does by itself (a push button still clicks, an edit still types).
// Messages posted or sent to the handle, from this process or another, reach WindowProc
// on the window's thread.

#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "ce/WindowProcedure.h"
#include "framework/Geometry.h"

class CDC;
class CFont;
class QTimer;

namespace framework {
class WindowBridge;
class WindowMailbox;
}

class CWnd {
public:
    CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd();

    // A plain window: a top-level one without a parent (sized to the screen), else a child.
    bool Create(CWnd* parent, const CRect& rect, int id, std::u16string_view title = {});
    // Takes over the control `id` of `parent` (built from its template): this object's
    // handlers run for it from now on, in place of the control's own.
    bool SubclassDlgItem(int id, CWnd* parent);
    void DestroyWindow();

    static CWnd* FromHandle(ce::HWND window);
    static CWnd* FromWidget(const QWidget* widget);
    // The window the stylus is captured by, if any.
    static CWnd* GetCapture();
    static void ReleaseCapture();

    ce::HWND GetSafeHwnd() const { return handle_; }
    QWidget* widget() const { return widget_; }
    int GetDlgCtrlID() const { return id_; }
    // What kind of control this is ("static", "edit", "button", ... "window").
    const char* Kind() const { return kind_; }
    CWnd* GetParent() const { return parent_; }
    CWnd* GetDlgItem(int id) const;

    void GetClientRect(CRect* rect) const;
    // The window's rectangle in its parent's client coordinates (a top-level window's is on the screen).
    void GetWindowRectInParent(CRect* rect) const;
    void MoveWindow(const CRect& rect, bool repaint = true);
    void ShowWindow(bool show);
    // A top-level window that stays in front of every window that is not, on the
    // handheld (its window table) and on a desktop. Made so before it is first shown.
    bool SetTopMost(bool topmost);
    // Posted `message`s that wait with the same wParam and lParam are taken once: a
    // flood of them does not hold up the window's input. After Create.
    void CoalescePosted(ce::UINT message);
    bool IsWindowVisible() const;
    void EnableWindow(bool enable);
    bool IsWindowEnabled() const;
    void SetWindowText(std::u16string_view text);
    std::u16string GetWindowText() const;
    // The window's text in `font` from now on, at the font's size for the screen's dpi
    // as it is now and after the dpi changes.
    void SetFont(const CFont& font);
    void Invalidate();
    // Paints what is invalid now, without waiting for the event loop.
    void UpdateWindow();
    void SetFocus();
    void SetCapture();

    // Timers by id: WM_TIMER with the id every `milliseconds` until KillTimer.
    ce::UINT_PTR SetTimer(ce::UINT_PTR id, ce::UINT milliseconds);
    bool KillTimer(ce::UINT_PTR id);

    bool PostMessage(ce::UINT message, ce::WPARAM wParam = 0, ce::LPARAM lParam = 0) const;
    ce::LRESULT SendMessage(ce::UINT message, ce::WPARAM wParam = 0, ce::LPARAM lParam = 0);

    // Every message of the window runs through here: the window system's own numbers go
    // to the handlers below; a window with private messages overrides it and passes the
    // rest on.
    virtual ce::LRESULT WindowProc(ce::UINT message, ce::WPARAM wParam, ce::LPARAM lParam);
    // Offered every stylus, key, posted and timer message aimed at this window or one
    // of its children before it is dispatched; true consumes it.
    virtual bool PreTranslateMessage(ce::MSG* message);
    // The screen's dpi changed while the window was up: it takes its font at the new
    // size, lays itself out again (OnSize, which measures with the new dpi) and is drawn
    // again. The application runs it for every window, parents before their children.
    virtual void FollowDpi();

protected:
    friend class framework::WindowBridge;
    friend class CDialog;
    friend class CFrameWnd;

    virtual int OnCreate() { return 0; }
    virtual void OnPaint(CDC& dc);
    virtual bool OnEraseBkgnd(CDC& dc);
    virtual void OnSize(ce::UINT type, int cx, int cy);
    virtual void OnLButtonDown(ce::UINT flags, CPoint point);
    virtual void OnMouseMove(ce::UINT flags, CPoint point);
    virtual void OnLButtonUp(ce::UINT flags, CPoint point);
    virtual void OnSetFocus() {}
    virtual void OnKillFocus() {}
    // A command from a menu or a child control; true when handled. Unhandled commands go
    // on to the parent.
    virtual bool OnCommand(ce::UINT id, ce::UINT code);
    virtual void OnTimer(ce::UINT_PTR id);
    virtual void OnClose();
    // Lets the control do what it does by itself with the event being handled.
    void Default() { default_called_ = true; }

    // Puts this object behind `widget`: gives it a handle and routes its events here.
    void Attach(QWidget* widget, int id, CWnd* parent, const char* kind);
    // Gives up the widget without destroying it (a subclassing object takes over).
    void Detach();
    void AdoptWidget(QWidget* widget) { owned_ = widget; }
    bool default_called_ = false;

private:
    QPointer<QWidget> widget_;
    QPointer<QWidget> owned_;
    // The widget's death (its parent went first) gives up the handle.
    void WidgetGone();

    QPointer<framework::WindowBridge> bridge_;
    std::shared_ptr<framework::WindowMailbox> mailbox_;
    ce::HWND handle_ = nullptr;
    CWnd* parent_ = nullptr;
    int id_ = 0;
    const char* kind_ = "window";
    std::map<ce::UINT_PTR, QTimer*> timers_;
    std::unique_ptr<CFont> font_;  // given with SetFont
};
