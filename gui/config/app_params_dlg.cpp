#include "gui/config/app_params_dlg.h"

#include "core/config/module_stations.h"
#include "core/config/par_file.h"
#include "core/inventory/module_record.h"
#include "core/platform/data_paths.h"
#include "core/platform/path_text.h"
#include "gui/toolkit/edit_double.h"
#include "gui/toolkit/edit_integer.h"
#include "gui/toolkit/language_change.h"
#include "gui/toolkit/message_box.h"
#include "gui/toolkit/modal_run.h"
#include "gui/toolkit/module_window_title.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace terrix {

namespace {

constexpr double kOffsetFieldLimit = 10000;

// The largest entry of each seconds field: beyond it the count would not fit the module's field.
constexpr uint64_t kMaxSeconds[CAppParamsDlg::kFieldCount] = {0, kMaxAveragingSeconds, kMaxError66Seconds,
                                                              kMaxQueueSeconds, kMaxQueueSeconds};

uint64_t CountFromSeconds(CAppParamsDlg::Field field, uint64_t seconds) {
    switch (field) {
    case CAppParamsDlg::kAveraging:
        return AveragingCountFromSeconds(seconds);
    case CAppParamsDlg::kError66:
        return Error66UnitsFromSeconds(seconds);
    default:
        return QueueCountFromSeconds(seconds);
    }
}

// Number fields as wide as their longest values, not as wide as a text field.
void NumberWidth(QLineEdit* field) {
    field->setMaximumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("-00000.000000")) + 12);
    field->setAlignment(Qt::AlignRight);
}

QLineEdit* ReadOnlyField(QWidget* parent) {
    auto* field = new QLineEdit(parent);
    NumberWidth(field);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    field->setAlignment(Qt::AlignRight);
    return field;
}

} // namespace

CAppParamsDlg::CAppParamsDlg(BusContext& context, QWidget* owner, ModuleRecord& record)
    : CModuleConfigDialog(context, owner, record) {
    auto* grid = new QGridLayout;
    for (int column = 0; column < 4; ++column) {
        headers_[column] = new QLabel(this);
    }
    grid->addWidget(headers_[0], 0, 1);
    grid->addWidget(headers_[1], 0, 2);
    grid->addWidget(headers_[2], 0, 4);
    grid->addWidget(headers_[3], 0, 5);
    for (int f = 0; f < kFieldCount; ++f) {
        const int row = f + 1;
        labels_[f] = new QLabel(this);
        units_[f] = new QLabel(this);
        if (f == kOffset) {
            auto* previous = new CEditDouble(this);
            previous->SetRange(-kOffsetFieldLimit, kOffsetFieldLimit);
            previous->setReadOnly(true);
            previous->setFocusPolicy(Qt::NoFocus);
            previous->setAlignment(Qt::AlignRight);
            previous_[f] = previous;
            newOffset_ = new CEditDouble(this);
            newOffset_->SetRange(-kOffsetFieldLimit, kOffsetFieldLimit);
            newOffset_->SetMessages(true);
            newOffset_->setAlignment(Qt::AlignRight);
        } else {
            previous_[f] = ReadOnlyField(this);
            newSeconds_[f] = new CEditDWord(this);
            newSeconds_[f]->SetRange(0, static_cast<uint32_t>(kMaxSeconds[f]));
            newSeconds_[f]->SetMessages(true);
            newSeconds_[f]->setAlignment(Qt::AlignRight);
            previousCount_[f] = ReadOnlyField(this);
            newCount_[f] = ReadOnlyField(this);
            const auto field = static_cast<Field>(f);
            connect(newSeconds_[f], &QLineEdit::textChanged, this, [this, field] { UpdateCount(field); });
            grid->addWidget(previousCount_[f], row, 4);
            grid->addWidget(newCount_[f], row, 5);
        }
        labels_[f]->setBuddy(NewField(static_cast<Field>(f)));
        grid->addWidget(labels_[f], row, 0);
        grid->addWidget(previous_[f], row, 1);
        grid->addWidget(NewField(static_cast<Field>(f)), row, 2);
        grid->addWidget(units_[f], row, 3);
    }
    for (int f = 0; f < kFieldCount; ++f) {
        NumberWidth(previous_[f]);
        NumberWidth(NewField(static_cast<Field>(f)));
    }
    grid->setColumnStretch(6, 1);

    setAll_ = new QPushButton(this);
    save_ = new QPushButton(this);
    load_ = new QPushButton(this);
    auto* fileRow = new QHBoxLayout;
    for (QPushButton* button : {setAll_, save_, load_}) {
        button->setAutoDefault(false);
        fileRow->addWidget(button);
    }
    fileRow->addStretch(1);
    connect(setAll_, &QPushButton::clicked, this, &CAppParamsDlg::SetAllOffsetsAndAveTime);
    connect(save_, &QPushButton::clicked, this, &CAppParamsDlg::SaveParameters);
    connect(load_, &QPushButton::clicked, this, &CAppParamsDlg::ReadParametersFromFile);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons_, &QDialogButtonBox::accepted, this, &CAppParamsDlg::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &CAppParamsDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addLayout(fileRow);
    layout->addStretch(1);
    layout->addWidget(buttons_);

    ShowPrevious(AppParams{});
    ShowNew(AppParams{});
    RetranslateOnLanguageChange(this, [this] { Retranslate(); });
    Retranslate();
    UpdateEnabling();
}

QLineEdit* CAppParamsDlg::NewField(Field field) const {
    return field == kOffset ? static_cast<QLineEdit*>(newOffset_) : newSeconds_[field];
}

QPushButton* CAppParamsDlg::OkButton() const {
    return buttons_->button(QDialogButtonBox::Ok);
}

void CAppParamsDlg::Retranslate() {
    SetModuleWindowTitle(this, tr("XV Application Parameters"), record_);
    headers_[0]->setText(tr("Previous value"));
    headers_[1]->setText(tr("New value"));
    headers_[2]->setText(tr("Previous count"));
    headers_[3]->setText(tr("New count"));
    labels_[kOffset]->setText(tr("Offset Value in &Percentage"));
    labels_[kAveraging]->setText(tr("&Averaging Time"));
    labels_[kError66]->setText(tr("&Error66 Delay"));
    labels_[kQueueFull]->setText(tr("Queue-&Full Time"));
    labels_[kQueueEmpty]->setText(tr("Queue-E&mpty Time"));
    units_[kOffset]->setText(QStringLiteral("%"));
    for (int f = kAveraging; f < kFieldCount; ++f) {
        units_[f]->setText(tr("s"));
        const QString unit = f == kError66 ? tr("units of 10 measurements") : tr("measurements");
        previousCount_[f]->setToolTip(unit);
        newCount_[f]->setToolTip(unit);
    }
    headers_[2]->setToolTip(tr("Number of measurements (Error66 Delay: units of 10 measurements)"));
    headers_[3]->setToolTip(headers_[2]->toolTip());
    setAll_->setText(tr("Set All Offsets and A&veTime"));
    save_->setText(tr("&Save Parameters"));
    load_->setText(tr("&Read Parameters from File"));
    OkButton()->setText(tr("Set Parameters"));
    buttons_->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
}

void CAppParamsDlg::ShowPrevious(const AppParams& params) {
    const AppParamsSeconds seconds = SecondsFromBlock(params);
    static_cast<CEditDouble*>(previous_[kOffset])->SetValue(seconds.offsetPercent);
    const uint64_t values[kFieldCount] = {0, seconds.averagingSeconds, seconds.error66Seconds,
                                          seconds.queueFullSeconds, seconds.queueEmptySeconds};
    const uint64_t counts[kFieldCount] = {0, params.wAveraging, params.wError66Units, params.yQueueFull,
                                          params.yQueueEmpty};
    for (int f = kAveraging; f < kFieldCount; ++f) {
        previous_[f]->setText(QString::number(values[f]));
        previousCount_[f]->setText(QString::number(counts[f]));
    }
}

void CAppParamsDlg::ShowNew(const AppParams& params) {
    const AppParamsSeconds seconds = SecondsFromBlock(params);
    newOffset_->SetValue(seconds.offsetPercent);
    const uint64_t values[kFieldCount] = {0, seconds.averagingSeconds, seconds.error66Seconds,
                                          seconds.queueFullSeconds, seconds.queueEmptySeconds};
    for (int f = kAveraging; f < kFieldCount; ++f) {
        // Seconds from a module's counts always fit the fields (the largest counts give their limits).
        newSeconds_[f]->SetValue(static_cast<uint32_t>(std::min<uint64_t>(values[f], kMaxSeconds[f])));
        UpdateCount(static_cast<Field>(f));
    }
}

void CAppParamsDlg::UpdateCount(Field field) {
    bool ok = false;
    const qulonglong seconds = newSeconds_[field]->text().trimmed().toULongLong(&ok);
    newCount_[field]->setText(ok ? QString::number(CountFromSeconds(field, seconds)) : QString());
}

void CAppParamsDlg::UpdateEnabling() {
    OkButton()->setEnabled(haveValues_);
    setAll_->setEnabled(haveValues_);
}

void CAppParamsDlg::ReadModule() {
    const auto read = [](PortHandle port, uint8_t station, AppParams& params) {
        return ReadAppParams(port, station, params);
    };
    ReadValue<AppParams>(read, kMsgGetAppParamsFailed, [this](std::optional<AppParams> params) {
        haveValues_ = params.has_value();
        ShowPrevious(params.value_or(AppParams{}));
        ShowNew(params.value_or(AppParams{}));
        UpdateEnabling();
    });
}

bool CAppParamsDlg::TakeNewValues(AppParams& params) {
    AppParamsSeconds seconds;
    if (!newOffset_->SetTextChecked(newOffset_->text())) {
        newOffset_->setFocus();
        return false;
    }
    seconds.offsetPercent = newOffset_->GetValue();
    uint64_t* targets[kFieldCount] = {nullptr, &seconds.averagingSeconds, &seconds.error66Seconds,
                                      &seconds.queueFullSeconds, &seconds.queueEmptySeconds};
    for (int f = kAveraging; f < kFieldCount; ++f) {
        if (!newSeconds_[f]->SetTextChecked(newSeconds_[f]->text())) {
            newSeconds_[f]->setFocus();
            return false;
        }
        *targets[f] = newSeconds_[f]->GetValue();
    }
    std::string error;
    if (!BlockFromSeconds(seconds, params, error)) {
        ShowMessage(this, ConfigText(error), windowTitle(), MessageIcon::Warning);
        return false;
    }
    return true;
}

void CAppParamsDlg::accept() {
    AppParams params;
    if (!haveValues_ || !TakeNewValues(params)) {
        return;
    }
    WriteAndClose([station = record_.iaStation,
                   params](BusJobControl&, PortHandle port) { return WriteAppParams(port, station, params); },
                  [this](std::optional<bool> written) {
                      if (written == std::optional<bool>(false)) {
                          ShowMessage(this, ConfigText(kMsgSetAppParamsFailed), windowTitle());
                      } else if (written.has_value()) {
                          SetModuleChanged();
                      }
                  });
}

void CAppParamsDlg::SetAllOffsetsAndAveTime() {
    AppParams params;
    if (!haveValues_ || !TakeNewValues(params)) {
        return;
    }
    // Only XV modules hold application parameters; the others are named afterwards, not written.
    const XvModuleSelection selection = XvModuleStations(context_.busList);
    const std::vector<uint8_t>& stations = selection.stations;
    const QStringList skipped = SkippedModuleNames(selection.skipped);
    // The station that did not take the parameters; none when all did.
    using Failure = std::optional<size_t>;
    RunBusWork(
        [stations, params](BusJobControl&, PortHandle port) {
            size_t failedIndex = stations.size();
            return terrix::SetAllOffsetsAndAveTime(port, stations, params.fOffset, params.wAveraging,
                                                   &failedIndex)
                       ? Failure()
                       : Failure(failedIndex);
        },
        [this, stations, skipped](std::optional<Failure> result) {
            if (!result.has_value()) {
                return; // the module check refused and said why
            }
            if (const Failure& failure = *result; failure.has_value()) {
                QString text = ConfigText(kMsgSetOffsetFailed);
                if (*failure < stations.size()) {
                    text += QLatin1Char('\n') +
                            tr("Station %1 did not take the parameters; the modules after it were "
                               "not changed.")
                                .arg(stations[*failure]);
                }
                ShowMessage(this, text, ConfigText(kErrorCaption), MessageIcon::Stop);
            } else if (!skipped.isEmpty()) {
                ShowMessage(this,
                            tr("Offset and averaging time were set in %n XV module(s). Only XV modules hold "
                               "them; skipped:\n%1",
                               nullptr, static_cast<int>(stations.size()))
                                .arg(skipped.join(QLatin1Char('\n'))),
                            windowTitle(), MessageIcon::Information);
            }
            ReadModule();
        });
}

QString CAppParamsDlg::ChooseFile(bool save) {
    if (chooseFile_) {
        return chooseFile_(this, save);
    }
    QFileDialog dialog(this, save ? tr("Save Parameters") : tr("Read Parameters from File"),
                       QString::fromStdString(PathText(DataDir())),
                       save ? QStringLiteral("ParasFiles(*.par);;AllFiles(*)")
                            : QStringLiteral("(*.par);;All(*)"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("par"));
    if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

void CAppParamsDlg::SaveParameters() {
    AppParams params;
    if (!TakeNewValues(params)) {
        return;
    }
    const QString path = ChooseFile(true);
    if (path.isEmpty()) {
        ShowMessage(this, ConfigText(kMsgSaveNoFileName), ConfigText(kErrorCaption));
        return;
    }
    ConfigMessages messages;
    SaveParFile(PathFromText(path.toStdString()), params, messages);
    ShowConfigMessages(messages);
}

void CAppParamsDlg::ReadParametersFromFile() {
    const QString path = ChooseFile(false);
    if (path.isEmpty()) {
        ShowMessage(this, ConfigText(kMsgLoadNoFileName), ConfigText(kErrorCaption));
        ShowMessage(this, ConfigText(kMsgCantReadFileFinal), ConfigText(kErrorCaption));
        return;
    }
    ConfigMessages messages;
    AppParams params;
    const bool ok = LoadParFile(PathFromText(path.toStdString()), params, messages);
    ShowConfigMessages(messages);
    if (!ok) {
        return;
    }
    // Only the new values change; the module is written by "Set Parameters".
    ShowNew(params);
    haveValues_ = true;
    UpdateEnabling();
}

bool RunAppParamsDialog(BusContext& context, QWidget* owner, ModuleRecord& record) {
    return RunModuleConfigDialog<CAppParamsDlg>(context, owner, record);
}

} // namespace terrix
