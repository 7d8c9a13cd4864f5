#include "toolkit/CParamDisplay.h"

#include <cstring>

#include "toolkit/CBitmap.h"
#include "toolkit/CDrawContext.h"
#include "toolkit/CFontDesc.h"
#include "toolkit/FixedDecimal.h"

namespace toolkit {

CParamDisplay::CParamDisplay(const CRectangle& size, CBitmap* bg, int32_t style)
    : CControl(size, nullptr, 0, bg), displayStyle(style), font(kFontSize12) {
    font->retain();
}

CParamDisplay::CParamDisplay(const CParamDisplay& other)
    : CControl(other),
      valueToText(other.valueToText),
      valueToTextWithData(other.valueToTextWithData),
      converterData(other.converterData),
      textAlign(other.textAlign),
      displayStyle(other.displayStyle),
      font(other.font),
      fontColor(other.fontColor),
      backColor(other.backColor),
      frameColor(other.frameColor),
      shadowColor(other.shadowColor),
      antialias(other.antialias) {
    if (font) font->retain();
}

CParamDisplay::~CParamDisplay() {
    if (font) font->release();
}

CView* CParamDisplay::clone() const { return new CParamDisplay(*this); }

bool CParamDisplay::isKindOf(const char* className) const {
    if (className && std::strcmp(className, "CParamDisplay") == 0) return true;
    return CControl::isKindOf(className);
}

void CParamDisplay::setFont(CFontDesc* newFont) {
    setDirty(true);
    if (!newFont) return;
    // New reference first: setting the font already held must not free it.
    newFont->retain();
    if (font) font->release();
    font = newFont;
}

void CParamDisplay::setFontColor(const CRgba& c) {
    if (c != fontColor) setDirty(true);
    fontColor = c;
}

void CParamDisplay::setBackColor(const CRgba& c) {
    if (c != backColor) setDirty(true);
    backColor = c;
}

void CParamDisplay::setFrameColor(const CRgba& c) {
    if (c != frameColor) setDirty(true);
    frameColor = c;
}

void CParamDisplay::setShadowColor(const CRgba& c) {
    if (c != shadowColor) setDirty(true);
    shadowColor = c;
}

void CParamDisplay::setAntialias(bool state) { antialias = state; }

void CParamDisplay::setTextAlign(int32_t align) {
    if (align != textAlign) setDirty(true);
    textAlign = align;
}

void CParamDisplay::setValueToTextWithData(ValueToTextWithDataFunction fn, void* data) {
    valueToTextWithData = fn;
    converterData = data;
}

void CParamDisplay::setValueToText(ValueToTextFunction fn) { valueToText = fn; }

void CParamDisplay::setDisplayStyle(int32_t style) {
    if (style == displayStyle) return;
    displayStyle = style;
    setDirty(true);
}

char* CParamDisplay::valueText(char* buffer) const {
    buffer[0] = '\0';
    if (valueToTextWithData)
        valueToTextWithData(value, buffer, converterData);
    else if (valueToText)
        valueToText(value, buffer);
    else
        formatFixed2(value, buffer, kParamDisplayTextSize);
    return buffer;
}

void CParamDisplay::draw(CDrawContext* context) {
    char text[kParamDisplayTextSize];
    valueText(text);
    // A converter that forgot the terminator must not send the drawing past
    // the buffer.
    text[kParamDisplayTextSize - 1] = '\0';
    drawText(context, text, nullptr);
}

void CParamDisplay::drawText(CDrawContext* context, const char* text, CBitmap* alternativeBackground) {
    setDirty(false);
    if (displayStyle & kStyleNoDraw) return;

    CBitmap* image = alternativeBackground ? alternativeBackground : backgroundBitmap;
    if (image) {
        if (transparent)
            image->drawTransparent(context, viewRect, backOffset);
        else
            image->draw(context, viewRect, backOffset);
    } else if (!transparent) {
        context->setFillColor(backColor);
        context->fillRect(viewRect);
        if (!(displayStyle & (kStyle3DIn | kStyle3DOut | kStyleNoFrame))) {
            context->setLineWidth(1);
            context->setFrameColor(frameColor);
            context->frameRect(viewRect);
        }
    }

    if (displayStyle & (kStyle3DIn | kStyle3DOut)) {
        CRectangle r = viewRect;
        r.right -= 1;
        r.top += 1;
        const bool sunken = (displayStyle & kStyle3DIn) != 0;
        context->setLineWidth(1);
        context->setFrameColor(sunken ? backColor : frameColor);
        context->moveTo(CPosition(r.left, r.bottom));
        context->lineTo(CPosition(r.left, r.top));
        context->lineTo(CPosition(r.right, r.top));
        context->setFrameColor(sunken ? frameColor : backColor);
        context->moveTo(CPosition(r.right, r.top));
        context->lineTo(CPosition(r.right, r.bottom));
        context->lineTo(CPosition(r.left, r.bottom));
    }

    if ((displayStyle & kStyleNoText) || !text || !text[0]) return;

    const CRectangle saved = context->clipRect();
    context->setClipRect(intersection(saved, viewRect));
    context->setFont(font, 0, -1);
    if (displayStyle & kStyleShadowText) {
        CRectangle shadow = viewRect;
        shadow.offset(1, 1);
        context->setFontColor(shadowColor);
        context->drawStringInRect(text, shadow, textAlign, antialias);
    }
    context->setFontColor(fontColor);
    context->drawStringInRect(text, viewRect, textAlign, antialias);
    context->setClipRect(saved);
}

}  // namespace toolkit
