#include "framework/ControlFactory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QTreeWidget>

#include "framework/CWnd.h"
#include "framework/ControlText.h"
#include "framework/DropDownCombo.h"
#include "framework/OwnerDrawButton.h"
#include "framework/Screen.h"
#include "framework/TreeBranchStyle.h"
#include "framework/UpDownControl.h"
#include "framework/WindowMessages.h"

namespace framework {

namespace {

constexpr ce::UINT WM_HSCROLL = 0x0114;
constexpr ce::UINT WM_VSCROLL = 0x0115;
constexpr ce::UINT SB_THUMBPOSITION = 4;

bool has(ce::DWORD style, ce::DWORD bit) { return (style & bit) != 0; }

// A check box or radio button takes a tap anywhere in its rectangle, as the window
// system's do, not only on its mark and its text.
template <typename Button>
class WholeButton : public Button {
public:
    using Button::Button;

protected:
    bool hitButton(const QPoint& point) const override { return this->rect().contains(point); }
};

QWidget* make_edit(const DialogItem& item, QWidget* parent) {
    if (has(item.style, ES_MULTILINE)) {
        auto* edit = new QPlainTextEdit(parent);
        edit->setReadOnly(has(item.style, ES_READONLY));
        edit->setVerticalScrollBarPolicy(has(item.style, WS_VSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        edit->setPlainText(ToQString(item.text));
        return edit;
    }
    auto* edit = new QLineEdit(ToQString(item.text), parent);
    edit->setReadOnly(has(item.style, ES_READONLY));
    if (has(item.style, ES_NUMBER))
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    return edit;
}

// Which of the two a QTreeWidget stands for: a report list tells its parent of a new
// selection; a tree tells of the item chosen itself (CTreeCtrl).
const char* const kReportProperty = "kivoReportList";
constexpr int kTreeIndentation = 20;  // design pixels
constexpr int kTreeBoxSide = 9;       // design pixels

QWidget* make_list(ControlKind kind, QWidget* parent) {
    return kind == ControlKind::TreeView ? ControlFactory::MakeTree(parent) : ControlFactory::MakeReportList(parent);
}

QWidget* make(const DialogItem& item, QWidget* parent, QWidget* previous) {
    const QString text = ToQString(item.text);
    switch (item.kind) {
        case ControlKind::Static: {
            auto* label = new QLabel(text, parent);
            label->setAlignment(has(item.style, SS_CENTER)  ? Qt::AlignHCenter | Qt::AlignTop
                                : has(item.style, SS_RIGHT) ? Qt::AlignRight | Qt::AlignTop
                                                            : Qt::AlignLeft | Qt::AlignTop);
            label->setWordWrap(true);
            return label;
        }
        case ControlKind::Edit: return make_edit(item, parent);
        case ControlKind::PushButton: return new QPushButton(text, parent);
        case ControlKind::CheckBox: {
            if (!has(item.style, BS_PUSHLIKE)) return new WholeButton<QCheckBox>(text, parent);
            auto* toggle = new QPushButton(text, parent);
            toggle->setCheckable(true);
            // Pushed in is the highlight, plain to see on a small screen.
            toggle->setStyleSheet(QStringLiteral("QPushButton { border: 1px solid palette(dark); border-radius: 2px; "
                                                 "background: palette(button); } QPushButton:checked { "
                                                 "background: palette(highlight); color: palette(highlighted-text); }"));
            return toggle;
        }
        case ControlKind::RadioButton: {
            auto* radio = new WholeButton<QRadioButton>(text, parent);
            radio->setAutoExclusive(false);  // groups follow WS_GROUP (CDialog), not the parent
            return radio;
        }
        case ControlKind::OwnerDrawButton: return new OwnerDrawButton(parent);
        case ControlKind::GroupBox: return new QGroupBox(text, parent);
        case ControlKind::ListBox: return new QListWidget(parent);
        case ControlKind::DropDownList: return new DropDownCombo(parent);
        case ControlKind::UpDown: {
            auto* spinner = new UpDownControl(parent, has(item.style, UDS_WRAP), has(item.style, UDS_SETBUDDYINT));
            if (has(item.style, UDS_AUTOBUDDY)) spinner->SetBuddy(qobject_cast<QLineEdit*>(previous));
            return spinner;
        }
        case ControlKind::ReportList:
        case ControlKind::TreeView: return make_list(item.kind, parent);
        case ControlKind::ScrollBar:
            return new QScrollBar(has(item.style, SBS_VERT) ? Qt::Vertical : Qt::Horizontal, parent);
        case ControlKind::Window: break;
    }
    auto* window = new QWidget(parent);
    window->setAccessibleName(text);
    return window;
}

// The control's window tells its parent; looked up when it happens, since a subclassing
// window may have taken the control over since it was made.
void notify(QWidget* control, ce::UINT message, ce::WPARAM wParam) {
    CWnd* window = CWnd::FromWidget(control);
    if (window == nullptr || window->GetParent() == nullptr) return;
    window->GetParent()->WindowProc(message, wParam, reinterpret_cast<ce::LPARAM>(window->GetSafeHwnd()));
}

void command(QWidget* control, ce::UINT code) {
    const CWnd* window = CWnd::FromWidget(control);
    if (window != nullptr) notify(control, WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(window->GetDlgCtrlID()), code));
}

}  // namespace

QWidget* ControlFactory::MakeReportList(QWidget* parent) {
    auto* tree = new QTreeWidget(parent);
    tree->setRootIsDecorated(false);
    tree->setAllColumnsShowFocus(true);
    tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree->setUniformRowHeights(true);
    // Columns keep the widths the program gives them.
    tree->header()->setStretchLastSection(false);
    tree->header()->setSectionsMovable(false);
    QPalette palette = tree->palette();
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    tree->setPalette(palette);
    tree->setProperty(kReportProperty, true);
    return tree;
}

QWidget* ControlFactory::MakeTree(QWidget* parent) {
    auto* tree = new QTreeWidget(parent);
    tree->setRootIsDecorated(true);
    tree->setHeaderHidden(true);
    // A level's step, where an item's box is tapped, grows with the screen's dots per inch.
    tree->setIndentation(Screen::current().ScaleX(kTreeIndentation));
    auto* branches = new TreeBranchStyle(Screen::current().ScaleX(kTreeBoxSide));
    branches->setParent(tree);
    tree->setStyle(branches);
    tree->setUniformRowHeights(true);
    return tree;
}

QWidget* ControlFactory::Create(const DialogItem& item, QWidget* parent, QWidget* previous) {
    QWidget* control = make(item, parent, previous);
    control->setEnabled(!has(item.style, WS_DISABLED));
    control->setVisible(has(item.style, WS_VISIBLE));
    return control;
}

void ControlFactory::ConnectNotifications(QWidget* control) {
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        QObject::connect(button, &QAbstractButton::clicked, button, [button] { command(button, BN_CLICKED); });
    else if (auto* line = qobject_cast<QLineEdit*>(control))
        QObject::connect(line, &QLineEdit::textChanged, line, [line] { command(line, EN_CHANGE); });
    else if (auto* edit = qobject_cast<QPlainTextEdit*>(control))
        QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit] { command(edit, EN_CHANGE); });
    else if (auto* list = qobject_cast<QListWidget*>(control))
        QObject::connect(list, &QListWidget::currentRowChanged, list, [list] { command(list, LBN_SELCHANGE); });
    else if (auto* combo = qobject_cast<QComboBox*>(control))
        QObject::connect(combo, &QComboBox::currentIndexChanged, combo, [combo] { command(combo, CBN_SELCHANGE); });
    else if (auto* report = qobject_cast<QTreeWidget*>(control); report != nullptr && report->property(kReportProperty).toBool())
        QObject::connect(report, &QTreeWidget::itemSelectionChanged, report, [report] { command(report, LBN_SELCHANGE); });
    else if (auto* bar = qobject_cast<QScrollBar*>(control))
        QObject::connect(bar, &QScrollBar::valueChanged, bar, [bar](int position) {
            notify(bar, bar->orientation() == Qt::Vertical ? WM_VSCROLL : WM_HSCROLL,
                   MAKEWPARAM(SB_THUMBPOSITION, static_cast<unsigned>(position)));
        });
}

}  // namespace framework
