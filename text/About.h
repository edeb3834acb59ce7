#pragma once
// What the programs say about themselves: the licence of --version and of
// the window's 关于 dialog, and the libraries they are built with, each
// with its own licence. UTF-8.
#include <array>
#include <string>
#include <string_view>

namespace about {

inline constexpr std::string_view kLicence = "GPL-3.0-or-later";

// The lines after "<program> <version>" of --version.
inline constexpr std::string_view kLicenceLines =
    "许可证 GPL-3.0-or-later: GNU 通用公共许可证第 3 版或(您选择的)任何更新版本\n"
    "<https://www.gnu.org/licenses/gpl-3.0.html>\n"
    "本程序是自由软件: 您可以修改和再发布它。在法律允许的范围内，本程序不提供任何担保。\n";

inline std::string VersionText(std::string_view program, std::string_view version) {
  std::string text(program);
  text += ' ';
  text += version;
  text += '\n';
  text += kLicenceLines;
  return text;
}

struct Library {
  std::string_view Name;
  std::string_view Licence;  // SPDX
  std::string_view Use;
};

// The libraries the desktop program and the batch tool use.
inline constexpr std::array<Library, 5> kLibraries{{
    {"Qt 6", "LGPL-3.0-only", "窗口、绘图、打印和 PDF"},
    {"ICU", "Unicode-DFS-2016", "GBK 编码转换"},
    {"libxlsxwriter", "BSD-2-Clause", "导出 Excel 工作簿"},
    {"qpdf", "Apache-2.0", "合并成绩表 PDF"},
    {"zlib", "Zlib", "libxlsxwriter 与 qpdf 的压缩"},
}};

}  // namespace about
