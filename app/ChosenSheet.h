#pragma once
// The sheet laid out for a course choice, in lists of its own: what a print
// or a PDF of chosen courses draws, and how many pages a choice makes,
// without touching the lists the preview shows.
#include <cstdint>

#include "printing/CourseChoice.h"
#include "printing/GradeSheetPrinter.h"

struct ChosenSheet {
  ChosenSheet(const GradeBook& book, const PrintSetup& setup, std::uint8_t sheetMode, CourseChoice choice)
      : Mode(sheetMode), Printer(book, setup, Mode, Pages, Rows) {
    Printer.ChooseCourses(std::move(choice));
    Printer.MakePages();
  }
  ChosenSheet(const ChosenSheet&) = delete;
  ChosenSheet& operator=(const ChosenSheet&) = delete;

  std::uint8_t Mode;  // the printer reads it by reference
  TPageList Pages;
  TRowList Rows;
  GradeSheetPrinter Printer;
};
