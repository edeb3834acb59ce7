#include "app/KeyTable.h"

#include <algorithm>

namespace {

QKeySequence Key(QKeyCombination combination) { return QKeySequence(combination); }

std::vector<KeyEntry> BuildTable() {
  const auto ctrl = Qt::ControlModifier;
  const auto shift = Qt::ShiftModifier;
  const QString file = QStringLiteral("文件"), edit = QStringLiteral("编辑"),
                grid = QStringLiteral("学生成绩表"), preview = QStringLiteral("预览"),
                help = QStringLiteral("帮助");
  return {
      {KeyCommand::Open, file, QStringLiteral("打开成绩文件"), {Key(ctrl | Qt::Key_O)}},
      {KeyCommand::Save, file, QStringLiteral("保存"), {Key(ctrl | Qt::Key_S)}},
      {KeyCommand::SaveAs, file, QStringLiteral("另存为"), {Key(ctrl | shift | Qt::Key_S)}},

      {KeyCommand::Undo, edit, QStringLiteral("撤销"), {Key(ctrl | Qt::Key_Z)}},
      {KeyCommand::Redo, edit, QStringLiteral("重做"), {Key(ctrl | Qt::Key_Y), Key(ctrl | shift | Qt::Key_Z)}},
      {KeyCommand::Copy, edit, QStringLiteral("复制所选成绩"), {Key(ctrl | Qt::Key_C)}},
      {KeyCommand::Paste, edit, QStringLiteral("粘贴成绩"), {Key(ctrl | Qt::Key_V)}},
      {KeyCommand::Find, edit, QStringLiteral("查找学生"), {Key(ctrl | Qt::Key_F)}},
      {KeyCommand::FindNext, edit, QStringLiteral("查找下一个(在查找栏中)"), {Key(Qt::Key_Return)}},
      {KeyCommand::CloseFind, edit, QStringLiteral("关闭查找栏"), {Key(Qt::Key_Escape)}},
      {KeyCommand::Recompute, edit, QStringLiteral("按当前比例重新计算"), {Key(Qt::Key_F9)}},
      {KeyCommand::NextFinding, edit, QStringLiteral("下一处需核对的成绩"), {Key(Qt::Key_F8)}},
      {KeyCommand::PreviousFinding, edit, QStringLiteral("上一处需核对的成绩"), {Key(shift | Qt::Key_F8)}},

      {KeyCommand::EnterGrid, grid, QStringLiteral("从课程列表进入成绩表"),
       {Key(Qt::Key_Return), Key(Qt::Key_Tab), Key(Qt::Key_Right)}},
      {KeyCommand::EditorDown, grid, QStringLiteral("下一个学生"), {Key(Qt::Key_Return), Key(Qt::Key_Down)}},
      {KeyCommand::EditorUp, grid, QStringLiteral("上一个学生"), {Key(Qt::Key_Up)}},
      {KeyCommand::EditorNext, grid, QStringLiteral("下一栏成绩"), {Key(Qt::Key_Tab)}},
      {KeyCommand::EditorPrevious, grid, QStringLiteral("上一栏成绩"), {Key(shift | Qt::Key_Tab)}},
      {KeyCommand::StartEditing, grid, QStringLiteral("录入所选单元格"), {Key(Qt::Key_F2)}},
      {KeyCommand::LeaveGrid, grid, QStringLiteral("回到课程列表"), {Key(Qt::Key_Escape)}},
      {KeyCommand::ClearCells, grid, QStringLiteral("清空所选成绩"), {Key(Qt::Key_Delete)}},
      {KeyCommand::ExtendBlock, grid, QStringLiteral("扩展选择区域"),
       {Key(shift | Qt::Key_Left), Key(shift | Qt::Key_Right), Key(shift | Qt::Key_Up), Key(shift | Qt::Key_Down)}},
      {KeyCommand::ExtendToRowEdge, grid, QStringLiteral("选择到平时成绩 / 总成绩"),
       {Key(shift | Qt::Key_Home), Key(shift | Qt::Key_End)}},
      {KeyCommand::ExtendToColumnEdge, grid, QStringLiteral("选择到第一个 / 最后一个学生"),
       {Key(ctrl | shift | Qt::Key_Home), Key(ctrl | shift | Qt::Key_End)}},
      {KeyCommand::SelectAllGrades, grid, QStringLiteral("选择本课程的全部成绩"), {Key(ctrl | Qt::Key_A)}},

      {KeyCommand::NextPage, preview, QStringLiteral("下页"), {Key(ctrl | Qt::Key_PageDown)}},
      {KeyCommand::PreviousPage, preview, QStringLiteral("上页"), {Key(ctrl | Qt::Key_PageUp)}},
      {KeyCommand::FirstPage, preview, QStringLiteral("第一页"), {Key(ctrl | Qt::Key_Home)}},
      {KeyCommand::LastPage, preview, QStringLiteral("最后一页"), {Key(ctrl | Qt::Key_End)}},
      {KeyCommand::ScrollDown, preview, QStringLiteral("向下滚动"), {Key(Qt::Key_PageDown)}},
      {KeyCommand::ScrollUp, preview, QStringLiteral("向上滚动"), {Key(Qt::Key_PageUp)}},
      {KeyCommand::ZoomIn, preview, QStringLiteral("放大"), {Key(ctrl | Qt::Key_Plus), Key(ctrl | Qt::Key_Equal)}},
      {KeyCommand::ZoomOut, preview, QStringLiteral("缩小"), {Key(ctrl | Qt::Key_Minus)}},

      {KeyCommand::Shortcuts, help, QStringLiteral("快捷键"), {Key(Qt::Key_F1)}},
  };
}

}  // namespace

const std::vector<KeyEntry>& KeyTable() {
  static const std::vector<KeyEntry> table = BuildTable();
  return table;
}

QList<QKeySequence> KeysOf(KeyCommand command) {
  const auto& table = KeyTable();
  const auto it = std::find_if(table.begin(), table.end(), [&](const KeyEntry& e) { return e.Command == command; });
  return it == table.end() ? QList<QKeySequence>() : it->Keys;
}

bool IsKeyOf(KeyCommand command, const QKeySequence& pressed) {
  const QList<QKeySequence> keys = KeysOf(command);
  return std::any_of(keys.begin(), keys.end(),
                     [&](const QKeySequence& k) { return k.matches(pressed) == QKeySequence::ExactMatch; });
}
