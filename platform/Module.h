#pragma once
// The program's own modules: shared libraries built with it that bring in a
// large library only when a command needs it (the PDF join's qpdf, the
// workbook export's libxlsxwriter), so that neither is loaded, with all it
// links, at every start.
#include <string>
#include <string_view>

namespace platform {

// The entry point `symbol` of module `name` (the file lib<name>.so), loaded
// on first use from the folder named by GRADESHEET_MODULE_DIR, else beside
// the running program (a build), else the installed module folder relative
// to the program's. Null, with `why` (the loader's own words), when the
// module or its symbol cannot be found. Safe from any thread.
void* ModuleSymbol(std::string_view name, const char* symbol, std::string& why);

}  // namespace platform
