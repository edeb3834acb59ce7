#include "support/ScriptedDialogs.h"

#include <QPrinter>

template <typename T>
std::optional<T> ScriptedDialogs::Next(std::deque<T>& queue) {
  if (queue.empty()) {
    ++Unscripted;
    return std::nullopt;
  }
  T value = std::move(queue.front());
  queue.pop_front();
  return value;
}

template <typename T>
std::optional<T> ScriptedDialogs::NextOrCancel(std::deque<std::optional<T>>& queue) {
  if (queue.empty()) {
    ++Unscripted;
    return std::nullopt;
  }
  const bool cancel = !queue.front().has_value();
  T value = cancel ? T() : std::move(*queue.front());
  queue.pop_front();
  if (cancel) return std::nullopt;
  return value;
}

int ScriptedDialogs::Count(Kind kind) const {
  int n = 0;
  for (const Call& c : Calls) n += c.What == kind ? 1 : 0;
  return n;
}

QStringList ScriptedDialogs::Texts(Kind kind) const {
  QStringList out;
  for (const Call& c : Calls)
    if (c.What == kind) out << c.Text;
  return out;
}

QStringList ScriptedDialogs::Messages() const {
  QStringList out;
  for (const Call& c : Calls)
    if (c.What == Kind::Information || c.What == Kind::Error || c.What == Kind::AskYesNo ||
        c.What == Kind::AskYesNoCancel || c.What == Kind::Choose)
      out << c.Text;
  return out;
}

void ScriptedDialogs::ClearCalls() {
  Calls.clear();
  Unscripted = 0;
  FontsOffered.clear();
  SavesSuggested.clear();
  OpenFolders.clear();
  PrintRanges.clear();
  PrintJobTitles.clear();
  PagesOffered.clear();
  MarginsOffered.clear();
  FiltersOffered.clear();
  ImportsSeen.clear();
  ExportScopesOffered.clear();
  FindingsPurposes.clear();
  FindingsShown.clear();
}

std::optional<QString> ScriptedDialogs::OpenGradeFile(QWidget* parent, const QString& folder) {
  OpenFolders << folder;
  return OpenFileName(parent);
}

std::optional<QString> ScriptedDialogs::OpenFileName(QWidget*) {
  Calls.push_back({Kind::OpenNamedFile, {}});
  return NextOrCancel(OpenFiles);
}

std::optional<QString> ScriptedDialogs::SaveFileName(QWidget*, const QString& suggested) {
  Calls.push_back({Kind::SaveFile, {}});
  SavesSuggested << suggested;
  return NextOrCancel(SaveFiles);
}

void ScriptedDialogs::Information(QWidget*, const QString& text) {
  Calls.push_back({Kind::Information, text});
}

void ScriptedDialogs::Error(QWidget*, const QString& text) {
  Calls.push_back({Kind::Error, text});
}

Answer ScriptedDialogs::AskYesNo(QWidget*, const QString& text) {
  Calls.push_back({Kind::AskYesNo, text});
  // Closing a Yes/No box without answering is a No.
  return Next(YesNoAnswers).value_or(Answer::No);
}

Answer ScriptedDialogs::AskYesNoCancel(QWidget*, const QString& text) {
  Calls.push_back({Kind::AskYesNoCancel, text});
  return Next(YesNoCancelAnswers).value_or(Answer::Cancel);
}

std::optional<FontSpec> ScriptedDialogs::ChooseFont(QWidget*, const FontSpec& current) {
  Calls.push_back({Kind::ChooseFont, {}});
  FontsOffered.push_back(current);
  auto v = Next(Fonts);
  return v ? *v : std::nullopt;
}

bool ScriptedDialogs::PrinterSetup(QWidget*, QPrinter&) {
  Calls.push_back({Kind::PrinterSetup, {}});
  return Next(PrinterSetups).value_or(false);
}

std::optional<PrintChoice> ScriptedDialogs::Print(QWidget*, QPrinter& printer, int minPage,
                                                  int maxPage) {
  Calls.push_back({Kind::Print, {}});
  PrintRanges.emplace_back(minPage, maxPage);
  PrintJobTitles << printer.docName();
  auto v = Next(Prints);
  if (v && *v && !PrintToFile.isEmpty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(PrintToFile);
  }
  return v ? *v : std::nullopt;
}

std::optional<int> ScriptedDialogs::ChoosePage(QWidget*, int pageCount, int current) {
  Calls.push_back({Kind::ChoosePage, {}});
  PagesOffered.emplace_back(pageCount, current);
  auto v = Next(Pages);
  return v ? *v : std::nullopt;
}

std::optional<int> ScriptedDialogs::ChoosePageOf(QWidget* parent, const QStringList& labels, int current) {
  PageLabelsOffered.push_back(labels);
  return ChoosePage(parent, static_cast<int>(labels.size()), current);
}

bool ScriptedDialogs::PageMargins(QWidget*, PageMetrics& metrics) {
  Calls.push_back({Kind::PageMargins, {}});
  MarginsOffered.push_back(metrics);
  auto v = Next(Margins);
  if (!v || !*v) return false;
  metrics = **v;
  return true;
}

std::optional<QString> ScriptedDialogs::OpenFileOfType(QWidget*, const QString&, const QStringList& filters) {
  Calls.push_back({Kind::OpenNamedFile, {}});
  FiltersOffered << filters.join(QStringLiteral(";;"));
  return NextOrCancel(OpenFiles);
}

std::optional<ChosenFile> ScriptedDialogs::SaveFileOfType(QWidget*, const QString&, const QString& suggested,
                                                          const QStringList& filters) {
  Calls.push_back({Kind::SaveFile, {}});
  SavesSuggested << suggested;
  FiltersOffered << filters.join(QStringLiteral(";;"));
  const std::optional<QString> path = NextOrCancel(SaveFiles);
  if (!path) return std::nullopt;
  ChosenFile chosen{*path, 0};
  const QString suffix = QStringLiteral("*.") + path->section(QLatin1Char('.'), -1);
  for (int i = 0; i < filters.size(); ++i)
    if (path->contains(QLatin1Char('.')) && filters[i].contains(suffix, Qt::CaseInsensitive)) chosen.Filter = i;
  return chosen;
}

std::optional<exchange::ScoreColumns> ScriptedDialogs::ImportPreview(QWidget*, const ImportOffer& offer) {
  Calls.push_back({Kind::ImportPreview, {}});
  exchange::ImportSession& session = *offer.Session;
  ImportSeen seen{offer.File, offer.Course, session.AsksColumns(), session.ColumnNames(), session.StudentColumn(),
                  {session.Preview()}};
  std::optional<ImportScript> script = Next(Imports);
  if (script) {
    for (const exchange::ScoreColumns& columns : script->Choices)
      seen.Previews.push_back(session.Choose(columns));
  }
  ImportsSeen.push_back(std::move(seen));
  if (!script || !script->Import) return std::nullopt;
  return session.Columns();
}

std::optional<ExportScope> ScriptedDialogs::ChooseExportScope(QWidget*, const QString& shownCourse,
                                                              int courseCount) {
  Calls.push_back({Kind::ExportScope, shownCourse});
  ExportScopesOffered.emplace_back(shownCourse, courseCount);
  return NextOrCancel(ExportScopes);
}

std::optional<SheetCoursesChoice> ScriptedDialogs::ChooseSheetCourses(QWidget*, const SheetCoursesOffer& offer) {
  Calls.push_back({Kind::SheetCourses, offer.Title});
  SheetCoursesOffered.push_back(offer);
  std::optional<SheetCoursesChoice> choice = SheetCoursesChoice{};
  if (!SheetCourses.empty()) {
    choice = SheetCourses.front();
    SheetCourses.pop_front();
  }
  const int all = offer.PageCount ? offer.PageCount(CourseChoice::All()) : 0;
  const int chosen = choice && offer.PageCount ? offer.PageCount(choice->Courses) : 0;
  SheetCoursesPages.emplace_back(all, chosen);
  return choice;
}

FindingsChoice ScriptedDialogs::ReviewFindings(QWidget*, FindingsPurpose purpose,
                                               const std::vector<FindingRow>& rows) {
  Calls.push_back({Kind::Findings, {}});
  FindingsPurposes.push_back(purpose);
  FindingsShown.push_back(rows);
  if (FindingsAnswers.empty()) return {FindingsChoice::GoOn, -1};
  const FindingsChoice choice = FindingsAnswers.front();
  FindingsAnswers.pop_front();
  return choice;
}

int ScriptedDialogs::Choose(QWidget*, const QString& text, const QStringList& buttons, int defaultButton) {
  Calls.push_back({Kind::Choose, text});
  QStringList offered = buttons;
  if (defaultButton > 0 && defaultButton < offered.size()) offered.move(defaultButton, 0);
  ButtonsOffered.push_back(offered);
  const std::optional<QString> answer = NextOrCancel(Choices);
  return answer ? static_cast<int>(buttons.indexOf(*answer)) : -1;
}

std::optional<int> ScriptedDialogs::ChooseVersion(QWidget*, const std::vector<VersionRow>& rows) {
  Calls.push_back({Kind::ChooseVersion, {}});
  VersionsShown.push_back(rows);
  return NextOrCancel(Versions);
}
