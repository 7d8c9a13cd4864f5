// CParamDisplay: shows a control value as text, over an optional background
// (image, or fill and outline) and 3-D border, with an optional text shadow.
// It takes no mouse input of its own.
//
// Text of the value (a 256-character buffer, empty on entry):
//   valueToTextWithData set  -> valueToTextWithData(value, buffer, converterData)
//   else valueToText set     -> valueToText(value, buffer)
//   else                     -> two decimals, "%2.2f" style, identical in both
//                               builds: 0.123 -> "0.12", 1 -> "1.00",
//                               12.5 -> "12.50" (see FixedDecimal.h)
// A converter must write at most 255 characters and the terminator.
//
// Drawing, in this order (drawText):
//   1. mark clean; kStyleNoDraw: stop here
//   2. background: the alternative image, else the view's image, both at
//      backOffset; else, when opaque, a fill in backColor and (unless any of
//      3DIn, 3DOut, NoFrame) a 1-pixel outline in frameColor. A transparent
//      display without images draws neither.
//   3. 3-D border (3DIn or 3DOut), over whatever step 2 drew: with r the view
//      rectangle less its right column and top row, left and top edges from
//      (r.left, r.bottom) up and across to (r.right, r.top) in the first
//      colour, then right and bottom edges back to (r.left, r.bottom) in the
//      second. 3DIn: backColor then frameColor; 3DOut: the reverse.
//   4. text unless kStyleNoText or empty: clipped to the view, in `font` at
//      its own size and style, aligned by textAlign within the view
//      rectangle; kStyleShadowText first draws it in shadowColor one pixel
//      right and down.
//
// Setters that change what is drawn mark the display dirty only when the
// value really changes (colours compare all four bytes); setFont always
// does. setAntialias and the converters never do.
#pragma once

#include <cstdint>

#include "toolkit/CControl.h"
#include "toolkit/CRgba.h"

namespace toolkit {

class CBitmap;
class CDrawContext;
class CFontDesc;

// Display style bits.
inline constexpr int32_t kStyleShadowText = 0x4;
inline constexpr int32_t kStyle3DIn = 0x80;
inline constexpr int32_t kStyle3DOut = 0x100;
inline constexpr int32_t kStyleNoText = 0x800;
inline constexpr int32_t kStyleNoDraw = 0x1000;
inline constexpr int32_t kStyleNoFrame = 0x4000;

// Size of the buffer a converter writes into, terminator included.
inline constexpr int32_t kParamDisplayTextSize = 256;

using ValueToTextFunction = void (*)(float value, char* text);
using ValueToTextWithDataFunction = void (*)(float value, char* text, void* data);

class CParamDisplay : public CControl {
public:
    // No listener, tag 0, "Arial" 12 in white, centred, antialiased.
    explicit CParamDisplay(const CRectangle& size, CBitmap* background = nullptr,
                           int32_t style = 0);
    ~CParamDisplay() override;

    void draw(CDrawContext* context) override;
    // True for "CParamDisplay", otherwise as CControl.
    bool isKindOf(const char* className) const override;
    CView* clone() const override;

    // Retains the new font and releases the old one; always marks dirty. A
    // null font is ignored (the display keeps its font).
    virtual void setFont(CFontDesc* font);
    virtual void setFontColor(const CRgba& c);
    virtual void setBackColor(const CRgba& c);
    virtual void setFrameColor(const CRgba& c);
    virtual void setShadowColor(const CRgba& c);
    virtual void setAntialias(bool state);
    // kAlignLeft 0, kAlignCenter 1, kAlignRight 2.
    virtual void setTextAlign(int32_t align);
    // data is passed through, never owned or freed.
    virtual void setValueToTextWithData(ValueToTextWithDataFunction fn, void* data);
    virtual void setValueToText(ValueToTextFunction fn);
    virtual void setDisplayStyle(int32_t style);
    // Draws the display showing text (null or empty: no text) over
    // alternativeBackground when given.
    virtual void drawText(CDrawContext* context, const char* text,
                          CBitmap* alternativeBackground = nullptr);

    // The text draw() would show for the current value; answers buffer.
    char* valueText(char* buffer) const;

    CFontDesc* getFont() const { return font; }
    CRgba getFontColor() const { return fontColor; }
    CRgba getBackColor() const { return backColor; }
    CRgba getFrameColor() const { return frameColor; }
    CRgba getShadowColor() const { return shadowColor; }
    bool getAntialias() const { return antialias; }
    int32_t getTextAlign() const { return textAlign; }
    int32_t getDisplayStyle() const { return displayStyle; }

protected:
    // Every field copied, one more reference on the font.
    CParamDisplay(const CParamDisplay& other);

    ValueToTextFunction valueToText = nullptr;
    ValueToTextWithDataFunction valueToTextWithData = nullptr;
    void* converterData = nullptr;
    int32_t textAlign = 1;
    int32_t displayStyle = 0;
    CFontDesc* font = nullptr;
    CRgba fontColor = kColorWhite;
    CRgba backColor = kColorBlack;
    CRgba frameColor = kColorBlack;
    CRgba shadowColor = kColorRed;
    bool antialias = true;
};

}  // namespace toolkit
