#pragma once
// The handheld's screen as the forms lay themselves out on it: size in pixels as it is
// turned now, dots per inch, and the measures the forms are designed in (pixels of a
// 96-dpi screen, points of a font) converted to true pixels of this screen.

namespace framework {

class Screen {
public:
    static constexpr int kDesignDpi = 96;

    // The handheld's screen as its settings say now.
    static Screen current();
    // Takes the handheld's dpi now as the one the program draws at, as the program starts
    // and when the window system says the screen changed; true when it differs from the
    // one taken before, and DpiChanges() moves on.
    static bool TakeDpi();
    // How often the program's dpi changed while it ran: what was made for a dpi and kept
    // (a font's pixel size, a picture drawn or picked for it) is made again when this
    // differs from the count it was made at.
    static unsigned DpiChanges();
    Screen(int width, int height, int dpi_x, int dpi_y);

    int width() const { return width_; }
    int height() const { return height_; }
    int dpi_x() const { return dpi_x_; }
    int dpi_y() const { return dpi_y_; }
    bool portrait() const { return height_ > width_; }

    // A length drawn for a 96-dpi screen, in pixels of this one (rounded to nearest).
    int ScaleX(int design_pixels) const;
    int ScaleY(int design_pixels) const;
    // The height in pixels of a font of that many points on this screen.
    int PointsToPixels(double points) const;

private:
    int width_;
    int height_;
    int dpi_x_;
    int dpi_y_;
};

// MulDiv of the window system: a * b / c rounded to nearest, 0 when c is 0.
int MulDiv(int a, int b, int c);

}  // namespace framework
