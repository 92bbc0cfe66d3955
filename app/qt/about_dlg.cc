#include "app/qt/about_dlg.h"

#include <QLabel>
#include <QPushButton>

#include "app/qt/app_icon.h"
#include "app/qt/dialog_units.h"

namespace fenmarq {
namespace {

QLabel* addText(QWidget* parent, const QString& text, const QRect& geometry) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QStringLiteral("IDC_STATIC"));
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setGeometry(geometry);
  return label;
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setWindowTitle(QStringLiteral("Orvatchのﾊﾞｰｼﾞｮﾝ情報"));
  setFont(dialogFont());
  const DialogUnits units(font());
  setFixedSize(units.size(235, 55));

  const QRect iconArea = units.rect(11, 17, 20, 20);
  QLabel* icon = addText(this, QString(), iconArea);
  icon->setPixmap(applicationIcon().pixmap(iconArea.size()));
  addText(this, QStringLiteral("Orvatch Version 1.0"), units.rect(40, 10, 119, 8));
  addText(this, QStringLiteral("Fenmarq " FENMARQ_VERSION), units.rect(40, 25, 119, 8));

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("IDOK"));
  ok->setGeometry(units.rect(178, 7, 50, 14));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace fenmarq
