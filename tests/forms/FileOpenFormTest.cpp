// The file chooser as the sound form's user meets it: which files a folder lists and
// how, where the chooser opens (the caller's path, the folder used last, the Windows
// folder), the folder tree dropped down from the folder box and filled as it is
// opened, and the list's stylus: selection, ranges and scrolling past its edges.

#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTreeWidget>
#include <fstream>

#include "ScreenDevice.h"
#include "ce/Files.h"
#include "forms/CFileOpenDlg.h"
#include "forms/LastFolder.h"
#include "framework/Automation.h"
#include "framework/InputDispatcher.h"
#include "framework/WindowMessages.h"

namespace {

using framework::Automation;

class FileOpenForm : public testing_support::ScreenDevice {
protected:
    void SetUp() override {
        ScreenDevice::SetUp();
        std::filesystem::create_directories(host_path("My Documents"));
        std::filesystem::create_directories(host_path("Windows"));
    }
    void Put(const std::string& name, std::size_t bytes = 10) {
        std::filesystem::create_directories(host_path(name).parent_path());
        std::ofstream(host_path(name), std::ios::binary) << std::string(bytes, 'x');
    }
    static std::vector<std::u16string> Names(CFileOpenDlg& form) {
        std::vector<std::u16string> names;
        for (int row = 0; row < form.FileList().GetItemCount(); ++row) names.push_back(form.FileList().GetItemText(row, 0));
        return names;
    }
    // The stylus at `point` of the form, as `handheld tap` puts it down, moves it and lifts it.
    static void Stylus(CWnd& form, ce::UINT message, CPoint point) {
        framework::InputDispatcher::Deliver(&form, {form.GetSafeHwnd(), message,
                                                    message == ce::WM_LBUTTONUP ? 0u : framework::MK_LBUTTON,
                                                    framework::MAKELPARAM(point.x, point.y), 0});
    }
    static void Tap(CWnd& form, CPoint point) {
        Stylus(form, ce::WM_LBUTTONDOWN, point);
        Stylus(form, ce::WM_LBUTTONUP, point);
        RunQueued();
    }
    // A point of a control's client area in the form's coordinates.
    static CPoint InForm(CWnd& control, CPoint point) {
        CRect place;
        control.GetWindowRectInParent(&place);
        return {place.left + point.x, place.top + point.y};
    }
};

TEST_F(FileOpenForm, ListsOnlyVisibleFilesOfTheAllowedExtensionWhateverTheirCase) {
    for (const char* name : {"ALARM.WAV", "alarm.wav", "alarm", "notes.txt", "wav", "birds.Wav", "secret.wav"})
        Put(std::string("My Documents/") + name);
    std::filesystem::create_directories(host_path("My Documents/folder.wav"));
    ASSERT_TRUE(ce::SetFileAttributesW(u"\\My Documents\\secret.wav", ce::FILE_ATTRIBUTE_HIDDEN));
    std::u16string path = u"\\My Documents";
    CFileOpenDlg form(&path);
    form.SetExtensions({u"wav"});
    ASSERT_TRUE(form.Create());
    RunQueued();
    EXPECT_EQ(Names(form), (std::vector<std::u16string>{u"ALARM.WAV", u"alarm.wav", u"birds.Wav"}));
    EXPECT_EQ(form.FileList().GetColumnHeading(0), u"Name");
    EXPECT_EQ(form.FileList().GetColumnHeading(1), u"Date");
    EXPECT_EQ(form.FileList().GetColumnHeading(2), u"Size");
    EXPECT_TRUE(form.FileList().IsItemSelected(0)) << "the first file is selected";
    form.DestroyWindow();

    // Two extensions: each file's last extension decides, whatever its case; "wav" alone
    // and "alarm" have none.
    CFileOpenDlg two(&path);
    two.SetExtensions({u"txt", u"WAV"});
    ASSERT_TRUE(two.Create());
    RunQueued();
    EXPECT_EQ(Names(two), (std::vector<std::u16string>{u"ALARM.WAV", u"alarm.wav", u"birds.Wav", u"notes.txt"}));
}

struct SizeCase {
    std::size_t bytes;
    const char16_t* shown;
};

TEST_F(FileOpenForm, SizesAreShownInBytesKilobytesOrMegabytesWithOneDecimalCutOff) {
    const SizeCase cases[] = {{0, u"0B"},          {1023, u"1023B"},       {1024, u"1K"},    {1536, u"1K"},
                              {1048575, u"1023K"}, {1048576, u"1,0M"},     {3155000, u"3,0M"},
                              {3670016, u"3,5M"},  {3774873, u"3,5M"}};
    for (std::size_t index = 0; index < std::size(cases); ++index)
        Put("My Documents/size" + std::to_string(index) + ".wav", cases[index].bytes);
    std::u16string path = u"\\My Documents\\";
    CFileOpenDlg form(&path);
    form.SetExtensions({u"wav"});
    ASSERT_TRUE(form.Create());
    RunQueued();
    ASSERT_EQ(form.FileList().GetItemCount(), static_cast<int>(std::size(cases)));
    for (std::size_t index = 0; index < std::size(cases); ++index)
        EXPECT_EQ(form.FileList().GetItemText(static_cast<int>(index), 2), cases[index].shown) << cases[index].bytes;
    EXPECT_FALSE(form.FileList().GetItemText(0, 1).empty()) << "a date";
}

TEST_F(FileOpenForm, OpensAtTheNearestFolderOfThePathAndSelectsTheFileItNames) {
    Put("My Documents/a.wav");
    Put("My Documents/b.wav");
    struct Case {
        std::u16string given;
        std::u16string folder;
        std::u16string pending;
        int selected;
    };
    const Case cases[] = {
        {u"\\My Documents\\gone\\x.wav", u"\\My Documents", u"", 0},
        {u"\\My Documents\\b.wav", u"\\My Documents", u"b.wav", 1},
        {u"\\MY DOCUMENTS\\B.WAV", u"\\MY DOCUMENTS", u"B.WAV", 1},
        {u"\\My Documents", u"\\My Documents", u"", 0},
        {u"nothing", u"\\", u"", -1},
        {u"\\", u"\\Windows", u"", -1},
        {u"", u"\\Windows", u"", -1},
    };
    for (const auto& c : cases) {
        std::u16string path = c.given;
        CFileOpenDlg form(&path);
        form.SetExtensions({u"wav"});
        EXPECT_EQ(form.CurrentFolder(), c.folder) << std::string(c.given.begin(), c.given.end());
        EXPECT_EQ(form.PendingName(), c.pending);
        ASSERT_TRUE(form.Create());
        RunQueued();
        EXPECT_EQ(form.FileList().GetSelectedItem(), c.selected);
        form.DestroyWindow();
    }
}

// Names that differ in case alone are two files on the handheld: the one the alarm uses is
// the one selected, so that OK does not switch the sound.
TEST_F(FileOpenForm, OfTwoNamesDifferingInCaseTheExactOneIsSelected) {
    Put("My Documents/ALARM.WAV");
    Put("My Documents/alarm.wav");
    for (const std::u16string name : {u"ALARM.WAV", u"alarm.wav"}) {
        std::u16string path = u"\\My Documents\\" + name;
        CFileOpenDlg form(&path);
        form.SetExtensions({u"wav"});
        ASSERT_TRUE(form.Create());
        RunQueued();
        ASSERT_EQ(form.FileList().GetItemCount(), 2);
        const int selected = form.FileList().GetSelectedItem();
        ASSERT_GE(selected, 0);
        EXPECT_EQ(form.FileList().GetItemText(selected, 0), name);
        ASSERT_TRUE(Automation::Click(&form, framework::IDOK));
        EXPECT_EQ(path, u"\\My Documents\\" + name) << "OK keeps the sound";
    }
}

TEST_F(FileOpenForm, OkTakesTheSelectedFileCancelLeavesThePathAndBothRememberTheFolder) {
    Put("My Documents/Sounds/ring.wav");
    Put("Windows/Alarm1.wav");
    std::u16string path = u"\\My Documents\\Sounds";
    {
        CFileOpenDlg form(&path);
        form.SetExtensions({u"wav"});
        ASSERT_TRUE(form.Create());
        RunQueued();
        ASSERT_TRUE(Automation::Click(&form, framework::IDOK));
        EXPECT_EQ(form.GetSafeHwnd(), nullptr);
    }
    EXPECT_EQ(path, u"\\My Documents\\Sounds\\ring.wav");
    EXPECT_EQ(LastFolder::Read(), u"\\My Documents\\Sounds");

    // The next opening, given nothing, starts where the last one ended.
    std::u16string none;
    {
        CFileOpenDlg form(&none);
        EXPECT_EQ(form.CurrentFolder(), u"\\My Documents\\Sounds");
        ASSERT_TRUE(form.Create());
        RunQueued();
        ASSERT_TRUE(Automation::Click(&form, framework::IDCANCEL));
    }
    EXPECT_EQ(none, u"");

    // A remembered folder that is gone gives the Windows folder.
    std::filesystem::remove_all(host_path("My Documents/Sounds"));
    CFileOpenDlg form(&none);
    EXPECT_EQ(form.CurrentFolder(), u"\\Windows");
}

TEST_F(FileOpenForm, OkWithNothingSelectedKeepsTheFormOpen) {
    std::filesystem::create_directories(host_path("Empty"));
    std::u16string path = u"\\Empty";
    CFileOpenDlg form(&path);
    ASSERT_TRUE(form.Create());
    RunQueued();
    EXPECT_EQ(form.FileList().GetItemCount(), 0);
    ASSERT_TRUE(Automation::Click(&form, framework::IDOK));
    RunQueued();
    EXPECT_NE(form.GetSafeHwnd(), nullptr);
    EXPECT_EQ(path, u"\\Empty");
}

TEST_F(FileOpenForm, TheFolderTreeIsOpenedTwoLevelsDownAndAFolderChosenWithTheStylus) {
    Put("Music/Alarms/Loud/siren.wav");
    Put("Music/Alarms/soft.wav");
    std::filesystem::create_directories(host_path("Music/Alarms/Loud/Deeper"));
    std::filesystem::create_directories(host_path("Music/Hidden"));
    ASSERT_TRUE(ce::SetFileAttributesW(u"\\Music\\Hidden", ce::FILE_ATTRIBUTE_HIDDEN));
    std::u16string path;
    CFileOpenDlg form(&path);
    form.SetExtensions({u"wav"});
    ASSERT_TRUE(form.Create());
    RunQueued();
    EXPECT_EQ(form.FolderBox().GetWindowText(), u"Windows");

    ASSERT_TRUE(Automation::Click(&form, CComboBoxDir::kId));
    CFolderTree* tree = form.FolderBox().Tree();
    ASSERT_NE(tree, nullptr);
    EXPECT_TRUE(tree->IsWindowVisible());
    HTREEITEM root = tree->GetRootItem();
    EXPECT_EQ(tree->GetItemText(root), u"My Device");
    EXPECT_EQ(tree->GetItemText(tree->GetSelectedItem()), u"Windows") << "the tree opens at the current folder";
    HTREEITEM music = tree->FindChild(root, u"Music");
    ASSERT_NE(music, nullptr);
    EXPECT_FALSE(tree->IsFilled(music)) << "a folder is searched only when opened";

    // A tap on an item's box opens it, two levels down.
    const auto open = [&](HTREEITEM item) {
        const CRect text = tree->GetItemRect(item);
        const int indent = qobject_cast<QTreeWidget*>(tree->widget())->indentation();
        Tap(form, InForm(*tree, {text.left - indent / 2, (text.top + text.bottom) / 2}));
    };
    open(music);
    EXPECT_TRUE(tree->IsExpanded(music));
    EXPECT_EQ(tree->FindChild(music, u"Hidden"), nullptr);
    HTREEITEM alarms = tree->FindChild(music, u"Alarms");
    ASSERT_NE(alarms, nullptr);
    open(alarms);
    HTREEITEM loud = tree->FindChild(alarms, u"Loud");
    ASSERT_NE(loud, nullptr);
    EXPECT_EQ(tree->PathOf(loud), u"\\Music\\Alarms\\Loud");

    // A tap on its name chooses it: the tree closes and the folder is shown.
    const CRect name = tree->GetItemRect(loud);
    Tap(form, InForm(*tree, {name.left + 4, (name.top + name.bottom) / 2}));
    EXPECT_FALSE(form.FolderBox().IsDroppedDown());
    EXPECT_EQ(form.CurrentFolder(), u"\\Music\\Alarms\\Loud");
    EXPECT_EQ(form.FolderBox().GetWindowText(), u"Music\\Alarms\\Loud");
    EXPECT_EQ(Names(form), std::vector<std::u16string>{u"siren.wav"});

    // Opened again, it shows that folder; a tap outside it closes it and changes nothing.
    ASSERT_TRUE(Automation::Click(&form, CComboBoxDir::kId));
    ASSERT_NE(form.FolderBox().Tree(), nullptr);
    EXPECT_EQ(form.FolderBox().Tree()->PathOf(form.FolderBox().Tree()->GetSelectedItem()), u"\\Music\\Alarms\\Loud");
    CRect ok;
    form.GetDlgItem(framework::IDCANCEL)->GetWindowRectInParent(&ok);
    Tap(form, {(ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2});
    EXPECT_FALSE(form.FolderBox().IsDroppedDown());
    EXPECT_NE(form.GetSafeHwnd(), nullptr) << "the tap that closed the tree did not reach Cancel";
    EXPECT_EQ(form.CurrentFolder(), u"\\Music\\Alarms\\Loud");
}

TEST_F(FileOpenForm, TheColumnsShareTheListWhateverTheFirstFolderHolds) {
    Put("My Documents/ring.wav");
    Put("My Documents/a sound with a rather long name.wav", 20000);
    CFileOpenDlg form(nullptr);
    form.SetExtensions({u"wav"});
    ASSERT_TRUE(form.Create());
    RunQueued();
    ASSERT_EQ(form.CurrentFolder(), u"\\Windows") << "first use: nothing to list";
    const auto shares = [&](const char* when) {
        const int rows = qobject_cast<QTreeWidget*>(form.FileList().widget())->viewport()->width();
        ASSERT_GT(rows, 100) << when;
        EXPECT_NEAR(form.FileList().GetColumnWidth(0), rows / 2, 1) << when;
        EXPECT_NEAR(form.FileList().GetColumnWidth(1), rows / 4, 1) << when;
        EXPECT_NEAR(form.FileList().GetColumnWidth(2), rows / 4, 1) << when;
    };
    shares("opened on an empty folder");

    ASSERT_TRUE(Automation::Click(&form, CComboBoxDir::kId));
    CFolderTree* tree = form.FolderBox().Tree();
    ASSERT_NE(tree, nullptr);
    HTREEITEM documents = tree->FindChild(tree->GetRootItem(), u"My Documents");
    ASSERT_NE(documents, nullptr);
    const CRect name = tree->GetItemRect(documents);
    Tap(form, InForm(*tree, {name.left + 4, (name.top + name.bottom) / 2}));
    ASSERT_EQ(form.CurrentFolder(), u"\\My Documents");
    ASSERT_EQ(form.FileList().GetItemCount(), 2);
    shares("after choosing a folder with files");
}

TEST_F(FileOpenForm, AFolderTooLongForTheBoxShowsItsEnd) {
    const std::string deep = "A very long folder name/Another long folder name/Sounds of the morning";
    std::filesystem::create_directories(host_path(deep));
    std::u16string path = u"\\" + std::u16string(deep.begin(), deep.end());
    std::replace(path.begin(), path.end(), u'/', u'\\');
    CFileOpenDlg form(&path);
    ASSERT_TRUE(form.Create());
    RunQueued();
    const std::u16string shown = form.FolderBox().GetWindowText();
    ASSERT_EQ(shown.rfind(u"...", 0), 0u) << std::string(shown.begin(), shown.end());
    EXPECT_TRUE(path.ends_with(shown.substr(3)));
    EXPECT_TRUE(shown.ends_with(u"of the morning")) << std::string(shown.begin(), shown.end());
}

TEST_F(FileOpenForm, DraggingSelectsARangeAndHoldingBelowTheListScrollsIt) {
    for (int index = 0; index < 40; ++index) Put("Many/f" + std::to_string(100 + index) + ".wav");
    std::u16string path = u"\\Many";
    CFileOpenDlg form(&path);
    form.SetExtensions({u"wav"});
    ASSERT_TRUE(form.Create());
    RunQueued();
    CListCtrlFiles& files = form.FileList();
    auto* view = qobject_cast<QTreeWidget*>(files.widget());
    const CRect first = files.GetItemRect(0);
    const CRect third = files.GetItemRect(2);
    ASSERT_GT(first.Height(), 0);
    Stylus(form, ce::WM_LBUTTONDOWN, InForm(files, {first.left + 5, (first.top + first.bottom) / 2}));
    Stylus(form, ce::WM_MOUSEMOVE, InForm(files, {third.left + 5, (third.top + third.bottom) / 2}));
    RunQueued();
    EXPECT_TRUE(files.IsItemSelected(0) && files.IsItemSelected(1) && files.IsItemSelected(2));
    EXPECT_FALSE(files.IsItemSelected(3));

    // Held below the list, it scrolls on every tick and the range follows.
    CRect list;
    files.GetClientRect(&list);
    Stylus(form, ce::WM_MOUSEMOVE, InForm(files, {first.left + 5, list.bottom + 10}));
    EXPECT_TRUE(files.IsAutoScrolling());
    ASSERT_TRUE(RunUntil([&] { return view->verticalScrollBar()->value() >= 36; }, std::chrono::seconds(5)));
    Stylus(form, ce::WM_LBUTTONUP, InForm(files, {first.left + 5, list.bottom + 10}));
    RunQueued();
    EXPECT_FALSE(files.IsAutoScrolling());
    const int scrolled = view->verticalScrollBar()->value();
    EXPECT_EQ(scrolled % 12, 0) << "12 pixels a tick";
    int last = 0;
    for (int row = 0; row < files.GetItemCount(); ++row)
        if (files.IsItemSelected(row)) last = row;
    EXPECT_GT(last, 2) << "the range grew with the scrolling";
    EXPECT_EQ(files.GetSelectedItem(), 0);
    RunQueued();
    EXPECT_EQ(view->verticalScrollBar()->value(), scrolled) << "no more scrolling once lifted";
}

}  // namespace
