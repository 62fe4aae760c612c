#pragma once
// A device context: drawing on a window while it paints, or on an image. Pens and
// fonts are selected as on the handheld; the current position serves MoveTo/LineTo.

#include <QPainter>
#include <string_view>

#include "framework/Colors.h"
#include "framework/Geometry.h"

class CBitmap;
class CFont;

class CDC {
public:
    static constexpr unsigned DT_LEFT = 0x0000;
    static constexpr unsigned DT_CENTER = 0x0001;
    static constexpr unsigned DT_RIGHT = 0x0002;
    static constexpr unsigned DT_VCENTER = 0x0004;
    static constexpr unsigned DT_SINGLELINE = 0x0020;
    static constexpr unsigned DT_WORDBREAK = 0x0010;
    static constexpr unsigned DT_NOCLIP = 0x0100;
    // With DT_WORDBREAK: the last line that fits the rectangle ends in "..." when the
    // text goes on beyond it.
    static constexpr unsigned DT_END_ELLIPSIS = 0x8000;

    explicit CDC(QPaintDevice* device);
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    void FillSolidRect(const CRect& rect, framework::COLORREF colour);
    // Lays `colour` over what is drawn, `percent` opaque.
    void FillTranslucentRect(const CRect& rect, framework::COLORREF colour, int percent);
    // A solid pen `width` pixels wide; the lines and outlines drawn next use it.
    void SelectPen(int width, framework::COLORREF colour);
    void SelectFont(const CFont& font);
    void SetTextColor(framework::COLORREF colour);
    // Outline only (no fill), corners rounded with an ellipse of that size; the pen is
    // centred on the rectangle's edges as the window system draws it.
    void RoundRect(const CRect& rect, CSize corner);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void DrawText(std::u16string_view text, const CRect& rect, unsigned format);
    // Whether `text`, word-wrapped in the selected font, fits the rectangle whole.
    bool FitsWrapped(std::u16string_view text, const CRect& rect) const;
    // The width and height of one line of `text` in the selected font.
    CSize GetTextExtent(std::u16string_view text) const;
    // Stretches the bitmap into the rectangle; pixels of the transparent colour are left alone.
    void TransparentBlt(const CRect& rect, const CBitmap& bitmap, framework::COLORREF transparent);
    void StretchBlt(const CRect& rect, const CBitmap& bitmap);

private:
    QPainter painter_;
    QPoint position_;
};
