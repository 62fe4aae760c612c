// The tree, the report list and the box that drops a tree down, as a form's user and
// `handheld ui` meet them: branches filled when first opened, rows with their columns,
// both listed by `ui dump` and chosen by `ui select` or the stylus.

#include <gtest/gtest.h>

#include <QTreeWidget>
#include <fstream>
#include <sstream>

#include "ScreenDevice.h"
#include "UiDump.h"
#include "framework/Automation.h"
#include "framework/AutomationProtocol.h"
#include "framework/CDialog.h"
#include "framework/CListCtrl.h"
#include "framework/CTreeComboBox.h"
#include "framework/CTreeCtrl.h"
#include "framework/DialogTemplate.h"
#include "framework/InputDispatcher.h"
#include "framework/WindowMessages.h"

namespace {

using namespace framework;
using namespace framework::automation;

constexpr int kForm = 9200;
constexpr int kFiles = 20, kTree = 21, kButton = 22, kBox = 23, kDropTree = 24;

constexpr DialogItem kItems[] = {
    {kFiles, ControlKind::ReportList, u"", WS_VISIBLE | WS_BORDER, 4, 4, 140, 60},
    {kButton, ControlKind::PushButton, u"Press", WS_VISIBLE, 4, 150, 40, 14},
};

// A tree whose items below the second level have three children each, made when an
// item is first opened; "Empty" turns out to have none.
class CountingTree : public CTreeCtrl {
public:
    int fills = 0;

protected:
    void OnItemExpanding(HTREEITEM item) override {
        ++fills;
        if (GetItemText(item) == u"Empty" || GetItemDepth(item) >= 2) return;
        for (const char16_t* name : {u"One", u"Two", u"Three"}) InsertItem(name, item, true);
    }
};

// The tree of a drop-down box tells its box what was chosen.
class BoxTree : public CountingTree {
public:
    explicit BoxTree(CTreeComboBox& box) : box_(box) {}

protected:
    void OnItemChosen(HTREEITEM /*item*/) override { box_.ItemChosen(this); }

private:
    CTreeComboBox& box_;
};

class DropBox : public CTreeComboBox {
public:
    BoxTree tree{*this};
    std::u16string chosen;
    int closed = 0;

protected:
    CTreeCtrl* OnDropDown(const CRect& place) override {
        if (tree.GetSafeHwnd() == nullptr) {
            tree.Create(GetParent(), place, kDropTree);
            tree.InsertItem(u"Top", TVI_ROOT, true);
        }
        return &tree;
    }
    void OnChosen(CTreeCtrl* from) override { chosen = from->GetItemText(from->GetSelectedItem()); }
    void OnCloseUp(bool /*was_chosen*/) override { ++closed; }
};

class ListForm : public CDialog {
public:
    ListForm() : CDialog(kForm, nullptr) {}
    std::vector<std::pair<ce::UINT, ce::UINT>> commands;
    CountingTree tree;
    DropBox box;

protected:
    bool OnInitDialog() override {
        auto* files = dynamic_cast<CListCtrl*>(GetDlgItem(kFiles));
        files->InsertColumn(0, u"Name", 100);
        files->InsertColumn(1, u"Size", 60);
        for (const char16_t* name : {u"a.wav", u"b.wav", u"c \"quoted\".wav"}) {
            const int row = files->InsertItem(files->GetItemCount(), name);
            files->SetItemText(row, 1, u"1K");
        }
        tree.Create(this, {4, 94, 200, 200}, kTree);
        tree.InsertItem(u"Root", TVI_ROOT, true);
        tree.InsertItem(u"Empty", TVI_ROOT, true);
        tree.ShowWindow(true);
        box.Create(this, {4, 234, 200, 254}, kBox);
        box.SetWindowText(u"Top");
        box.SetDropDownHeight(60);
        return true;
    }
    bool OnCommand(ce::UINT id, ce::UINT code) override {
        commands.emplace_back(id, code);
        return true;
    }
};

class TreeAndReportList : public testing_support::ScreenDevice {
protected:
    void SetUp() override {
        ScreenDevice::SetUp();
        DialogTemplates::Add({kForm, 160, 170, kItems});
        ASSERT_TRUE(form.Create());
        RunQueued();
    }
    std::string Ask(ce::UINT message, ce::LPARAM lParam) {
        ++request;
        form.SendMessage(message, request, lParam);
        RunQueued();
        std::ifstream in(host_path("Temp/ui/" + std::to_string(request) + ".out"));
        std::stringstream reply;
        reply << in.rdbuf();
        return reply.str();
    }
    std::string Select(int id, int index) { return Ask(WM_UI_SELECT, MAKELPARAM(id, index)); }
    void Tap(CPoint point) {
        InputDispatcher::Deliver(&form, {form.GetSafeHwnd(), ce::WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y), 0});
        InputDispatcher::Deliver(&form, {form.GetSafeHwnd(), ce::WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y), 0});
        RunQueued();
    }
    static CPoint Centre(CWnd& control) {
        CRect place;
        control.GetWindowRectInParent(&place);
        return {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
    }
    ListForm form;
    unsigned request = 500;
};

TEST_F(TreeAndReportList, ABranchIsFilledWhenFirstOpenedAndUiDumpShowsWhatIsOpen) {
    CountingTree& tree = form.tree;
    HTREEITEM root = tree.GetRootItem();
    EXPECT_EQ(tree.fills, 0) << "nothing is searched before it is opened";
    EXPECT_EQ(tree.GetChildItem(root), nullptr);
    ASSERT_TRUE(tree.Expand(root));
    tree.Expand(root, false);
    tree.Expand(root);
    EXPECT_EQ(tree.fills, 1) << "opened again, the branch keeps what it found";
    HTREEITEM two = tree.FindChild(root, u"Two");
    ASSERT_NE(two, nullptr);
    tree.Expand(two);
    HTREEITEM empty = tree.GetNextSiblingItem(root);
    tree.Expand(empty);
    EXPECT_TRUE(tree.IsFilled(empty));
    EXPECT_EQ(tree.GetChildItem(empty), nullptr);

    std::vector<std::u16string> shown;
    for (HTREEITEM item : tree.VisibleItems()) shown.push_back(tree.GetItemText(item));
    EXPECT_EQ(shown, (std::vector<std::u16string>{u"Root", u"One", u"Two", u"One", u"Two", u"Three", u"Three", u"Empty"}));

    const std::string lines = Ask(WM_UI_DUMP, 0);
    EXPECT_NE(lines.find("\n  item 0 \"Root\" expanded "), std::string::npos) << lines;
    EXPECT_NE(lines.find("\n    item 1 \"One\" collapsed "), std::string::npos) << lines;
    EXPECT_NE(lines.find("\n      item 3 \"One\" collapsed "), std::string::npos) << lines;
    EXPECT_NE(lines.find("\n  item 7 \"Empty\" leaf"), std::string::npos) << lines;

    const QJsonObject dumped = testing_support::DumpControl(Ask(WM_UI_DUMP, 1), {{"id", kTree}, {"kind", "treeview"}});
    const QJsonArray items = dumped.value("items").toArray();
    ASSERT_EQ(items.size(), 8);
    EXPECT_EQ(items[2].toObject().value("text"), "Two");
    EXPECT_EQ(items[2].toObject().value("depth"), 1);
    EXPECT_EQ(items[2].toObject().value("state"), "expanded");

    // `ui select` chooses an item by its place in the dump, as a tap on it would.
    EXPECT_EQ(Select(kTree, 5), "ok\n");
    EXPECT_EQ(tree.GetItemText(tree.GetSelectedItem()), u"Three");
    EXPECT_EQ(tree.GetItemText(tree.GetParentItem(tree.GetSelectedItem())), u"Two");
    ASSERT_FALSE(form.commands.empty());
    EXPECT_EQ(form.commands.back(), std::make_pair(static_cast<ce::UINT>(kTree), LBN_SELCHANGE));
    EXPECT_EQ(Select(kTree, 8).rfind("error: control 21 has no item 8", 0), 0u);
}

TEST_F(TreeAndReportList, ReportRowsAreListedWithTheirColumnsAndChosenByTheStylusOrUiSelect) {
    auto* files = dynamic_cast<CListCtrl*>(form.GetDlgItem(kFiles));
    EXPECT_EQ(files->GetColumnCount(), 2);
    EXPECT_EQ(files->GetColumnWidth(0), 100);
    files->SetColumnWidth(1, 40);
    EXPECT_EQ(files->GetColumnWidth(1), 40);
    EXPECT_EQ(files->GetSelectedItem(), -1);

    const std::string lines = Ask(WM_UI_DUMP, 0);
    EXPECT_NE(lines.find("\n  row 2 \"c \\\"quoted\\\".wav\" \"1K\" "), std::string::npos) << lines;

    // A tap on the second row selects it, and the form hears of it.
    const CRect second = files->GetItemRect(1);
    CRect place;
    files->GetWindowRectInParent(&place);
    Tap({place.left + second.left + 10, place.top + (second.top + second.bottom) / 2});
    EXPECT_EQ(files->GetSelectedItem(), 1);
    ASSERT_FALSE(form.commands.empty());
    EXPECT_EQ(form.commands.back(), std::make_pair(static_cast<ce::UINT>(kFiles), LBN_SELCHANGE));

    EXPECT_EQ(Select(kFiles, 2), "ok\n");
    EXPECT_EQ(files->GetSelectedItem(), 2);
    EXPECT_FALSE(files->IsItemSelected(1));
    const QJsonObject dumped = testing_support::DumpControl(Ask(WM_UI_DUMP, 1), {{"id", kFiles}});
    const QJsonArray rows = dumped.value("rows").toArray();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[2].toObject().value("texts").toArray().at(0), "c \"quoted\".wav");
    EXPECT_EQ(rows[2].toObject().value("selected"), true);
    EXPECT_EQ(dumped.value("selected"), 2);
    EXPECT_EQ(dumped.value("columns").toArray().at(1).toObject().value("heading"), "Size");
}

TEST_F(TreeAndReportList, TheBoxDropsItsTreeDownAndATapOutsideClosesItWithoutReachingWhatIsThere) {
    DropBox& box = form.box;
    EXPECT_TRUE(Automation::Click(&form, kBox));
    ASSERT_TRUE(box.IsDroppedDown());
    EXPECT_TRUE(box.tree.IsWindowVisible());
    CRect under;
    box.tree.GetWindowRectInParent(&under);
    EXPECT_EQ(under, box.DropDownRect());

    form.commands.clear();
    Tap(Centre(*form.GetDlgItem(kButton)));
    EXPECT_FALSE(box.IsDroppedDown());
    EXPECT_FALSE(box.tree.IsWindowVisible());
    EXPECT_TRUE(form.commands.empty()) << "the tap that closed the tree pressed nothing";
    EXPECT_EQ(box.chosen, u"");
    Tap(Centre(*form.GetDlgItem(kButton)));
    EXPECT_EQ(form.commands.size(), 1u) << "the next tap reaches the button";

    // Opened again, a choice in it closes it and the box hears which.
    ASSERT_TRUE(Automation::Click(&form, kBox));
    ASSERT_TRUE(box.IsDroppedDown());
    const std::string dump = Ask(WM_UI_DUMP, 0);
    EXPECT_NE(dump.find("  item 0 \"Top\" collapsed"), std::string::npos) << dump;
    EXPECT_EQ(Select(kDropTree, 0), "ok\n");
    EXPECT_FALSE(box.IsDroppedDown());
    EXPECT_EQ(box.chosen, u"Top");
    EXPECT_EQ(box.closed, 2);
}

}  // namespace
