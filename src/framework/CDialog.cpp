#include "framework/CDialog.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QRadioButton>
#include <algorithm>

#include "framework/CFont.h"
#include "framework/CListBox.h"
#include "framework/CWinApp.h"
#include "framework/ControlFactory.h"
#include "framework/ControlWindows.h"
#include "framework/DialogTemplate.h"
#include "framework/Screen.h"

namespace {

// The window system's dialog base units: the average width of the font's letters and
// its height; a dialog unit is a quarter of the one and an eighth of the other.
CSize base_units_of(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, metrics.height()};
}

}  // namespace

CDialog::CDialog(int template_id, CWnd* parent) : template_id_(template_id), owner_(parent) {}

CDialog::~CDialog() { DestroyWindow(); }

void CDialog::MapDialogRect(CRect* rect) const {
    rect->left = framework::MulDiv(rect->left, base_units_.cx, 4);
    rect->right = framework::MulDiv(rect->right, base_units_.cx, 4);
    rect->top = framework::MulDiv(rect->top, base_units_.cy, 8);
    rect->bottom = framework::MulDiv(rect->bottom, base_units_.cy, 8);
}

bool CDialog::Build(const framework::DialogTemplate& dialog) {
    if (widget() != nullptr) return false;
    controls_.clear();
    auto* form = new QWidget(nullptr);
    form->setAttribute(Qt::WA_OpaquePaintEvent);
    const auto screen = framework::Screen::current();
    form->setGeometry(0, 0, screen.width(), screen.height());
    base_units_ = base_units_of(CFont::DialogFont().font());
    Attach(form, dialog.id, nullptr, "dialog");
    AdoptWidget(form);
    CWinApp::AddTopLevel(this);

    QWidget* previous = nullptr;
    QButtonGroup* radios = nullptr;
    for (const auto& item : dialog.items) {
        QWidget* control = framework::ControlFactory::Create(item, form, previous);
        CRect rect{item.x, item.y, item.x + item.cx, item.y + item.cy};
        MapDialogRect(&rect);
        control->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
        // A group runs from a WS_GROUP control up to the next one, as the dialog manager
        // has it: the fields beside a radio button ("Repeat [3] times") stay inside its
        // group, so the radio buttons after them are one group with it.
        const bool starts_group = (item.style & framework::WS_GROUP) != 0;
        if (auto* radio = qobject_cast<QRadioButton*>(control)) {
            if (radios == nullptr || starts_group) radios = new QButtonGroup(form);
            radios->addButton(radio);
        } else if (starts_group) {
            radios = nullptr;
        }
        auto window = framework::MakeControlWindow(item.kind);
        window->Attach(control, item.id, this, framework::KindName(item.kind));
        framework::ControlFactory::ConnectNotifications(control);
        controls_.push_back(std::move(window));
        previous = control;
    }
    if (done_button_ && GetDlgItem(framework::IDOK) == nullptr) AddDoneButton(form);
    OnInitDialog();
    return true;
}

void CDialog::AddDoneButton(QWidget* form) {
    static constexpr framework::DialogItem kDone{framework::IDOK, framework::ControlKind::PushButton, u"ok",
                                                framework::WS_VISIBLE, 0, 0, 0, 0};
    QWidget* control = framework::ControlFactory::Create(kDone, form, nullptr);
    // The title bar's button: white on the highlight, bold, as the handheld draws it.
    control->setStyleSheet(QStringLiteral("QPushButton { background: palette(highlight); color: palette(highlighted-text); "
                                          "font-weight: bold; border: none; border-radius: 3px; }"));
    auto window = framework::MakeControlWindow(kDone.kind);
    window->Attach(control, kDone.id, this, framework::KindName(kDone.kind));
    framework::ControlFactory::ConnectNotifications(control);
    control->raise();
    controls_.push_back(std::move(window));
    PlaceDoneButton();
}

// At the top right, a tap target of at least 24 design pixels each way.
void CDialog::PlaceDoneButton() {
    if (!done_button_ || widget() == nullptr) return;
    CWnd* done = GetDlgItem(framework::IDOK);
    if (done == nullptr || done->widget() == nullptr) return;
    const auto screen = framework::Screen::current();
    const int width = std::max(screen.ScaleX(28), done->widget()->sizeHint().width());
    const int right = widget()->width() - screen.ScaleX(2);
    done->MoveWindow({right - width, screen.ScaleY(2), right, screen.ScaleY(2) + screen.ScaleY(24)}, true);
}

void CDialog::FollowDpi() {
    base_units_ = base_units_of(CFont::DialogFont().font());
    PlaceControls();
    CWnd::FollowDpi();
}

void CDialog::PlaceControls() {
    const auto* dialog = FindTemplate();
    if (dialog == nullptr || widget() == nullptr) return;
    widget()->setUpdatesEnabled(false);
    for (const auto& item : dialog->items) {
        CWnd* control = GetDlgItem(item.id);
        if (control == nullptr) continue;
        CRect rect{item.x, item.y, item.x + item.cx, item.y + item.cy};
        MapDialogRect(&rect);
        control->MoveWindow(rect, false);
        // A moved list keeps its selection in view.
        if (auto* list = dynamic_cast<CListBox*>(control)) list->SetCurSel(list->GetCurSel());
    }
    widget()->setUpdatesEnabled(true);
    widget()->update();
}

void CDialog::OnSize(ce::UINT type, int cx, int cy) {
    CWnd::OnSize(type, cx, cy);
    PlaceDoneButton();
}

const framework::DialogTemplate* CDialog::FindTemplate() const {
    return indirect_ != nullptr ? indirect_ : framework::DialogTemplates::Find(template_id_);
}

bool CDialog::Create() {
    const auto* dialog = FindTemplate();
    if (dialog == nullptr || !Build(*dialog)) return false;
    ShowWindow(true);
    return true;
}

int CDialog::DoModal() {
    const auto* dialog = FindTemplate();
    if (dialog == nullptr) return -1;
    ended_ = false;
    result_ = -1;
    if (!Build(*dialog)) return -1;
    // The owner takes no input while the form is up, as under a modal form on the handheld.
    QPointer<QWidget> owner = owner_ != nullptr ? owner_->widget() : nullptr;
    if (owner != nullptr) owner = owner->window();
    const bool owner_was_enabled = owner != nullptr && owner->isEnabled();
    // Whatever the stylus was doing ends as the form opens, as the window system cancels
    // it in a window it disables: a control that held the stylus would otherwise keep
    // every tap from the form.
    if (CWnd::GetCapture() != nullptr) CWnd::ReleaseCapture();
    if (owner_was_enabled) owner->setEnabled(false);
    if (!ended_) {
        ShowWindow(true);
        loop_ = std::make_unique<QEventLoop>();
        loop_->exec();
        loop_.reset();
    }
    if (owner_was_enabled && owner != nullptr) owner->setEnabled(true);
    DestroyWindow();
    if (owner_ != nullptr && owner != nullptr) CWinApp::SetForeground(CWnd::FromWidget(owner));
    return result_;
}

void CDialog::EndDialog(int result) {
    result_ = result;
    ended_ = true;
    if (loop_ != nullptr) loop_->exit(0);
    else if (widget() != nullptr && widget()->isVisible()) DestroyWindow();  // a modeless form goes at once
}

bool CDialog::OnCommand(ce::UINT id, ce::UINT /*code*/) {
    if (id == static_cast<ce::UINT>(framework::IDOK)) {
        OnOK();
        return true;
    }
    if (id == static_cast<ce::UINT>(framework::IDCANCEL)) {
        OnCancel();
        return true;
    }
    return false;
}

bool CDialog::PreTranslateMessage(ce::MSG* message) {
    // The form's own keys, as the dialog manager gives them: Enter is OK, Escape is Cancel.
    if (message->message != ce::WM_KEYDOWN) return false;
    if (message->wParam == 0x0D) OnOK();
    else if (message->wParam == 0x1B) OnCancel();
    else return false;
    return true;
}
