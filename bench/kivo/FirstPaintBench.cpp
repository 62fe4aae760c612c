// How long KIVO takes from its instance initialisation (the alarm store read, the list
// sorted, the wake-up rescheduled) to the first complete picture of its window, and how
// long a repaint after scrolling a page takes, for 10, 100 and 1000 alarm files. Runs
// headless; prints the median of several starts per size.
//   build/release/bench/kivo_first_paint_bench [runs]

#include <stdlib.h>

#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "FreshHandheld.h"
#include "alarms/CAlarmDB.h"
#include "ce/Files.h"
#include "framework/CWinApp.h"
#include "host/Device.h"
#include "host/screen/ScreenSettings.h"
#include "kivo/CAlarmListView.h"
#include "kivo/CMainFrame.h"
#include "kivo/CTessaAlarmApp.h"

namespace {

using Clock = std::chrono::steady_clock;

std::filesystem::path make_installed_device(int alarms) {
    const std::filesystem::path root = bench::select_fresh_handheld("paint");
    if (root.empty()) return {};
    host::ScreenSettings screen;
    screen.width = 240;
    screen.height = 320;
    screen.dpi = 96;
    screen.write(host::Device::current().database());
    for (const char16_t* folder : {u"\\Program Files", u"\\Program Files\\KIVO", u"\\Program Files\\KIVO\\Alarms", u"\\Windows"})
        ce::CreateDirectoryW(folder);
    for (const char16_t* program : {u"\\Program Files\\KIVO\\Alert.exe", u"\\Windows\\kivowake.exe"})
        ce::CloseHandle(ce::CreateFileW(program, ce::GENERIC_WRITE, 0, ce::CREATE_ALWAYS));
    for (int n = 0; n < alarms; ++n) {
        CAlarmDB alarm;
        const std::string name = "\\Program Files\\KIVO\\Alarms\\" + std::to_string(n + 1) + ".kivo";
        alarm.Create(std::u16string(name.begin(), name.end()));
        alarm.SetDescription(u"Alarm number " + std::u16string(1, u'A' + n % 26) + u" with a longer description");
        alarm.SetAlarmTime((n * 5) % 24, (n * 7) % 60);
        alarm.SetDays(static_cast<std::uint8_t>(1 + n % 0x7F));
        alarm.SetActive(n % 3 == 0 ? 1 : 0);
    }
    return root;
}

double milliseconds(Clock::duration duration) { return std::chrono::duration<double, std::milli>(duration).count(); }

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("KIVO_PROGRAM_PATH", "\\Program Files\\KIVO\\KIVO.exe", 1);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    CWinApp::EnsureQt(argc, argv);
    std::printf("%8s  %22s  %22s\n", "alarms", "start to first paint", "repaint after a page");
    for (const int alarms : {10, 100, 1000}) {
        const auto root = make_installed_device(alarms);
        std::vector<double> first, page;
        for (int run = 0; run < runs; ++run) {
            CTessaAlarmApp app;
            const auto started = Clock::now();
            if (!app.InitInstance()) return 1;
            app.Frame()->widget()->grab();
            first.push_back(milliseconds(Clock::now() - started));
            auto* view = dynamic_cast<CAlarmListView*>(app.Frame()->GetActiveView());
            const auto scrolled = Clock::now();
            view->List().Select(std::min(alarms - 1, view->List().FirstVisible() + 8));
            view->List().widget()->grab();
            page.push_back(milliseconds(Clock::now() - scrolled));
            app.ExitInstance();
        }
        std::printf("%8d  %19.1f ms  %19.2f ms\n", alarms, median(first), median(page));
        bench::remove_handheld(root);
    }
    return 0;
}
