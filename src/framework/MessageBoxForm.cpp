#include "framework/MessageBoxForm.h"

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <optional>

#include "framework/CDC.h"
#include "framework/CWinApp.h"
#include "framework/MessageBox.h"
#include "framework/Screen.h"

namespace framework {

namespace {

constexpr int kTemplateId = 0xFF00;  // never added to the program's templates
constexpr ce::UINT_PTR kBackdropTimer = 1;

std::vector<int> buttons_of(ce::UINT type) {
    switch (type & 0x0F) {
        case MB_OKCANCEL: return {IDOK, IDCANCEL};
        case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
        case MB_YESNO: return {IDYES, IDNO};
        default: return {IDOK};
    }
}

std::u16string_view label_of(int button) {
    switch (button) {
        case IDCANCEL: return u"Cancel";
        case IDYES: return u"Yes";
        case IDNO: return u"No";
        default: return u"OK";
    }
}

struct IconLook {
    QColor disc;
    QColor mark;
    QString glyph;
};

// The icons the handheld draws: a red cross, a blue question mark, a yellow
// exclamation mark, a blue "i"; none for a box without one.
std::optional<IconLook> icon_of(ce::UINT type) {
    switch (type & 0xF0) {
        case MB_ICONERROR: return IconLook{QColor(0xD0, 0x20, 0x20), Qt::white, QStringLiteral("\u00D7")};
        case MB_ICONQUESTION: return IconLook{QColor(0x20, 0x50, 0xC0), Qt::white, QStringLiteral("?")};
        case MB_ICONWARNING: return IconLook{QColor(0xF0, 0xC8, 0x20), Qt::black, QStringLiteral("!")};
        case MB_ICONINFORMATION: return IconLook{QColor(0x20, 0x50, 0xC0), Qt::white, QStringLiteral("i")};
        default: return std::nullopt;
    }
}

}  // namespace

MessageBoxForm::MessageBoxForm(CWnd* owner, std::u16string_view text, std::u16string_view caption, ce::UINT type)
    : CDialog(kTemplateId, owner), text_(text), caption_(caption), type_(type), buttons_(buttons_of(type)) {
    // Places come from LayOut, which measures the wrapped text on this screen.
    items_.push_back({kTextId, ControlKind::Static, text_, WS_VISIBLE, 0, 0, 0, 0});
    for (const int button : buttons_) items_.push_back({button, ControlKind::PushButton, label_of(button), WS_VISIBLE, 0, 0, 0, 0});
    template_ = {kTemplateId, 0, 0, items_};
    InitModalIndirect(&template_);
    covered_ = owner != nullptr ? CWnd::FromWidget(owner->widget() != nullptr ? owner->widget()->window() : nullptr)
                                : CWinApp::Foreground();
}

bool MessageBoxForm::OnInitDialog() {
    SetWindowText(caption_);
    caption_font_.Create(u"Tahoma", 8, CFont::FW_BOLD);
    // Measured for the screen as it is now, like the box itself.
    const CFont text_font = CFont::DialogFont();
    for (const auto& item : items_) GetDlgItem(item.id)->SetFont(text_font);
    TakeBackdrop();
    DrawIcon();
    LayOut();
    return true;
}

void MessageBoxForm::TakeBackdrop() {
    // Taken before the covered window is greyed for the modal box.
    if (covered_ == nullptr || covered_->widget() == nullptr) return;
    // The covered window is greyed while the box is up; the screen shows it as it was.
    QWidget* covered = covered_->widget();
    const bool greyed = !covered->isEnabled();
    if (greyed) covered->setEnabled(true);
    const QPixmap picture = covered->grab();
    if (greyed) covered->setEnabled(false);
    if (!backdrop_.CreateBitmap(picture.width(), picture.height())) return;
    QPainter(backdrop_.surface()).drawPixmap(0, 0, picture);
}

void MessageBoxForm::DrawIcon() {
    const auto look = icon_of(type_);
    const int size = Screen::current().ScaleX(24);
    if (!look || !icon_.CreateBitmap(size, size)) return;
    QPainter painter(icon_.surface());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(look->disc);
    painter.drawEllipse(QRectF(0.5, 0.5, size - 1.0, size - 1.0));
    QFont font = caption_font_.font();
    font.setPixelSize(size * 3 / 4);
    painter.setFont(font);
    painter.setPen(look->mark);
    painter.drawText(QRect(0, 0, size, size), Qt::AlignCenter, look->glyph);
}

void MessageBoxForm::LayOut() {
    CWnd* text = GetDlgItem(kTextId);
    if (text == nullptr || widget() == nullptr) return;
    const auto screen = Screen::current();
    const int margin = screen.ScaleX(6), pad = screen.ScaleX(8), gap = screen.ScaleX(6);
    const int width = std::min(widget()->width() - 2 * margin, screen.ScaleX(228));
    caption_height_ = QFontMetrics(caption_font_.font()).height() + screen.ScaleY(8);

    const int icon = icon_.IsLoaded() ? icon_.GetSize().cx + pad : 0;
    const int text_width = width - 2 * pad - icon;
    const int text_height = std::max(text->widget()->heightForWidth(text_width), icon - pad);

    const int button_height = screen.ScaleY(22);
    std::vector<int> button_widths;
    int row = -gap;
    for (const int button : buttons_) {
        const QWidget* widget = GetDlgItem(button)->widget();
        button_widths.push_back(std::max(screen.ScaleX(56), widget->fontMetrics().horizontalAdvance(widget->property("text").toString()) + pad * 2));
        row += button_widths.back() + gap;
    }

    const int height = std::min(caption_height_ + pad + text_height + pad + button_height + pad,
                                widget()->height() - 2 * margin);
    const int left = (widget()->width() - width) / 2, top = (widget()->height() - height) / 2;
    box_ = {left, top, left + width, top + height};

    const int body = top + caption_height_ + pad;
    const int buttons_top = box_.bottom - pad - button_height;
    text->MoveWindow({left + pad + icon, body, left + pad + icon + text_width, std::max(body, std::min(body + text_height, buttons_top - pad))});
    int x = left + (width - row) / 2;
    for (std::size_t index = 0; index < buttons_.size(); ++index) {
        GetDlgItem(buttons_[index])->MoveWindow({x, buttons_top, x + button_widths[index], buttons_top + button_height});
        x += button_widths[index] + gap;
    }
    Invalidate();
}

void MessageBoxForm::OnSize(ce::UINT type, int cx, int cy) {
    CDialog::OnSize(type, cx, cy);
    LayOut();
    // A turned screen lays the covered window out again too; its new picture is taken
    // once it has.
    if (backdrop_.IsLoaded() && (backdrop_.GetSize().cx != cx || backdrop_.GetSize().cy != cy))
        SetTimer(kBackdropTimer, 0);
}

void MessageBoxForm::OnTimer(ce::UINT_PTR id) {
    if (id != kBackdropTimer) return;
    KillTimer(id);
    TakeBackdrop();
    Invalidate();
}

void MessageBoxForm::OnPaint(CDC& dc) {
    if (backdrop_.IsLoaded()) dc.StretchBlt({0, 0, backdrop_.GetSize().cx, backdrop_.GetSize().cy}, backdrop_);
    const auto screen = Screen::current();
    const int border = std::max(1, screen.ScaleX(1));
    dc.FillSolidRect(box_, RGB(0, 0, 0));
    const CRect inside{box_.left + border, box_.top + border, box_.right - border, box_.bottom - border};
    dc.FillSolidRect(inside, GetSysColor(COLOR_WINDOW));
    const CRect caption{inside.left, inside.top, inside.right, box_.top + caption_height_};
    dc.FillSolidRect(caption, GetSysColor(COLOR_HIGHLIGHT));
    dc.SelectFont(caption_font_);
    dc.SetTextColor(GetSysColor(COLOR_HIGHLIGHTTEXT));
    const int pad = screen.ScaleX(8);
    dc.DrawText(caption_, {caption.left + pad, caption.top, caption.right - pad, caption.bottom},
                CDC::DT_LEFT | CDC::DT_VCENTER | CDC::DT_SINGLELINE);
    if (icon_.IsLoaded()) {
        const int top = caption.bottom + pad;
        dc.StretchBlt({box_.left + pad, top, box_.left + pad + icon_.GetSize().cx, top + icon_.GetSize().cy}, icon_);
    }
}

bool MessageBoxForm::HasButton(int id) const { return std::find(buttons_.begin(), buttons_.end(), id) != buttons_.end(); }

void MessageBoxForm::OnOK() { EndDialog(buttons_.front()); }

void MessageBoxForm::OnCancel() {
    // A box that asks Yes or No must be answered; one with only OK is done with.
    if (HasButton(IDCANCEL)) EndDialog(IDCANCEL);
    else if (buttons_.size() == 1) EndDialog(buttons_.front());
}

bool MessageBoxForm::OnCommand(ce::UINT id, ce::UINT /*code*/) {
    if (!HasButton(static_cast<int>(id))) return false;
    EndDialog(static_cast<int>(id));
    return true;
}

}  // namespace framework
