#pragma once
// The printer the window starts with. Asking the print system (CUPS) takes a
// round trip and the loading of its plug-in: the window asks after its first
// paint, which need not wait for it. (Asked on a thread while the window was
// built, it took the building's processor time on a machine of two cores.)
#include <QPrinter>
#include <memory>

namespace preview {

// The system's default printer at high resolution, or, with none installed
// (or one Qt cannot drive), a PDF printer at 600 dpi on A4.
std::unique_ptr<QPrinter> DefaultPrinter();

}  // namespace preview
