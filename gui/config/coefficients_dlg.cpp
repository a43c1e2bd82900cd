#include "gui/config/coefficients_dlg.h"

#include "gui/toolkit/module_window_title.h"

#include "core/config/module_stations.h"
#include "core/inventory/module_record.h"
#include "core/platform/path_text.h"
#include "gui/toolkit/language_change.h"
#include "gui/toolkit/message_box.h"
#include "gui/toolkit/modal_run.h"
#include "gui/toolkit/report_list_ctrl.h"
#include "gui/toolkit/virtual_list_model.h"

#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace terrix {

namespace {

// c0 .. c5 and the comment.
constexpr int kCoeffRows = 7;

enum CalibColumn { kActiveColumn, kDiffColumn, kSwitchColumn, kMatModule, kMatFile, kTempModule, kTempFile };
enum CoeffColumn {
    kHiddenColumn,
    kTitleColumn,
    kCoeffMatModule,
    kCoeffMatFile,
    kCoeffTempModule,
    kCoeffTempFile
};

// The mark of the active row: a filled dot; the others get an empty ring, so the column stays readable.
QIcon ActiveMark(bool active) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (active) {
        painter.setPen(QPen(QColor(0, 100, 0), 1));
        painter.setBrush(QColor(0, 160, 0));
        painter.drawEllipse(QRectF(3, 3, 10, 10));
    } else {
        painter.setPen(QPen(QColor(160, 160, 160), 1));
        painter.drawEllipse(QRectF(4.5, 4.5, 7, 7));
    }
    return QIcon(pixmap);
}

QLineEdit* ReadOnlyField(QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setReadOnly(true);
    return field;
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

CCoefficientsDlg::CCoefficientsDlg(BusContext& context, QWidget* owner, ModuleRecord& record)
    : CModuleConfigDialog(context, owner, record), workspace_(std::make_shared<CalibWorkspace>()) {
    moduleGroup_ = new QGroupBox(this);
    for (QLabel*& label : labels_) {
        label = new QLabel(this);
    }
    serialNo_ = ReadOnlyField(this);
    moduleName_ = ReadOnlyField(this);
    station_ = ReadOnlyField(this);
    auto* moduleForm = new QFormLayout(moduleGroup_);
    moduleForm->addRow(labels_[0], serialNo_);
    moduleForm->addRow(labels_[1], moduleName_);
    moduleForm->addRow(labels_[2], station_);

    fileGroup_ = new QGroupBox(this);
    openLoc_ = new QPushButton(QStringLiteral("..."), fileGroup_);
    openLoc_->setAutoDefault(false);
    fileName_ = ReadOnlyField(this);
    directory_ = ReadOnlyField(this);
    fileComment_ = ReadOnlyField(this);
    auto* fileGrid = new QGridLayout(fileGroup_);
    fileGrid->addWidget(labels_[3], 0, 0);
    fileGrid->addWidget(fileName_, 0, 1);
    fileGrid->addWidget(openLoc_, 0, 2);
    fileGrid->addWidget(labels_[4], 1, 0);
    fileGrid->addWidget(directory_, 1, 1, 1, 2);
    fileGrid->addWidget(labels_[5], 2, 0);
    fileGrid->addWidget(fileComment_, 2, 1, 1, 2);
    fileGrid->setColumnStretch(1, 1);

    calibGroup_ = new QGroupBox(this);
    calibList_ = new CReportListCtrl(calibGroup_);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    calibList_->InsertColumn(kActiveColumn, QString(), right, 24);
    calibList_->InsertColumn(kDiffColumn, QString(), Qt::AlignLeft | Qt::AlignVCenter, 30);
    calibList_->InsertColumn(kSwitchColumn, QString(), right, 104);
    for (int column = kMatModule; column <= kTempFile; ++column) {
        calibList_->InsertColumn(column, QString(), right, 100);
    }
    calibList_->setSelectionMode(QAbstractItemView::SingleSelection);
    calibList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    calibList_->ListModel()->SetCellText([this](int row, int column) -> QString {
        if (row < 0 || row >= static_cast<int>(calibRows_.size())) {
            return {};
        }
        const CalibListRow& r = calibRows_[row];
        switch (column) {
        case kDiffColumn:
            return Text(r.differences);
        case kSwitchColumn:
            return QString::number(r.position);
        case kMatModule:
            return Text(r.matModuleId);
        case kMatFile:
            return Text(r.matFileId);
        case kTempModule:
            return Text(r.tempModuleId);
        case kTempFile:
            return Text(r.tempFileId);
        default:
            return {};
        }
    });
    const QIcon activeIcon = ActiveMark(true);
    const QIcon inactiveIcon = ActiveMark(false);
    calibList_->ListModel()->SetCellData([this, activeIcon, inactiveIcon](int row, int column, int role) {
        if (role != Qt::DecorationRole || column != kActiveColumn ||
            row >= static_cast<int>(calibRows_.size())) {
            return QVariant();
        }
        return QVariant(calibRows_[row].active ? activeIcon : inactiveIcon);
    });
    auto* calibLayout = new QVBoxLayout(calibGroup_);
    calibLayout->addWidget(calibList_);
    banner_ = new QLabel(calibList_);
    banner_->setAlignment(Qt::AlignCenter);
    banner_->setWordWrap(true);
    banner_->setFrameShape(QFrame::Box);
    banner_->setAutoFillBackground(true);
    banner_->setBackgroundRole(QPalette::ToolTipBase);
    banner_->setForegroundRole(QPalette::ToolTipText);
    banner_->hide();

    coeffGroup_ = new QGroupBox(this);
    coeffList_ = new CReportListCtrl(coeffGroup_);
    coeffList_->InsertColumn(kHiddenColumn, QString(), right, 0);
    coeffList_->InsertColumn(kTitleColumn, QString(), right, 146);
    for (int column = kCoeffMatModule; column <= kCoeffTempFile; ++column) {
        coeffList_->InsertColumn(column, QString(), right, 100);
    }
    coeffList_->setColumnHidden(kHiddenColumn, true);
    coeffList_->setSelectionMode(QAbstractItemView::NoSelection);
    coeffList_->ListModel()->SetCellText([this](int row, int column) -> QString {
        if (row < 0 || row >= static_cast<int>(coeffRows_.size())) {
            return {};
        }
        const CoeffListRow& r = coeffRows_[row];
        switch (column) {
        case kTitleColumn:
            return row == kCoeffRows - 1 ? tr("Comment") : Text(r.title);
        case kCoeffMatModule:
            return Text(r.matModule);
        case kCoeffMatFile:
            return Text(r.matFile);
        case kCoeffTempModule:
            return Text(r.tempModule);
        case kCoeffTempFile:
            return Text(r.tempFile);
        default:
            return {};
        }
    });
    // Its seven rows, "Comment" the last, always in view: the list has nothing else to scroll to.
    coeffList_->setMinimumHeight(coeffList_->HeightForRows(kCoeffRows));
    auto* coeffLayout = new QVBoxLayout(coeffGroup_);
    coeffLayout->addWidget(coeffList_);

    close_ = new QPushButton(this);
    rereadActive_ = new QPushButton(this);
    setActive_ = new QPushButton(this);
    rereadModule_ = new QPushButton(this);
    rereadFiles_ = new QPushButton(this);
    program_ = new QPushButton(this);
    programAll_ = new QPushButton(this);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button :
         {close_, rereadActive_, setActive_, rereadModule_, rereadFiles_, program_, programAll_}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->insertSpacing(1, 12);
    buttons->addStretch(1);
    close_->setDefault(true);

    auto* top = new QHBoxLayout;
    top->addWidget(moduleGroup_);
    top->addWidget(fileGroup_, 1);
    auto* left = new QVBoxLayout;
    left->addLayout(top);
    left->addWidget(calibGroup_, 3);
    left->addWidget(coeffGroup_, 2);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
    SetResizable(true);

    connect(close_, &QPushButton::clicked, this, &CCoefficientsDlg::reject);
    connect(rereadActive_, &QPushButton::clicked, this, &CCoefficientsDlg::RereadActive);
    connect(setActive_, &QPushButton::clicked, this, &CCoefficientsDlg::SetActiveCalibration);
    connect(rereadModule_, &QPushButton::clicked, this, &CCoefficientsDlg::RereadModule);
    connect(rereadFiles_, &QPushButton::clicked, this, &CCoefficientsDlg::RereadFiles);
    connect(program_, &QPushButton::clicked, this, &CCoefficientsDlg::ProgramModule);
    connect(programAll_, &QPushButton::clicked, this, &CCoefficientsDlg::ProgramAllModules);
    connect(openLoc_, &QPushButton::clicked, this, &CCoefficientsDlg::OpenLocFile);
    connect(calibList_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CCoefficientsDlg::OnCalibRowChanged);
    connect(calibList_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        calibList_->Select(index.row());
        SetActiveCalibration();
    });

    workspace_->SetModule(kInvalidPort, record.SerialNo(), record.ModuleName(), record.iaStation);
    serialNo_->setText(QString::number(record.SerialNo()));
    moduleName_->setText(QString::fromStdString(record.ModuleName()));
    station_->setText(QString::number(record.iaStation));
    RetranslateOnLanguageChange(this, [this] { Retranslate(); });
    Retranslate();
    ShowFileDescription();
    RefillCalibList();
    RefillCoeffList();
}

CCoefficientsDlg::~CCoefficientsDlg() {
    calibList_->SaveColumns("CoeffDlgCalibList");
    coeffList_->SaveColumns("CoeffDlgCoeffList");
}

void CCoefficientsDlg::Retranslate() {
    setWindowTitle(ModuleWindowTitle(tr("Material and Temperature Coefficients"), record_));
    moduleGroup_->setTitle(tr("Module description"));
    fileGroup_->setTitle(tr("&File description"));
    calibGroup_->setTitle(tr("Calibrations sorted by &switch for material and temperature"));
    coeffGroup_->setTitle(tr("Coefficients for &selected switch"));
    labels_[0]->setText(tr("Serial no.:"));
    labels_[1]->setText(tr("Module name:"));
    labels_[2]->setText(tr("Station no.:"));
    labels_[3]->setText(tr("File name:"));
    labels_[4]->setText(tr("Directory:"));
    labels_[5]->setText(tr("Comments:"));
    labels_[3]->setBuddy(openLoc_);
    calibGroup_->setFocusProxy(calibList_);
    coeffGroup_->setFocusProxy(coeffList_);
    openLoc_->setToolTip(tr("Open LOC file"));
    CVirtualListModel* calib = calibList_->ListModel();
    calib->SetColumnTitle(kActiveColumn, tr("Active"));
    calib->SetColumnTitle(kDiffColumn, QStringLiteral("=?"));
    calib->SetColumnTitle(kSwitchColumn, tr("Switch"));
    calib->SetColumnTitle(kMatModule, tr("Material: module ID"));
    calib->SetColumnTitle(kMatFile, tr("Material: file ID"));
    calib->SetColumnTitle(kTempModule, tr("Temperature: module ID"));
    calib->SetColumnTitle(kTempFile, tr("Temperature: file ID"));
    CVirtualListModel* coeff = coeffList_->ListModel();
    coeff->SetColumnTitle(kTitleColumn, tr("Coefficient"));
    coeff->SetColumnTitle(kCoeffMatModule, tr("for material in module"));
    coeff->SetColumnTitle(kCoeffMatFile, tr("for material in file"));
    coeff->SetColumnTitle(kCoeffTempModule, tr("for temperature in module"));
    coeff->SetColumnTitle(kCoeffTempFile, tr("for temperature in file"));
    // Wide enough for the titles (the German ones are longer), and never narrower than the usual widths.
    for (CReportListCtrl* list : {calibList_, coeffList_}) {
        const QFontMetrics metrics(list->horizontalHeader()->font());
        for (int column = 0; column < list->ListModel()->ColumnCount(); ++column) {
            if (list->isColumnHidden(column)) {
                continue;
            }
            const QString title = list->ListModel()->headerData(column, Qt::Horizontal).toString();
            list->setColumnWidth(column,
                                 std::max(list->columnWidth(column), metrics.horizontalAdvance(title) + 24));
        }
    }
    close_->setText(tr("Close"));
    rereadActive_->setText(tr("Reread\nact. calibration ID"));
    setActive_->setText(tr("Set act. &calibration"));
    rereadModule_->setText(tr("Reread module"));
    rereadFiles_->setText(tr("Reread files"));
    program_->setText(tr("Program module"));
    programAll_->setText(tr("Program all modules"));
    coeffList_->ListModel()->RefreshAll();
}

void CCoefficientsDlg::showEvent(QShowEvent* event) {
    CModuleConfigDialog::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        calibList_->LoadColumns("CoeffDlgCalibList");
        coeffList_->LoadColumns("CoeffDlgCoeffList");
    }
    PlaceBanner();
}

void CCoefficientsDlg::resizeEvent(QResizeEvent* event) {
    CModuleConfigDialog::resizeEvent(event);
    PlaceBanner();
}

void CCoefficientsDlg::PlaceBanner() {
    const QRect area = calibList_->rect();
    const QSize size(std::min(area.width() - 20, 420), std::min(area.height() - 20, 90));
    banner_->setGeometry(QRect(area.center() - QPoint(size.width() / 2, size.height() / 2), size));
}

QString CCoefficientsDlg::BannerText() const {
    return banner_->isHidden() ? QString() : banner_->text();
}

void CCoefficientsDlg::SetBanner(const std::string& text) {
    if (text.empty()) {
        banner_->hide();
        banner_->clear();
        return;
    }
    banner_->setText(ConfigText(text));
    PlaceBanner();
    banner_->show();
    banner_->raise();
    banner_->repaint();
}

bool CCoefficientsDlg::AskYesNo(const std::string& text) {
    return terrix::ShowMessage(this, ConfigText(text), windowTitle(), MessageIcon::Warning,
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void CCoefficientsDlg::ShowMessage(const ConfigMessage& message) {
    ConfigMessage shown = message;
    // A failed file read says which file and why.
    if (fileWork_ && workspace_->LastFileError().Failed()) {
        shown.text += "\n\n" + workspace_->LastFileError().Message();
    }
    ShowConfigMessage(shown);
}

namespace {

// The dialog's side of a workspace operation on the worker thread: the banner follows the operation on the
// dialog's thread, the messages are kept and shown in order once the operation has ended. The operations
// ask their questions before their bus work, so none comes here.
class JobCalibUi final : public CalibDialogUi {
public:
    JobCalibUi(BusJobControl& job, std::function<void(const std::string&)> showBanner)
        : job_(job), showBanner_(std::move(showBanner)) {}

    bool AskYesNo(const std::string&) override { return false; }
    void ShowMessage(const ConfigMessage& message) override { messages.push_back(message); }
    void SetBanner(const std::string& text) override {
        job_.Post([show = showBanner_, text] { show(text); });
    }
    bool StopRequested() const override { return job_.StopRequested(); }

    ConfigMessages messages;

private:
    BusJobControl& job_;
    std::function<void(const std::string&)> showBanner_;
};

} // namespace

template <class Operation, class Done> void CCoefficientsDlg::RunCalibWork(Operation operation, Done done) {
    using Result = std::invoke_result_t<Operation&, CalibWorkspace&, CalibDialogUi&>;
    struct Outcome {
        Result result{};
        ConfigMessages messages;
    };
    RunBusWork(
        [workspace = workspace_, serialNo = record_.SerialNo(), name = record_.ModuleName(),
         station = record_.iaStation, operation,
         showBanner = std::function<void(const std::string&)>(
             [this](const std::string& text) { SetBanner(text); })](BusJobControl& job, PortHandle port) {
            workspace->SetModule(port, serialNo, name, station);
            JobCalibUi ui(job, showBanner);
            Outcome outcome;
            outcome.result = operation(*workspace, ui);
            outcome.messages = std::move(ui.messages);
            return outcome;
        },
        [this, done](std::optional<Outcome> outcome) {
            SetBanner(std::string()); // whatever happened, no banner stays
            const Outcome ended = outcome.value_or(Outcome{});
            for (const ConfigMessage& message : ended.messages) {
                ShowMessage(message);
            }
            done(ended.result);
        });
}

void CCoefficientsDlg::ReadModule() {
    // Nothing to read through a port that did not open (that has been said).
    if (PortOpen()) {
        RereadModule();
    }
}

void CCoefficientsDlg::RereadModule() {
    RunCalibWork([](CalibWorkspace& workspace, CalibDialogUi& ui) { return workspace.RereadModule(ui); },
                 [this](bool) {
                     RefillCalibList();
                     RefillCoeffList();
                 });
}

void CCoefficientsDlg::RereadActive() {
    RunCalibWork([](CalibWorkspace& workspace, CalibDialogUi&) { return workspace.RereadActive(); },
                 [this](int) { RefillCalibList(); });
}

void CCoefficientsDlg::SetActiveCalibration() {
    // (The buttons are disabled while a job runs; the workspace is the job's meanwhile.)
    if (Busy() || !workspace_->ConfirmSetActive(*this)) {
        return;
    }
    RunCalibWork([](CalibWorkspace& workspace, CalibDialogUi& ui) { return workspace.WriteActive(ui); },
                 [this](bool set) {
                     if (set) {
                         SetModuleChanged();
                     }
                     RefillCalibList();
                 });
}

void CCoefficientsDlg::ProgramModule() {
    if (Busy()) {
        return;
    }
    const ProgramSource source = workspace_->ConfirmProgramModule(*this);
    if (source == ProgramSource::None) {
        return;
    }
    RunCalibWork([source](CalibWorkspace& workspace,
                          CalibDialogUi& ui) { return workspace.ProgramModule(source, ui); },
                 [this](bool programmed) {
                     if (programmed) {
                         SetModuleChanged();
                     }
                     RefillCalibList();
                     RefillCoeffList();
                 });
}

void CCoefficientsDlg::ProgramAllModules() {
    if (Busy() || !workspace_->ConfirmProgramAll(*this)) {
        return;
    }
    const XvModuleSelection selection = XvModuleStations(context_.busList);
    const QStringList skipped = SkippedModuleNames(selection.skipped);
    RunCalibWork(
        [stations = selection.stations](CalibWorkspace& workspace, CalibDialogUi& ui) {
            std::vector<ProgramOutcome> outcomes;
            workspace.ProgramStations(stations, ui, &outcomes);
            return outcomes;
        },
        [this, skipped](const std::vector<ProgramOutcome>& outcomes) {
            for (const ProgramOutcome& outcome : outcomes) {
                if (outcome.result != ProgramOutcome::Result::NotRead) {
                    SetModuleChanged();
                }
            }
            if (!outcomes.empty() && !skipped.isEmpty()) {
                terrix::ShowMessage(
                    this,
                    tr("Only XV modules were programmed; skipped:\n%1").arg(skipped.join(QLatin1Char('\n'))),
                    windowTitle(), MessageIcon::Information);
            }
            RefillCalibList();
        });
}

void CCoefficientsDlg::OpenLocFile() {
    if (Busy()) {
        return;
    }
    const QString directory = QString::fromStdString(PathText(workspace_->LocDirectory()));
    QString path;
    if (chooseLocFile_) {
        path = chooseLocFile_(this, directory);
    } else {
        QFileDialog dialog(this, tr("Open LOC file"), directory, tr("LOC file (*.LOC *.loc)"));
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setDefaultSuffix(QStringLiteral("LOC"));
        if (RunModal(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            path = dialog.selectedFiles().constFirst();
        }
    }
    if (path.isEmpty()) {
        return;
    }
    fileWork_ = true;
    workspace_->OpenLocFile(PathFromText(path.toStdString()), *this);
    fileWork_ = false;
    ShowFileDescription();
    RefillCalibList();
    RefillCoeffList();
}

void CCoefficientsDlg::RereadFiles() {
    if (Busy()) {
        return;
    }
    fileWork_ = true;
    workspace_->RereadFiles(*this);
    fileWork_ = false;
    ShowFileDescription();
    RefillCalibList();
    RefillCoeffList();
}

void CCoefficientsDlg::ShowFileDescription() {
    fileName_->setText(QString::fromStdString(workspace_->LocFileName()));
    directory_->setText(QString::fromStdString(PathText(workspace_->LocDirectory())));
    fileComment_->setText(QString::fromStdString(workspace_->FileComment()));
    fileComment_->setCursorPosition(0);
}

void CCoefficientsDlg::RefillCalibList() {
    const int selected = workspace_->Selected();
    calibRows_ = workspace_->CalibList();
    const QSignalBlocker blocker(calibList_->selectionModel());
    calibList_->ListModel()->SetRowCount(static_cast<int>(calibRows_.size()));
    calibList_->ListModel()->RefreshAll();
    if (selected >= 0 && selected < static_cast<int>(calibRows_.size())) {
        calibList_->Select(selected);
    } else {
        calibList_->DeselectAll();
    }
    setActive_->setEnabled(workspace_->Selected() >= 0);
}

void CCoefficientsDlg::RefillCoeffList() {
    coeffRows_ = workspace_->CoeffList();
    coeffList_->ListModel()->SetRowCount(static_cast<int>(coeffRows_.size()));
    coeffList_->ListModel()->RefreshAll();
}

void CCoefficientsDlg::OnCalibRowChanged() {
    const QModelIndexList rows = calibList_->selectionModel()->selectedRows();
    workspace_->Select(rows.isEmpty() ? CalibWorkspace::kNone : rows.constFirst().row());
    setActive_->setEnabled(workspace_->Selected() >= 0);
    RefillCoeffList();
}

bool RunCoefficientsDialog(BusContext& context, QWidget* owner, ModuleRecord& record) {
    return RunModuleConfigDialog<CCoefficientsDlg>(context, owner, record, "CoeffDlg");
}

} // namespace terrix
