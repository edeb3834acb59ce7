#include "printing/Canvas.h"

#include "grading/Numbers.h"

void ScaleFont(Canvas& canvas, const FontSpec& font, double factor) {
  canvas.SetFont(font, Round(font.Size * factor));
}
