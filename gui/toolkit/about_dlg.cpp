#include "gui/toolkit/about_dlg.h"

#include "gui/toolkit/language_change.h"
#include "gui/toolkit/static_link.h"
#include "gui/toolkit/string_catalogue.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace terrix {

CAboutDlg::CAboutDlg(const VersionInfo& info, QWidget* parent) : QDialog(parent), info_(info) {
    RetranslateOnLanguageChange(this, [this] { Retranslate(); });
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/terrix.png")).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);
    versionLabel_ = new QLabel(this);
    versionLabel_->setObjectName(QStringLiteral("version"));
    legalLabel_ = new QLabel(this);
    legalLabel_->setObjectName(QStringLiteral("legal"));
    webLink_ = new CStaticLink(QLatin1String(kWebLink), this);
    mailLink_ = new CStaticLink(QLatin1String(kMailLink), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    okButton_ = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setHorizontalSpacing(16);
    layout->addWidget(icon, 0, 0, 4, 1);
    layout->addWidget(versionLabel_, 0, 1);
    layout->addWidget(legalLabel_, 1, 1);
    layout->addWidget(webLink_, 2, 1);
    layout->addWidget(mailLink_, 3, 1);
    layout->addWidget(buttons, 0, 2, 4, 1, Qt::AlignTop);
    Retranslate();
}

void CAboutDlg::Retranslate() {
    setWindowTitle(Text(100));
    versionText_ = FormatVersionLine(info_);
    // The legal text is data; this program's own has a translation (see ProgramVersionInfo).
    legalText_ = QCoreApplication::translate("terrix::CAboutDlg", info_.legalCopyright.toUtf8().constData());
    versionLabel_->setText(versionText_);
    legalLabel_->setText(legalText_);
    okButton_->setText(tr("OK"));
}

} // namespace terrix
