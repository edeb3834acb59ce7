#pragma once
// Grade books built in memory for the sheet tests, and a sheet printer on them.
#include <string>
#include <string_view>
#include <vector>

#include "text/Gbk.h"
#include "gradefile/GradeBook.h"
#include "printing/PrintSettings.h"
#include "printing/GradeSheetPrinter.h"

namespace sheet_test {

inline std::string Pad(std::string text, std::size_t width) {
  text.resize(width, ' ');
  return text;
}

// A 57-byte grade record; texts are UTF-8 and stored as GBK.
inline std::string Record(std::string_view key, std::string_view number, std::string_view name,
                          std::string_view cls, std::string_view coursework,
                          std::string_view examination, std::string_view total) {
  return std::string(key) + "cj" + Pad(Gbk(number), 10) + Pad(Gbk(name), 8) + Pad(Gbk(cls), 8) +
         Pad(Gbk(coursework), 6) + Pad(Gbk(examination), 6) + Pad(Gbk(total), 6) + "      ";
}

inline std::string Head(std::string_view key, std::string_view tag, std::string_view payload) {
  return std::string(key) + std::string(tag) + Gbk(payload);
}

// Printer metrics with round numbers: 600 dpi, margins 197 and 394,
// a column 50 pixels wide, a line 100 high.
inline TDeviceMetrics TestMetrics() {
  TDeviceMetrics m;
  m.Dpi = 600;
  m.PageWidth = 4960;
  m.PageHeight = 7016;
  m.MarginLeft = 197;
  m.MarginTop = 394;
  m.LineHeight = 100;
  m.HalfLine = 50;
  m.CharWidth = 50;
  m.HalfChar = 24;  // a quarter of 12 that doubles exactly with the scale
  return m;
}

struct Sheet {
  GradeBook Book;
  PrintSetup Setup;
  SheetKind Kind = SheetKind::WholeCourse;
  TPageList Pages;
  TRowList Rows;
  GradeSheetPrinter Printer{Book, Setup, Kind, Pages, Rows};

  Sheet() {
    Setup.Metrics[DevicePrinter].Dpi = 600;
    ApplyDefaultPrintSettings(Setup);
    Setup.Metrics[DevicePrinter] = TestMetrics();
    Setup.Metrics[DeviceScreen] = TestMetrics();
  }

  // A course with header lines and `students` numbered records whose totals
  // cycle through `totals` (all blank when empty).
  void AddCourse(const std::string& key, int students, std::vector<std::string> totals = {},
                 std::string_view cls = "CLASS1") {
    Book.HeadLines.push_back(Head(key, "tk", "课程" + key));
    for (int i = 0; i < students; ++i) {
      std::string total = totals.empty() ? "" : totals[static_cast<std::size_t>(i) % totals.size()];
      Book.GradeLines.push_back(
          Record(key, key + std::to_string(i + 1), "张三", cls, "80", "80", total));
    }
  }

  void Layout() {
    Book.BuildCourseList();
    Printer.MakePages();
  }
};

}  // namespace sheet_test
