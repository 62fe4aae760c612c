#include "ScreenDevice.h"

#include <QApplication>
#include <QEventLoop>
#include <QWidget>

#include "host/Device.h"
#include "host/screen/ScreenSettings.h"

namespace testing_support {

void ScreenDevice::SetUp() {
    TempDevice::SetUp();
    SetScreen(240, 320, 96);
}

void ScreenDevice::TearDown() {
    // Windows a test left behind go before the next test's handheld.
    for (QWidget* widget : QApplication::topLevelWidgets()) widget->deleteLater();
    RunQueued();
    TempDevice::TearDown();
}

void ScreenDevice::SetScreen(int width, int height, int dpi, unsigned input_panel) {
    host::ScreenSettings screen;
    screen.width = width;
    screen.height = height;
    screen.dpi = dpi;
    screen.input_panel = input_panel;
    ASSERT_TRUE(screen.write(host::Device::current().database()));
}

bool ScreenDevice::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

void ScreenDevice::RunQueued() {
    for (int round = 0; round < 5; ++round) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

}  // namespace testing_support
