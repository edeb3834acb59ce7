#pragma once
// Which grade sheet is laid out: each course on pages of its own, or each
// class of each course on pages of its own (with the class on every page).
#include <cstdint>

enum class SheetKind : std::uint8_t { WholeCourse, ByClass };
