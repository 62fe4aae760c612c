// The about form as the user sees it on each screen shape: the program's name and the
// build's version, every text whole inside the form, and OK closing it.

#include <gtest/gtest.h>

#include <QTimer>

#include "ScreenDevice.h"
#include "WholeText.h"
#include "framework/Automation.h"
#include "framework/WindowMessages.h"
#include "kivo/CAboutDlg.h"

namespace {

struct Screen {
    const char* name;
    int width, height, dpi;
};

void PrintTo(const Screen& row, std::ostream* out) { *out << row.name; }

class AboutForm : public testing_support::ScreenDevice, public ::testing::WithParamInterface<Screen> {};

TEST_P(AboutForm, ShowsTheNameAndTheBuildsVersionWholeAndOkClosesIt) {
    SetScreen(GetParam().width, GetParam().height, GetParam().dpi);
    CAboutDlg form(nullptr);
    bool checked = false;
    QTimer::singleShot(0, [&] {
        checked = true;
        EXPECT_EQ(form.GetDlgItem(CAboutDlg::IDC_NAME)->GetWindowText(), u"KIVO");
        EXPECT_EQ(form.GetDlgItem(CAboutDlg::IDC_VERSION)->GetWindowText(), u"Version " EXPECTED_VERSION);
        CRect client;
        form.GetClientRect(&client);
        for (const int id : {CAboutDlg::IDC_NAME, CAboutDlg::IDC_VERSION, CAboutDlg::IDC_PURPOSE}) {
            const CWnd* text = form.GetDlgItem(id);
            EXPECT_TRUE(testing_support::ShowsWholeText(text)) << "control " << id << " cuts its text";
            CRect place;
            text->GetWindowRectInParent(&place);
            EXPECT_TRUE(place.left >= 0 && place.right <= client.right && place.bottom <= client.bottom)
                << "control " << id << " leaves the form";
        }
        EXPECT_TRUE(framework::Automation::Click(&form, framework::IDOK));
    });
    EXPECT_EQ(form.DoModal(), framework::IDOK);
    EXPECT_TRUE(checked);
}

INSTANTIATE_TEST_SUITE_P(Screens, AboutForm,
                         ::testing::Values(Screen{"Portrait", 240, 320, 96}, Screen{"Landscape", 320, 240, 96},
                                           Screen{"Square", 240, 240, 96}, Screen{"HighResolution", 480, 640, 192}),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
