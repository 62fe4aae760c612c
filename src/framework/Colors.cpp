#include "framework/Colors.h"

namespace framework {

COLORREF GetSysColor(int index) {
    switch (index) {
        case COLOR_HIGHLIGHT: return RGB(0, 80, 200);
        case COLOR_HIGHLIGHTTEXT:
        case COLOR_WINDOW:
        case COLOR_STATIC: return RGB(255, 255, 255);
        case COLOR_BTNFACE: return RGB(212, 208, 200);
        default: return RGB(0, 0, 0);
    }
}

}  // namespace framework
