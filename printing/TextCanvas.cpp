#include "printing/TextCanvas.h"

#include <algorithm>

#include "printing/PrintSettings.h"

namespace {
// Far beyond any sheet; keeps a stray coordinate from allocating without end.
constexpr int kMaxColumns = 1000;
constexpr int kMaxRows = 4000;
}  // namespace

TDeviceMetrics TextCanvas::GridMetrics() {
  TDeviceMetrics m;
  m.Dpi = 72;
  m.PageWidth = 103;
  m.PageHeight = 72 * kRowsPerLine;
  m.LineHeight = kRowsPerLine;
  m.HalfLine = kRowsPerLine / 2;
  m.CharWidth = 1;
  m.HalfChar = 0;
  return m;
}

void TextCanvas::UseGrid(PrintSetup& setup) {
  setup.Metrics[DevicePrinter] = GridMetrics();
  setup.Metrics[DeviceScreen] = GridMetrics();
}

void TextCanvas::Clear() {
  chars_.clear();
  kinds_.clear();
}

bool TextCanvas::Reach(int x, int y) {
  if (x < 0 || y < 0 || x >= kMaxColumns || y >= kMaxRows) return false;
  if (static_cast<std::size_t>(y) >= chars_.size()) {
    chars_.resize(static_cast<std::size_t>(y) + 1);
    kinds_.resize(static_cast<std::size_t>(y) + 1);
  }
  std::string& row = chars_[static_cast<std::size_t>(y)];
  if (static_cast<std::size_t>(x) >= row.size()) {
    row.resize(static_cast<std::size_t>(x) + 1, ' ');
    kinds_[static_cast<std::size_t>(y)].resize(static_cast<std::size_t>(x) + 1, Empty);
  }
  return true;
}

void TextCanvas::BlankCell(int x, int y) {
  if (x < 0 || y < 0 || static_cast<std::size_t>(y) >= chars_.size()) return;
  if (static_cast<std::size_t>(x) >= chars_[static_cast<std::size_t>(y)].size()) return;
  chars_[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = ' ';
  kinds_[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = Empty;
}

void TextCanvas::TextOut(int x, int y, std::string_view gbk) {
  if (gbk.empty() || y < 0 || y >= kMaxRows) return;
  auto kindAt = [&](int cx) {
    const auto& row = kinds_[static_cast<std::size_t>(y)];
    return cx >= 0 && static_cast<std::size_t>(cx) < row.size() ? row[static_cast<std::size_t>(cx)] : Empty;
  };
  if (static_cast<std::size_t>(y) < kinds_.size()) {
    const int last = x + static_cast<int>(gbk.size()) - 1;
    if (kindAt(x) == TextTrail) BlankCell(x - 1, y);
    if (kindAt(last) == TextLead) BlankCell(last + 1, y);
  }
  for (std::size_t i = 0; i < gbk.size(); ++i) {
    auto byte = static_cast<unsigned char>(gbk[i]);
    Cell kind = Text;
    char shown = static_cast<char>(byte);
    const auto next = i + 1 < gbk.size() ? static_cast<unsigned char>(gbk[i + 1]) : 0;
    if (byte >= 0x81 && byte <= 0xFE && next >= 0x40 && next <= 0xFE && next != 0x7F) {
      // A double-byte character: both halves go down together. A lead byte
      // followed by no trail byte stands alone, so that a control byte
      // after it is still shown as '?'.
      kind = TextLead;
    } else if (byte < 0x20 || byte == 0x7F) {
      // Control bytes of a damaged line would break the terminal's layout.
      shown = '?';
    }
    for (int half = 0; half < (kind == TextLead ? 2 : 1); ++half) {
      const int cx = x + static_cast<int>(i) + half;
      if (Reach(cx, y)) {
        chars_[static_cast<std::size_t>(y)][static_cast<std::size_t>(cx)] =
            half ? gbk[i + 1] : shown;
        kinds_[static_cast<std::size_t>(y)][static_cast<std::size_t>(cx)] =
            half ? TextTrail : kind;
      }
    }
    if (kind == TextLead) ++i;
  }
}

void TextCanvas::RuleCell(int x, int y, char c) {
  if (!Reach(x, y)) return;
  char& cell = chars_[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
  Cell& kind = kinds_[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
  if (kind != Empty && kind != Rule) return;
  if (kind == Rule && cell != c) c = '+';
  cell = c;
  kind = Rule;
}

void TextCanvas::Line(int x1, int y1, int x2, int y2) {
  if (pen_ == PenStyle::Clear) return;
  // The grid grows once to the line's far end, not a cell at a time.
  if (y1 == y2) {
    const int first = std::max(0, std::min(x1, x2)), last = std::min(std::max(x1, x2), kMaxColumns - 1);
    if (first <= last) Reach(last, y1);
    for (int x = first; x <= last; ++x) RuleCell(x, y1, '-');
  } else if (x1 == x2) {
    const int first = std::max(0, std::min(y1, y2)), last = std::min(std::max(y1, y2), kMaxRows - 1);
    if (first <= last) Reach(x1, last);
    for (int y = first; y <= last; ++y) RuleCell(x1, y, '|');
  } else {
    // The sheet draws no slanted lines; mark the two ends.
    RuleCell(x1, y1, '*');
    RuleCell(x2, y2, '*');
  }
}

void TextCanvas::Rectangle(int left, int top, int right, int bottom) {
  // The outline covers left..right-1 and top..bottom-1, as on the painter.
  --right;
  --bottom;
  Line(left, top, right, top);
  Line(left, bottom, right, bottom);
  Line(left, top, left, bottom);
  Line(right, top, right, bottom);
}

std::vector<std::string> TextCanvas::Rows() const {
  std::vector<std::string> rows = chars_;
  for (std::string& row : rows)
    while (!row.empty() && row.back() == ' ') row.pop_back();
  return rows;
}

char TextCanvas::At(int x, int y) const {
  if (x < 0 || y < 0 || static_cast<std::size_t>(y) >= chars_.size()) return ' ';
  const std::string& row = chars_[static_cast<std::size_t>(y)];
  return static_cast<std::size_t>(x) < row.size() ? row[static_cast<std::size_t>(x)] : ' ';
}

std::string TextCanvas::Render(bool compact) const {
  const std::vector<std::string> rows = Rows();
  if (!compact) {
    std::string text;
    for (const std::string& row : rows) text += row + '\n';
    return text;
  }
  // A row says something when it holds text or a horizontal rule; rows that
  // vertical rules merely pass through are left out, except that a run of
  // them from one horizontal rule to the next (an empty table row) is kept
  // as one row.
  enum Kind { Blank, Bars, Says, RuleRow };
  std::vector<Kind> kinds(rows.size(), Blank);
  for (std::size_t y = 0; y < rows.size(); ++y) {
    bool text = false, rule = false, bars = false;
    for (std::size_t x = 0; x < rows[y].size(); ++x) {
      if (kinds_[y][x] == Empty) continue;
      if (kinds_[y][x] != Rule) text = true;
      else if (rows[y][x] == '|') bars = true;
      else rule = true;
    }
    kinds[y] = text ? Says : rule ? RuleRow : bars ? Bars : Blank;
  }
  std::string text;
  for (std::size_t y = 0; y < rows.size(); ++y) {
    if (kinds[y] == Says || kinds[y] == RuleRow) {
      text += rows[y] + '\n';
      continue;
    }
    if (kinds[y] != Bars) continue;
    std::size_t end = y;
    while (end < rows.size() && kinds[end] == Bars) ++end;
    if (y > 0 && kinds[y - 1] == RuleRow && end < rows.size() && kinds[end] == RuleRow)
      text += rows[(y + end) / 2] + '\n';
    y = end - 1;
  }
  return text;
}
