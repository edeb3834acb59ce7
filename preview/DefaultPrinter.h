#pragma once
// The printer the window starts with, set up while the window is being
// built: asking the print system (CUPS) takes a round trip and the loading
// of its plug-in, which the first paint of the window need not wait for.
#include <QPrinter>
#include <memory>

namespace preview {

// Starts setting the printer up on a thread of its own, unless that is
// under way already.
void PrepareDefaultPrinter();

// The system's default printer at high resolution, or, with none installed
// (or one Qt cannot drive), a PDF printer at 600 dpi on A4: the one prepared
// (waiting for it), or, without PrepareDefaultPrinter, set up now.
std::unique_ptr<QPrinter> TakeDefaultPrinter();

}  // namespace preview
