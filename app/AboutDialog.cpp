#include "app/AboutDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "app/TextTable.h"
#include "app/WindowTexts.h"
#include "text/About.h"

namespace {

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutDialog"));
  setWindowTitle(WindowTexts::AboutTitle());
  auto* layout = new QVBoxLayout(this);

  auto* heading = new QLabel(WindowTexts::AboutHeading(QApplication::applicationVersion()), this);
  heading->setObjectName(QStringLiteral("AboutHeading"));
  heading->setTextFormat(Qt::PlainText);
  heading->setWordWrap(true);
  layout->addWidget(heading);

  auto* licence = new QLabel(FromUtf8(about::kLicenceLines).trimmed(), this);
  licence->setObjectName(QStringLiteral("AboutLicence"));
  licence->setTextFormat(Qt::PlainText);
  licence->setWordWrap(true);
  licence->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(licence);

  layout->addWidget(new QLabel(WindowTexts::AboutLibraries(), this));
  QList<QStringList> rows;
  for (const about::Library& library : about::kLibraries)
    rows.push_back({FromUtf8(library.Name), FromUtf8(library.Licence), FromUtf8(library.Use)});
  QTableView* libraries =
      MakeTextTable({QStringLiteral("库"), QStringLiteral("许可证"), QStringLiteral("用途")}, rows, this);
  libraries->setObjectName(QStringLiteral("AboutLibraries"));
  libraries->setAccessibleName(WindowTexts::AboutLibraries());
  layout->addWidget(libraries, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->button(QDialogButtonBox::Close)->setText(WindowTexts::CloseDialog());
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  resize(520, 400);
}
