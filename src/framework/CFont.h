#pragma once
// A font by face, size in points and weight (100..1000, 400 normal, 700 bold), sized in
// true pixels of the handheld's screen so a 192-dpi screen draws it twice as tall.

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
    const QFont& font() const { return font_; }
    int PixelHeight() const { return font_.pixelSize(); }

private:
    QFont font_;
    bool created_ = false;
};
