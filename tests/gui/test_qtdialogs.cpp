// The real dialog seam: the answers of its message boxes and how it reads a
// chosen font back. Each modal box is answered by a timer that finds it.
#include <QApplication>
#include <QDir>
#include <QFontInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/QtDialogs.h"
#include "printing/qt/FontConvert.h"
#include "gradefile/Gbk.h"
#include "printing/qt/Fonts.h"

class QtDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void questions_data();
  void questions();
  void informationAndError();
  void fontSpecRoundTrip();

 private:
  // Runs `act` on the message box once it is up; returns what it showed.
  void WhenBoxShows(std::function<void(QMessageBox&)> act);
};

void QtDialogsTest::initTestCase() { InstallFontSubstitutes(); }

void QtDialogsTest::WhenBoxShows(std::function<void(QMessageBox&)> act) {
  auto* timer = new QTimer(this);
  timer->setInterval(10);
  connect(timer, &QTimer::timeout, this, [timer, act] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      act(*box);
    }
  });
  timer->start();
}

void QtDialogsTest::questions_data() {
  QTest::addColumn<bool>("withCancel");
  QTest::addColumn<QString>("button");  // text of the button pressed; empty: Escape
  QTest::addColumn<int>("answer");
  QTest::newRow("yes/no: yes") << false << "是(&Y)" << int(Answer::Yes);
  QTest::newRow("yes/no: no") << false << "否(&N)" << int(Answer::No);
  QTest::newRow("yes/no: escape") << false << "" << int(Answer::No);
  QTest::newRow("yes/no/cancel: yes") << true << "是(&Y)" << int(Answer::Yes);
  QTest::newRow("yes/no/cancel: no") << true << "否(&N)" << int(Answer::No);
  QTest::newRow("yes/no/cancel: cancel") << true << "取消" << int(Answer::Cancel);
  QTest::newRow("yes/no/cancel: escape") << true << "" << int(Answer::Cancel);
}

void QtDialogsTest::questions() {
  QFETCH(bool, withCancel);
  QFETCH(QString, button);
  QFETCH(int, answer);
  QtDialogs dialogs;
  QString shownText;
  QStringList buttons;
  const QString shots = qEnvironmentVariable("GS_SCREENSHOT_DIR");
  WhenBoxShows([&](QMessageBox& box) {
    shownText = box.text();
    for (QAbstractButton* b : box.buttons()) buttons << b->text();
    if (!shots.isEmpty() && withCancel && button.isEmpty())
      box.grab().save(shots + "/question.png");
    if (button.isEmpty()) {
      QTest::keyClick(&box, Qt::Key_Escape);
      return;
    }
    for (QAbstractButton* b : box.buttons())
      if (b->text() == button) b->click();
  });
  const QString text = QStringLiteral("当前的成绩有所变动，存储吗?");
  const Answer got = withCancel ? dialogs.AskYesNoCancel(nullptr, text)
                                : dialogs.AskYesNo(nullptr, text);
  QCOMPARE(int(got), answer);
  QCOMPARE(shownText, text);
  QStringList expected = {"是(&Y)", "否(&N)"};
  if (withCancel) expected << "取消";
  buttons.sort();
  expected.sort();
  QCOMPARE(buttons, expected);
}

void QtDialogsTest::informationAndError() {
  QtDialogs dialogs;
  QString caption;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  WhenBoxShows([&](QMessageBox& box) {
    caption = box.windowTitle();
    icon = box.icon();
    box.buttons().first()->click();
  });
  dialogs.Information(nullptr, QStringLiteral("存储完毕！"));
  QCOMPARE(caption, QStringLiteral("提示"));
  QCOMPARE(icon, QMessageBox::Information);
  WhenBoxShows([&](QMessageBox& box) {
    caption = box.windowTitle();
    icon = box.icon();
    box.buttons().first()->click();
  });
  dialogs.Error(nullptr, QStringLiteral("x"));
  QCOMPARE(caption, QStringLiteral("错误"));
  QCOMPARE(icon, QMessageBox::Critical);
}

void QtDialogsTest::fontSpecRoundTrip() {
  FontSpec song;
  song.Name = Gbk("宋体");
  song.Size = 12;
  song.Charset = 134;
  // Accepting the face "宋体" resolves to keeps the stored name.
  QFont same = ToQFontPoints(song);
  same.setFamily(QFontInfo(ToQFontPoints(song)).family());
  same.setBold(true);
  FontSpec back = FromQFont(same, song);
  QCOMPARE(back.Name, Gbk("宋体"));
  QCOMPARE(back.Size, 12);
  QCOMPARE(back.Charset, std::uint8_t{134});
  QCOMPARE(back.Style, std::uint8_t{fsBold});
  // Another face is stored under its own name.
  QFont other(QStringLiteral("DejaVu Sans"));
  other.setPointSize(9);
  other.setItalic(true);
  other.setUnderline(true);
  back = FromQFont(other, song);
  QCOMPARE(back.Name, std::string("DejaVu Sans"));
  QCOMPARE(back.Size, 9);
  QCOMPARE(back.Style, std::uint8_t(fsItalic | fsUnderline));
}

QTEST_MAIN(QtDialogsTest)
#include "test_qtdialogs.moc"
