#include "framework/CDialog.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QRadioButton>

#include "framework/CFont.h"
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
        // Radio buttons form one group from a WS_GROUP radio (or the first after other
        // controls) up to the next such start.
        if (auto* radio = qobject_cast<QRadioButton*>(control)) {
            if (radios == nullptr || (item.style & framework::WS_GROUP) != 0) radios = new QButtonGroup(form);
            radios->addButton(radio);
        } else {
            radios = nullptr;
        }
        auto window = framework::MakeControlWindow(item.kind);
        window->Attach(control, item.id, this, framework::KindName(item.kind));
        framework::ControlFactory::ConnectNotifications(control);
        controls_.push_back(std::move(window));
        previous = control;
    }
    OnInitDialog();
    return true;
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
