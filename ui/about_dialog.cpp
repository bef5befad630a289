#include "ui/about_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/app_context.h"
#include "ui/app_icon.h"

namespace tarn {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("dialog%1").arg(static_cast<int>(kDialogId)));
  setWindowTitle(QStringLiteral("About Tarnlist"));
  setWindowIcon(appIcon());

  auto* icon = new QLabel(this);
  icon->setPixmap(appIcon().pixmap(48, 48));
  icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

  title_ = new QLabel(QString::fromLatin1(kAppName), this);
  QFont big = title_->font();
  big.setBold(true);
  big.setPointSizeF(big.pointSizeF() * 1.25);
  title_->setFont(big);
  version_ = new QLabel(QStringLiteral("Version " TARNLIST_VERSION), this);

  auto* text = new QVBoxLayout;
  text->addWidget(title_);
  text->addWidget(version_);
  text->addWidget(new QLabel(QStringLiteral("Formatted listings of Clarion source code"), this));
  text->addSpacing(fontMetrics().height());
  text->addWidget(new QLabel(QStringLiteral("Tarnlist project"), this));
  text->addWidget(new QLabel(QStringLiteral("tarnlist@example.org"), this));

  auto* top = new QHBoxLayout;
  top->addWidget(icon);
  top->addSpacing(fontMetrics().height());
  top->addLayout(text);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  ok_->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* all = new QVBoxLayout(this);
  all->addLayout(top);
  all->addWidget(buttons);
  all->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace tarn
