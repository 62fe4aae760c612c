#pragma once
// A font by face, size in points and weight (100..1000, 400 normal, 700 bold), sized in
// true pixels of the handheld's screen so a 192-dpi screen draws it twice as tall. A
// font made before the screen's dpi changed takes the new dpi's pixel size by itself.

#include <QFont>
#include <string_view>

class CFont {
public:
    static constexpr int FW_NORMAL = 400;
    static constexpr int FW_BOLD = 700;

    // False for an empty face, points <= 0 or a weight outside 1..1000.
    bool Create(std::u16string_view face, double points, int weight);
    // The dialog font every form's text and dialog units are measured with.
    static CFont DialogFont();

    bool IsCreated() const { return created_; }
    const QFont& font() const;
    int PixelHeight() const { return font().pixelSize(); }

private:
    void SizeForScreen() const;

    // Sized again when the program's dpi changes: drawing code holds fonts, not sizes.
    mutable QFont font_;
    mutable unsigned dpi_changes_ = 0;
    double points_ = 0;
    bool created_ = false;
};
