#pragma once
// The sheet on its way out of the window: printed, written as a PDF, and the
// page set-up it is drawn with (margins, fonts, printer). It works on the
// open document and the sheet preview's set-up, asks through the dialog
// seam, and leaves to the window what is the window's: the findings asked
// before a print, the grade being typed, and setting the preview up.
#include <QObject>
#include <QString>
#include <functional>
#include <string>

#include "app/DialogSeam.h"

class Document;
class QWidget;
namespace preview {
class SheetPreview;
}

class SheetOutput : public QObject {
  Q_OBJECT

 public:
  struct WindowHooks {
    std::function<bool()> ConfirmPrint;  // the findings before a print: true to go on
    std::function<void()> LeaveEditor;   // the grade being typed belongs to the sheet
    std::function<void()> EnsurePreview;  // the printer and the page measured
    std::function<int()> ShownCourse;     // the course list's row (from 1); -1 none
  };
  SheetOutput(QWidget& window, Document& document, preview::SheetPreview& preview, DialogSeam& dialogs,
              WindowHooks hooks);

  // Where the fonts and margins are kept for the next start.
  void KeepSettingsIn(std::string appDir, std::string userDir);

  void printSheet();
  void exportSheetPdf();
  void setMargins();
  void chooseBodyFont();
  void chooseTitleFont();
  void setUpPrinter();
  // The courses of the file to choose from, the one shown first.
  SheetCoursesOffer sheetCoursesOffer(const QString& title, bool withPages) const;

 private:
  void SaveSettings();  // fonts and margins for the next start
  QString JobTitle() const;

  QWidget& window_;
  Document& document_;
  preview::SheetPreview& preview_;
  DialogSeam& dialogs_;
  WindowHooks hooks_;
  std::string appDir_;
  std::string userDir_;
};
