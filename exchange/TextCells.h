#pragma once
// Small rules over the text of spreadsheet cells, shared by import and
// export: blanks around a cell, student numbers compared the way people
// type them, heading words compared without regard to case.
#include <string>
#include <string_view>

namespace exchange {

// Without ASCII blanks and tabs at both ends; any encoding.
std::string_view TrimCell(std::string_view text);

// Without ASCII blanks, tabs and full-width blanks (　) at both ends; GBK.
std::string_view TrimGbk(std::string_view gbk);

// A student number as it is matched: trimmed, full-width digits as ASCII.
std::string StudentNumberKey(std::string_view gbk);

// A heading as it is matched: trimmed, ASCII letters in lower case.
std::string HeadingKey(std::string_view gbk);

}  // namespace exchange
