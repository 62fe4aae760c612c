#pragma once
// A form with one template per screen shape (portrait, landscape, square): built from
// the one for the screen it opens on, and re-laid out with another whenever a size
// change brings a new shape. Controls are moved, never made or destroyed.

#include "forms/ScreenShape.h"
#include "framework/CDialog.h"

class CBaseDlg : public CDialog {
public:
    CBaseDlg(CWnd* parent, int portrait_id, int landscape_id, int square_id);

    int CurrentTemplateId() const { return current_id_; }
    // The template the screen's shape asks for.
    int TemplateFor(const ScreenShape& shape) const;

protected:
    // Draws what lies under the controls; called from the form's paint handler.
    virtual void DrawBackground(CDC& /*dc*/) {}
    void OnPaint(CDC& dc) override { DrawBackground(dc); }
    void OnSize(ce::UINT type, int cx, int cy) override;
    // Moves every control the template lists to its place there; a missing template
    // leaves them where they are.
    void ApplyTemplate(int template_id);

private:
    int portrait_id_;
    int landscape_id_;
    int square_id_;
    int current_id_;
};
