#pragma once
// FontSpec (the settings file's font, GBK face name) and QFont, both ways,
// and the measuring step of the page metrics on a Qt paint device.
#include <QFont>

#include "printing/Canvas.h"

class QPaintDevice;

// The face, style bits and a pixel size (at least 1).
QFont ToQFont(const FontSpec& fontSpec, int pixelSize);

// The face, style bits and its size in points (for the font dialog).
QFont ToQFontPoints(const FontSpec& fontSpec);

// The dialog's font back as a FontSpec: face name as GBK ("宋体" when the
// name has no GBK form), point size rounded (10 when the font has none),
// style bits; `charset` is kept from the font it replaces.
FontSpec FromQFont(const QFont& font, std::uint8_t charset = 1);

// The font dialog's choice as the FontSpec replacing `previous`: its face
// name and character set stay when the choice is the face that name already
// resolves to ("宋体" stays "宋体", not the installed Song font's own name);
// a face name GBK cannot hold keeps the old face too.
FontSpec FromQFont(const QFont& font, const FontSpec& previous);

// What the page metrics measure on a device: the text width and height of
// "1234567890" in the measuring font, the body font at a pixel height of
// Round(Size * dpi / 72).
struct TextExtent {
  int Width = 0;
  int Height = 0;
};
TextExtent MeasureDigits(QPaintDevice& device, const FontSpec& body, int dpi);
