#pragma once
// The about box: program icon, the version line built from the program's version data, the legal text and
// two links (the maker's web site and mail address).

#include "gui/toolkit/version_info.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace terrix {

class CStaticLink;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kWebLink = "https://www.orva.example/terrix";
    static constexpr const char* kMailLink = "mailto:terrix@orva.example";

    explicit CAboutDlg(const VersionInfo& info = ProgramVersionInfo(), QWidget* parent = nullptr);

    // As shown, in the current language.
    QString VersionText() const { return versionText_; }
    QString LegalText() const { return legalText_; }
    CStaticLink* WebLink() const { return webLink_; }
    CStaticLink* MailLink() const { return mailLink_; }

private:
    void Retranslate();

    VersionInfo info_;
    QString versionText_;
    QString legalText_;
    QLabel* versionLabel_ = nullptr;
    QLabel* legalLabel_ = nullptr;
    QPushButton* okButton_ = nullptr;
    CStaticLink* webLink_ = nullptr;
    CStaticLink* mailLink_ = nullptr;
};

} // namespace terrix
