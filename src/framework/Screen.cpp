#include "framework/Screen.h"

#include <atomic>
#include <cmath>
#include <cstdint>

#include "ce/Screen.h"

namespace framework {

int MulDiv(int a, int b, int c) {
    if (c == 0) return 0;
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t half = (product < 0) == (c < 0) ? c / 2 : -c / 2;
    return static_cast<int>((product + half) / c);
}

namespace {

// Only the user-interface thread takes the dpi; the count is read from any thread that draws.
int g_taken_x = 0;
int g_taken_y = 0;
std::atomic<unsigned> g_dpi_changes{0};

}  // namespace

Screen Screen::current() {
    return Screen(ce::GetSystemMetrics(ce::SM_CXSCREEN), ce::GetSystemMetrics(ce::SM_CYSCREEN),
                  ce::GetScreenDeviceCaps(ce::LOGPIXELSX), ce::GetScreenDeviceCaps(ce::LOGPIXELSY));
}

bool Screen::TakeDpi() {
    const Screen now = current();
    const bool first = g_taken_x == 0;
    if (!first && now.dpi_x() == g_taken_x && now.dpi_y() == g_taken_y) return false;
    g_taken_x = now.dpi_x();
    g_taken_y = now.dpi_y();
    if (first) return false;
    ++g_dpi_changes;
    return true;
}

unsigned Screen::DpiChanges() { return g_dpi_changes.load(); }

// A handheld that reports no size (no device) still gets the common screen, so forms
// always have somewhere to lay themselves out.
Screen::Screen(int width, int height, int dpi_x, int dpi_y)
    : width_(width > 0 ? width : 240),
      height_(height > 0 ? height : 320),
      dpi_x_(dpi_x > 0 ? dpi_x : kDesignDpi),
      dpi_y_(dpi_y > 0 ? dpi_y : kDesignDpi) {}

int Screen::ScaleX(int design_pixels) const { return MulDiv(design_pixels, dpi_x_, kDesignDpi); }
int Screen::ScaleY(int design_pixels) const { return MulDiv(design_pixels, dpi_y_, kDesignDpi); }

int Screen::PointsToPixels(double points) const { return static_cast<int>(std::lround(points * dpi_y_ / 72.0)); }

}  // namespace framework
