#pragma once
// What the page chooser (选页) offers beside each page number: the course
// the page belongs to, its class on the sheet by class, and the page's
// place among its group's pages, so that a teacher goes to a course by name.
#include <string>
#include <vector>

#include "printing/GradeSheetPrinter.h"

class GradeBook;

// One label per page of `pages`, GBK: "数据库原理 (2/3)", on the sheet by
// class (`byClass`) "数据库原理 计科2201 (1/1)". A page whose group the book
// no longer has gets an empty label.
std::vector<std::string> PageLabels(const TPageList& pages, const GradeBook& book, bool byClass);
