#include "gui/toolkit/about_dlg.h"

#include "gui/toolkit/static_link.h"
#include "gui/toolkit/string_catalogue.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace terrix {

CAboutDlg::CAboutDlg(const VersionInfo& info, QWidget* parent)
    : QDialog(parent), versionText_(FormatVersionLine(info)), legalText_(info.legalCopyright) {
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/terrix.png")).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);
    auto* version = new QLabel(versionText_, this);
    version->setObjectName(QStringLiteral("version"));
    auto* legal = new QLabel(legalText_, this);
    legal->setObjectName(QStringLiteral("legal"));
    webLink_ = new CStaticLink(QLatin1String(kWebLink), QString(), this);
    mailLink_ = new CStaticLink(QLatin1String(kMailLink), QString(), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setHorizontalSpacing(16);
    layout->addWidget(icon, 0, 0, 4, 1);
    layout->addWidget(version, 0, 1);
    layout->addWidget(legal, 1, 1);
    layout->addWidget(webLink_, 2, 1);
    layout->addWidget(mailLink_, 3, 1);
    layout->addWidget(buttons, 0, 2, 4, 1, Qt::AlignTop);
    Retranslate();
}

void CAboutDlg::Retranslate() {
    setWindowTitle(Text(100));
}

void CAboutDlg::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        Retranslate();
    }
    QDialog::changeEvent(event);
}

} // namespace terrix
