#pragma once
// The sheet laid out for a course choice, in lists of its own: what a print
// or a PDF of chosen courses draws, and how many pages a choice makes,
// without touching the lists the preview shows.
#include "printing/CourseChoice.h"
#include "printing/GradeSheetPrinter.h"

struct ChosenSheet {
  ChosenSheet(const GradeBook& book, const PrintSetup& setup, SheetKind kind, CourseChoice choice)
      : Kind(kind), Printer(book, setup, Kind, Pages, Rows) {
    Printer.ChooseCourses(std::move(choice));
    Printer.MakePages();
  }
  ChosenSheet(const ChosenSheet&) = delete;
  ChosenSheet& operator=(const ChosenSheet&) = delete;

  SheetKind Kind;  // the printer reads it by reference
  TPageList Pages;
  TRowList Rows;
  GradeSheetPrinter Printer;
};
