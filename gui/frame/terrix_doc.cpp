#include "gui/frame/terrix_doc.h"

#include "gui/toolkit/language_change.h"
#include "gui/toolkit/string_catalogue.h"

#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QSaveFile>
#include <QVBoxLayout>

namespace terrix {

bool CTerrixDoc::OnOpenDocument(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        return false;
    }
    path_ = path;
    return true;
}

bool CTerrixDoc::OnSaveDocument(const QString& path, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.commit()) {
        if (error != nullptr) {
            *error = file.errorString();
        }
        return false;
    }
    path_ = path;
    return true;
}

QString CTerrixDoc::Title() const {
    return path_.isEmpty() ? QString() : QFileInfo(path_).fileName();
}

CTerrixView::CTerrixView(QWidget* parent) : QWidget(parent) {
    RetranslateOnLanguageChange(this, [this] { Retranslate(); });
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    hint_ = new QLabel(this);
    hint_->setWordWrap(true);
    hint_->setAlignment(Qt::AlignCenter);
    hint_->setForegroundRole(QPalette::PlaceholderText);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->addWidget(hint_);
    Retranslate();
}

void CTerrixView::SetScanHintShown(bool shown, uint32_t savedModules) {
    if (savedModules != savedModules_) {
        savedModules_ = savedModules;
        Retranslate();
    }
    hint_->setVisible(shown);
}

bool CTerrixView::ScanHintShown() const {
    return !hint_->isHidden();
}

QString CTerrixView::ScanHint() const {
    return hint_->text();
}

void CTerrixView::Retranslate() {
    // The menu's own labels, so that the hint names the items as the menu shows them in either language.
    const auto label = [](QString text) { return text.remove(QLatin1Char('&')); };
    const QString bus = label(PopupTitle(MenuPopup::Bus));
    const QString scans = tr("%1 > %2 searches every station of the bus for modules.\n%1 > %3 asks only the "
                             "modules that the last scan saved.")
                              .arg(bus, label(MenuText(32773)), label(MenuText(32784)));
    if (savedModules_ == 0) {
        hint_->setText(tr("No bus has been scanned yet.") + QStringLiteral("\n\n") + scans);
        return;
    }
    hint_->setText(tr("Modules listed from the bus the last scan saved: %1. They are not identified until a "
                      "scan finds them.\n%2 > %3 shows them with their stored values.")
                       .arg(savedModules_)
                       .arg(bus, label(MenuText(32775))) +
                   QStringLiteral("\n\n") + scans);
}

} // namespace terrix
