#include "framework/CWnd.h"

#include <QGuiApplication>
#include <QTimer>
#include <unordered_map>

#include "ce/Windows.h"
#include "framework/CDC.h"
#include "framework/CFont.h"
#include "framework/CWinApp.h"
#include "framework/ControlText.h"
#include "framework/InputDispatcher.h"
#include "framework/MessageEvent.h"
#include "framework/Screen.h"
#include "framework/WindowBridge.h"
#include "framework/WindowMailbox.h"
#include "framework/WindowMessages.h"

namespace {

// Windows live on the user-interface thread; these tables are only touched there.
std::unordered_map<const QWidget*, CWnd*>& by_widget() {
    static std::unordered_map<const QWidget*, CWnd*> table;
    return table;
}

std::unordered_map<ce::HWND, CWnd*>& by_handle() {
    static std::unordered_map<ce::HWND, CWnd*> table;
    return table;
}

CWnd* g_capture = nullptr;

}  // namespace

CWnd::CWnd() = default;

CWnd::~CWnd() { DestroyWindow(); }

CWnd* CWnd::FromHandle(ce::HWND window) {
    const auto found = by_handle().find(window);
    return found == by_handle().end() ? nullptr : found->second;
}

CWnd* CWnd::FromWidget(const QWidget* widget) {
    const auto found = by_widget().find(widget);
    return found == by_widget().end() ? nullptr : found->second;
}

CWnd* CWnd::GetCapture() { return g_capture; }

void CWnd::ReleaseCapture() {
    if (g_capture != nullptr && g_capture->widget_ != nullptr && QWidget::mouseGrabber() == g_capture->widget_)
        g_capture->widget_->releaseMouse();
    g_capture = nullptr;
}

bool CWnd::Create(CWnd* parent, const CRect& rect, int id, std::u16string_view title) {
    if (widget_ != nullptr) return false;
    auto* widget = new QWidget(parent != nullptr ? parent->widget() : nullptr);
    widget->setAttribute(Qt::WA_OpaquePaintEvent);
    if (parent == nullptr) {
        // Top-level windows cover the handheld's screen, as every program window does there.
        const auto screen = framework::Screen::current();
        widget->setGeometry(0, 0, screen.width(), screen.height());
        CWinApp::AddTopLevel(this);
    } else {
        widget->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    }
    framework::SetControlText(widget, title);
    Attach(widget, id, parent, "window");
    AdoptWidget(widget);
    if (WindowProc(framework::WM_CREATE, 0, 0) == -1) {
        DestroyWindow();
        return false;
    }
    if (parent != nullptr) widget->show();
    return true;
}

bool CWnd::SubclassDlgItem(int id, CWnd* parent) {
    if (parent == nullptr || widget_ != nullptr) return false;
    CWnd* control = parent->GetDlgItem(id);
    if (control == nullptr) return false;
    QWidget* widget = control->widget();
    const char* kind = control->Kind();
    control->Detach();
    Attach(widget, id, parent, kind);
    return true;
}

void CWnd::Attach(QWidget* widget, int id, CWnd* parent, const char* kind) {
    widget_ = widget;
    id_ = id;
    parent_ = parent;
    kind_ = kind;
    bridge_ = new framework::WindowBridge(widget, this);
    mailbox_ = std::make_shared<framework::WindowMailbox>(bridge_, this);
    // A window of its own on the screen (not a control of another) is one of the
    // handheld's top-level windows, which other programs find by its title.
    const bool top_level = widget->isWindow();
    const std::u16string class_name(kind, kind + std::char_traits<char>::length(kind));
    const std::u16string title = top_level ? framework::GetControlText(widget) : std::u16string();
    handle_ = ce::CreateProcedureWindow(mailbox_, class_name.c_str(), title.c_str(), top_level ? ce::TRUE : ce::FALSE);
    by_widget()[widget] = this;
    by_handle()[handle_] = this;
}

void CWnd::Detach() {
    if (g_capture == this) ReleaseCapture();
    for (auto& [id, timer] : timers_) delete timer;
    timers_.clear();
    if (mailbox_ != nullptr) mailbox_->Close();
    mailbox_.reset();
    if (handle_ != nullptr) {
        ce::DestroyWindow(handle_);
        by_handle().erase(handle_);
    }
    handle_ = nullptr;
    if (bridge_ != nullptr) {
        bridge_->Forget();
        delete bridge_.data();
    }
    if (widget_ != nullptr && FromWidget(widget_) == this) by_widget().erase(widget_);
    std::erase_if(by_widget(), [this](const auto& entry) { return entry.second == this; });
    widget_ = nullptr;
}

void CWnd::WidgetGone() {
    bridge_ = nullptr;
    owned_ = nullptr;
    Detach();
    CWinApp::RemoveTopLevel(this);
}

void CWnd::DestroyWindow() {
    QWidget* owned = owned_;
    Detach();
    CWinApp::RemoveTopLevel(this);
    owned_ = nullptr;
    if (owned != nullptr) {
        owned->hide();
        // The widget may be in the middle of handling one of its own events.
        owned->deleteLater();
    }
}

CWnd* CWnd::GetDlgItem(int id) const {
    if (widget_ == nullptr) return nullptr;
    for (QWidget* child : widget_->findChildren<QWidget*>()) {
        CWnd* window = FromWidget(child);
        if (window != nullptr && window->parent_ == this && window->id_ == id) return window;
    }
    return nullptr;
}

void CWnd::GetClientRect(CRect* rect) const {
    *rect = widget_ == nullptr ? CRect{} : CRect{0, 0, widget_->width(), widget_->height()};
}

void CWnd::GetWindowRectInParent(CRect* rect) const {
    if (widget_ == nullptr) {
        *rect = {};
        return;
    }
    const QRect geometry = widget_->geometry();
    *rect = {geometry.left(), geometry.top(), geometry.left() + geometry.width(), geometry.top() + geometry.height()};
}

void CWnd::MoveWindow(const CRect& rect, bool repaint) {
    if (widget_ == nullptr) return;
    widget_->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    if (repaint) widget_->update();
}

void CWnd::ShowWindow(bool show) {
    if (widget_ == nullptr) return;
    widget_->setVisible(show);
    if (show && widget_->isWindow()) CWinApp::SetForeground(this);
}

bool CWnd::SetTopMost(bool topmost) {
    if (widget_ == nullptr || !widget_->isWindow()) return false;
    // Changing a window's flags hides it; shown again, it keeps its place on the screen.
    const bool shown = widget_->isVisible();
    widget_->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
    if (shown) widget_->show();
    return ce::SetWindowPos(handle_, topmost ? ce::HWND_TOPMOST : ce::HWND_NOTOPMOST, 0, 0, 0, 0,
                            ce::SWP_NOMOVE | ce::SWP_NOSIZE) != ce::FALSE;
}

void CWnd::CoalescePosted(ce::UINT message) {
    if (mailbox_ != nullptr) mailbox_->Coalesce(message);
}

bool CWnd::IsWindowVisible() const { return widget_ != nullptr && widget_->isVisible(); }

void CWnd::EnableWindow(bool enable) {
    if (widget_ != nullptr) widget_->setEnabled(enable);
}

bool CWnd::IsWindowEnabled() const { return widget_ != nullptr && widget_->isEnabled(); }

void CWnd::SetWindowText(std::u16string_view text) {
    framework::SetControlText(widget_, text);
    if (widget_ != nullptr && widget_->isWindow() && handle_ != nullptr)
        ce::SetWindowTextW(handle_, std::u16string(text).c_str());
    if (widget_ != nullptr) widget_->update();
}

std::u16string CWnd::GetWindowText() const { return framework::GetControlText(widget_); }

void CWnd::SetFont(const CFont& font) {
    font_ = std::make_unique<CFont>(font);
    if (widget_ != nullptr) widget_->setFont(font.font());
}

void CWnd::FollowDpi() {
    if (widget_ == nullptr) return;
    if (font_ != nullptr) widget_->setFont(font_->font());
    WindowProc(framework::WM_SIZE, 0, framework::MAKELPARAM(widget_->width(), widget_->height()));
    widget_->update();
}

void CWnd::Invalidate() {
    if (widget_ != nullptr) widget_->update();
}

void CWnd::UpdateWindow() {
    if (widget_ != nullptr) widget_->repaint();
}

void CWnd::SetFocus() {
    if (widget_ != nullptr) widget_->setFocus(Qt::OtherFocusReason);
}

void CWnd::SetCapture() {
    g_capture = this;
    // The stylus messages of `handheld` follow the capture themselves; a real pointer
    // needs the window system's grab, which the headless screen does not have.
    if (widget_ != nullptr && widget_->isVisible() && QGuiApplication::platformName() != QLatin1String("offscreen"))
        widget_->grabMouse();
}

ce::UINT_PTR CWnd::SetTimer(ce::UINT_PTR id, ce::UINT milliseconds) {
    if (widget_ == nullptr || id == 0) return 0;
    KillTimer(id);
    auto* timer = new QTimer(bridge_);
    QObject::connect(timer, &QTimer::timeout, timer, [this, id] {
        ce::MSG message{handle_, ce::WM_TIMER, id, 0, 0};
        if (!CWinApp::PreTranslate(this, &message)) WindowProc(ce::WM_TIMER, id, 0);
    });
    timer->start(static_cast<int>(std::min<ce::UINT>(milliseconds, 0x7FFFFFFF)));
    timers_[id] = timer;
    return id;
}

bool CWnd::KillTimer(ce::UINT_PTR id) {
    const auto found = timers_.find(id);
    if (found == timers_.end()) return false;
    delete found->second;
    timers_.erase(found);
    return true;
}

bool CWnd::PostMessage(ce::UINT message, ce::WPARAM wParam, ce::LPARAM lParam) const {
    return ce::PostMessageW(handle_, message, wParam, lParam) != ce::FALSE;
}

ce::LRESULT CWnd::SendMessage(ce::UINT message, ce::WPARAM wParam, ce::LPARAM lParam) {
    return ce::SendMessageW(handle_, message, wParam, lParam);
}

bool CWnd::PreTranslateMessage(ce::MSG* /*message*/) { return false; }

ce::LRESULT CWnd::WindowProc(ce::UINT message, ce::WPARAM wParam, ce::LPARAM lParam) {
    using namespace framework;
    switch (message) {
        case WM_COMMAND:
            if (!OnCommand(LOWORD(wParam), HIWORD(wParam)) && parent_ != nullptr)
                return parent_->WindowProc(message, wParam, lParam);
            return 0;
        case WM_CREATE: return OnCreate();
        case ce::WM_TIMER: OnTimer(wParam); return 0;
        case WM_SIZE: OnSize(static_cast<ce::UINT>(wParam), LOWORD(lParam), HIWORD(lParam)); return 0;
        case ce::WM_CLOSE: OnClose(); return 0;
        default: break;
    }
    if (MessageEvent::IsInput(message)) {
        InputDispatcher::Deliver(this, ce::MSG{handle_, message, wParam, lParam, 0});
        return 0;
    }
    return CWinApp::HandleWindowSystemMessage(this, message, wParam, lParam);
}

void CWnd::OnPaint(CDC& /*dc*/) { Default(); }

bool CWnd::OnEraseBkgnd(CDC& dc) {
    // Plain windows paint their own background; controls draw theirs themselves.
    if (std::string_view(kind_) != "window" && std::string_view(kind_) != "dialog") {
        Default();
        return false;
    }
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(client, framework::GetSysColor(framework::COLOR_WINDOW));
    return true;
}

void CWnd::OnSize(ce::UINT /*type*/, int /*cx*/, int /*cy*/) {}
void CWnd::OnLButtonDown(ce::UINT /*flags*/, CPoint /*point*/) { Default(); }
void CWnd::OnMouseMove(ce::UINT /*flags*/, CPoint /*point*/) { Default(); }
void CWnd::OnLButtonUp(ce::UINT /*flags*/, CPoint /*point*/) { Default(); }
bool CWnd::OnCommand(ce::UINT /*id*/, ce::UINT /*code*/) { return false; }
void CWnd::OnTimer(ce::UINT_PTR /*id*/) {}
void CWnd::OnClose() { DestroyWindow(); }
