#pragma once
// Every key of the program in one table: the menus take their shortcuts
// from it, the grid and the preview match their keys against it, and the
// 快捷键 dialog lists it. A key is written in one place only.
#include <QKeySequence>
#include <QList>
#include <QString>
#include <vector>

enum class KeyCommand {
  // 文件
  Open, Save, SaveAs,
  // 编辑
  Undo, Redo, Copy, Paste, Find, FindNext, CloseFind, Recompute, NextFinding, PreviousFinding,
  // the course list and the student grid
  EnterGrid, EditorDown, EditorUp, EditorNext, EditorPrevious, StartEditing, LeaveGrid, ClearCells,
  ExtendBlock, ExtendToRowEdge, ExtendToColumnEdge, SelectAllGrades,
  // 预览
  NextPage, PreviousPage, FirstPage, LastPage, ScrollDown, ScrollUp, ZoomIn, ZoomOut,
  // 帮助
  Shortcuts,
};

struct KeyEntry {
  KeyCommand Command;
  QString Where;   // 文件, 编辑, 学生成绩表, 预览, 帮助
  QString What;    // what the key does, as a menu or the list says it
  QList<QKeySequence> Keys;  // the first is the one the menus show
};

const std::vector<KeyEntry>& KeyTable();

// The keys of a command; the first is the one a menu shows.
QList<QKeySequence> KeysOf(KeyCommand command);

// True when the key event is one of the command's keys.
bool IsKeyOf(KeyCommand command, const QKeySequence& pressed);
