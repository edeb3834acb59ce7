#pragma once
// Reading back a printed PDF with poppler's tools, as a person checking the
// paper would: how many pages, and the text of one page.
#include <QString>
#include <optional>

// The page count pdfinfo reports; nullopt when pdfinfo fails or cannot read it.
std::optional<int> PdfPageCount(const QString& path);

// The text pdftotext extracts from page `page` (from 1), layout kept.
QString PdfPageText(const QString& path, int page);
