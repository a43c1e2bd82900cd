#include "gui/publish/publish_dlg.h"

#include "core/platform/data_paths.h"
#include "core/publish/broker_url.h"
#include "gui/base/window_contracts.h"
#include "gui/publish/publish_texts.h"
#include "gui/toolkit/core_text.h"
#include "gui/toolkit/language_change.h"
#include "gui/toolkit/message_box.h"
#include "gui/toolkit/modal_run.h"

#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace terrix {

namespace {

constexpr const char* kPlacementSection = "Publish Values";

std::string EditText(const QLineEdit* edit) {
    return edit->text().toStdString();
}

} // namespace

CPublishDlg::CPublishDlg(QWidget* owner) : CPlacementDialog(owner) {
    RetranslateOnLanguageChange(this, [this] { Retranslate(); });
    auto* grid = new QGridLayout;
    for (int f = 0; f < kFieldCount; ++f) {
        labels_[f] = new QLabel(this);
        edits_[f] = new QLineEdit(this);
        labels_[f]->setBuddy(edits_[f]);
        grid->addWidget(labels_[f], f, 0);
        grid->addWidget(edits_[f], f, 1);
        if (f >= kPasswordFile) {
            browseButtons_[f] = new QPushButton(this);
            browseButtons_[f]->setAutoDefault(false);
            connect(browseButtons_[f], &QPushButton::clicked, this,
                    [this, f] { Browse(static_cast<Field>(f)); });
            grid->addWidget(browseButtons_[f], f, 2);
        }
    }
    edits_[kServer]->setPlaceholderText(QStringLiteral("mqtt://broker.example:1883"));
    edits_[kPrefix]->setPlaceholderText(QStringLiteral("farm/north"));
    edits_[kServer]->setMinimumWidth(320);
    grid->setColumnStretch(1, 1);

    hint_ = new QLabel(this);
    hint_->setWordWrap(true);
    hint_->setTextFormat(Qt::PlainText); // "<prefix>" is no markup
    testButton_ = new QPushButton(this);
    testButton_->setAutoDefault(false);
    connect(testButton_, &QPushButton::clicked, this, &CPublishDlg::OnTest);
    result_ = new QLabel(this);
    result_->setWordWrap(true);
    result_->setTextFormat(Qt::PlainText);
    result_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    result_->setMargin(4);
    auto* testRow = new QHBoxLayout;
    testRow->addWidget(testButton_, 0, Qt::AlignTop);
    testRow->addWidget(result_, 1);

    ok_ = new QPushButton(this);
    cancel_ = new QPushButton(this);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &CPublishDlg::accept);
    connect(cancel_, &QPushButton::clicked, this, &CPublishDlg::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(hint_);
    layout->addLayout(testRow);
    layout->addStretch(1);
    layout->addLayout(buttons);

    SetForm(PublishForm::FromSettings(ReadPublishSettings(SettingsFilePath())));
    SetResizable(true);
    Retranslate();
    LoadWindowPlacement(kPlacementSection);
}

CPublishDlg::~CPublishDlg() {
    SaveWindowPlacement(kPlacementSection);
}

void CPublishDlg::Retranslate() {
    setWindowTitle(tr("Publish Values"));
    const QString labels[kFieldCount] = {
        tr("&Broker:"),  tr("Topic &prefix:"),       tr("&User:"),      tr("Pass&word file:"),
        tr("&CA file:"), tr("Client c&ertificate:"), tr("Client &key:")};
    for (int f = 0; f < kFieldCount; ++f) {
        labels_[f]->setText(labels[f]);
        if (browseButtons_[f] != nullptr) {
            browseButtons_[f]->setText(tr("Browse..."));
        }
    }
    hint_->setText(
        tr("Every stored value is sent to the broker as <prefix>/<serial>/record. Leave the broker "
           "empty to publish nothing. The password is read from the password file (or from "
           "TERRIX_MQTT_PASSWORD) and never stored here. The certificate files are used with "
           "mqtts:// only."));
    testButton_->setText(tr("&Test"));
    ok_->setText(tr("OK"));
    cancel_->setText(tr("Cancel"));
}

PublishForm CPublishDlg::Form() const {
    PublishForm form;
    form.server = EditText(edits_[kServer]);
    form.prefix = EditText(edits_[kPrefix]);
    form.user = EditText(edits_[kUser]);
    form.passwordFile = EditText(edits_[kPasswordFile]);
    form.caFile = EditText(edits_[kCaFile]);
    form.certFile = EditText(edits_[kCertFile]);
    form.keyFile = EditText(edits_[kKeyFile]);
    return form;
}

void CPublishDlg::SetForm(const PublishForm& form) {
    const std::pair<Field, const std::string*> fields[] = {
        {kServer, &form.server},  {kPrefix, &form.prefix},
        {kUser, &form.user},      {kPasswordFile, &form.passwordFile},
        {kCaFile, &form.caFile},  {kCertFile, &form.certFile},
        {kKeyFile, &form.keyFile}};
    for (const auto& [field, text] : fields) {
        edits_[field]->setText(QString::fromStdString(*text));
    }
}

void CPublishDlg::Browse(Field field) {
    const QString current = edits_[field]->text().trimmed();
    const QString start = current.isEmpty() ? QString() : QFileInfo(current).absolutePath();
    const QString chosen = AskOpenFileName(this, labels_[field]->text().remove(QLatin1Char('&')), start);
    if (!chosen.isEmpty()) {
        edits_[field]->setText(chosen);
    }
}

void CPublishDlg::ShowResult(const QString& text, bool good) {
    result_->setText(text);
    result_->setStyleSheet(good ? QStringLiteral("QLabel { background: #d8f0d0; color: black; }")
                                : QStringLiteral("QLabel { background: #ffe0a0; color: black; }"));
}

void CPublishDlg::OnTest() {
    const PublishSettings settings = Form().ToSettings();
    std::string why;
    if (settings.url.empty()) {
        ShowResult(tr("No broker is given: nothing is published."), false);
        return;
    }
    const std::optional<BrokerUrl> url = ParseBrokerUrl(settings.url, &why);
    if (!url) {
        ShowResult(tr("The broker address is malformed: %1").arg(QString::fromStdString(why)), false);
        return;
    }
    testButton_->setEnabled(false);
    result_->setStyleSheet(QString());
    result_->setText(tr("Connecting to %1...").arg(QString::fromStdString(url->Where())));
    test_.Start(settings, [this](const BrokerProbeResult& answer) {
        testButton_->setEnabled(true);
        ShowResult(PublishTexts::Outcome(answer.failure, answer.where, answer.detail),
                   answer.failure == MqttFailure::kNone);
    });
}

void CPublishDlg::accept() {
    const PublishSettings settings = Form().ToSettings();
    std::string why;
    if (!settings.url.empty()) {
        if (!ParseBrokerUrl(settings.url, &why)) {
            ShowMessage(this, tr("The broker address is malformed: %1").arg(QString::fromStdString(why)),
                        windowTitle(), MessageIcon::Warning);
            return;
        }
        if (!ResolveBrokerOptions(settings, &why) &&
            ShowMessage(this,
                        tr("These settings cannot be used now: %1\n\nStore them anyway?").arg(CoreText(why)),
                        windowTitle(), MessageIcon::Question, QMessageBox::Yes | QMessageBox::No,
                        QMessageBox::No) != QMessageBox::Yes) {
            return;
        }
    }
    if (!WritePublishSettings(SettingsFilePath(), settings)) {
        ShowMessage(this, tr("The settings could not be stored in the settings file."), windowTitle(),
                    MessageIcon::Warning);
        return;
    }
    test_.Cancel();
    CPlacementDialog::accept();
}

void RegisterPublishDialog(FrameWindows& windows) {
    windows.runPublishSettings = [](BusContext& /*context*/, QWidget* owner) {
        CPublishDlg dialog(owner);
        RunModal(dialog);
    };
}

} // namespace terrix
