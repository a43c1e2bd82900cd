#include "gui/measure/meas_value_dlg.h"

#include "core/measure/meas_field.h"
#include "core/measure/meas_value_store.h"
#include "core/platform/data_paths.h"
#include "core/platform/path_text.h"
#include "gui/base/language.h"
#include "gui/measure/export_values_dlg.h"
#include "gui/measure/field_title_text.h"
#include "gui/measure/meas_plot_widget.h"
#include "gui/measure/meas_value_list.h"
#include "gui/toolkit/core_text.h"
#include "gui/toolkit/language_change.h"
#include "gui/toolkit/message_box.h"
#include "gui/toolkit/modal_run.h"
#include "gui/toolkit/module_window_title.h"
#include "gui/toolkit/report_list_ctrl.h"
#include "gui/toolkit/string_catalogue.h"
#include "gui/toolkit/virtual_list_model.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <limits>

namespace terrix {

namespace {

// The line-chart button's picture: a line through three point markers.
QIcon MarkerIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 0, 160), 1.5));
    const QPointF points[] = {{2, 12}, {8, 5}, {14, 9}};
    painter.drawPolyline(points, 3);
    painter.setBrush(QColor(0, 0, 160));
    for (const QPointF& p : points) {
        painter.drawRect(QRectF(p.x() - 1.5, p.y() - 1.5, 3, 3));
    }
    return QIcon(pixmap);
}

QString PromptOf(const QString& text) {
    return text.section(QLatin1Char('\n'), 0, 0);
}

QString TipOf(const QString& text) {
    const QString tip = text.section(QLatin1Char('\n'), 1);
    return tip.isEmpty() ? PromptOf(text) : tip;
}

QString PromptFor(int commandId) {
    return FindText(TextKind::Prompt, commandId);
}

} // namespace

std::string MeasValueLayoutSection(uint16_t serialNo) {
    return "Layout for " + std::to_string(serialNo);
}

int64_t SpinSamplesPerPlot(int64_t wanted) {
    return std::min<int64_t>(ClampSamplesPerPlot(wanted), kSamplesPerPlotSpinMaximum);
}

CMeasValueDlg::CMeasValueDlg(BusContext& context, QWidget* owner, ModuleRecord& record,
                             CMeasValueStore& store)
    : CPlacementDialog(owner), context_(context), record_(record), store_(store),
      serialNo_(record.SerialNo()), section_(MeasValueLayoutSection(serialNo_)),
      units_(MeasFieldUnits(record)), columns_(MakeRecord(store.Layout())) {
    RetranslateOnLanguageChange(this, [this] { RetranslateUi(); });
    units_.resize(columns_.FieldCount());
    // A file written before this window's store was attached (or since) is read from the start.
    if (store_.RecordCount() == 0 && std::filesystem::exists(store_.BinaryPath())) {
        store_.OpenReader();
    }

    // Menu, toolbar, and list and plot on one place below them.
    menuBar_ = new QMenuBar(this);
    valuesMenu_ = menuBar_->addMenu(QString());
    toolBar_ = new QToolBar(this);
    toolBar_->setIconSize(QSize(16, 16));
    const QStyle* s = style();
    AddCommand(toolBar_, ID_MEAS_FIRST, s->standardIcon(QStyle::SP_MediaSkipBackward),
               QKeySequence(Qt::ALT | Qt::Key_Home));
    AddCommand(toolBar_, ID_MEAS_PAGE_BACK, s->standardIcon(QStyle::SP_MediaSeekBackward),
               QKeySequence(Qt::ALT | Qt::Key_PageUp));
    AddCommand(toolBar_, ID_MEAS_BACK, s->standardIcon(QStyle::SP_ArrowLeft),
               QKeySequence(Qt::ALT | Qt::Key_Left));
    AddCommand(toolBar_, ID_MEAS_FORWARD, s->standardIcon(QStyle::SP_ArrowRight),
               QKeySequence(Qt::ALT | Qt::Key_Right));
    AddCommand(toolBar_, ID_MEAS_PAGE_FORWARD, s->standardIcon(QStyle::SP_MediaSeekForward),
               QKeySequence(Qt::ALT | Qt::Key_PageDown));
    AddCommand(toolBar_, ID_MEAS_LAST, s->standardIcon(QStyle::SP_MediaSkipForward),
               QKeySequence(Qt::ALT | Qt::Key_End));
    toolBar_->addSeparator();
    QAction* markers =
        AddCommand(toolBar_, ID_MEAS_MARKERS, MarkerIcon(), QKeySequence(Qt::CTRL | Qt::Key_M));
    markers->setCheckable(true);
    QAction* plot = AddCommand(toolBar_, ID_MEAS_PLOT, QIcon(), QKeySequence(Qt::CTRL | Qt::Key_P));
    plot->setCheckable(true);
    toolBar_->addSeparator();

    const int digits = fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) + 12;
    firstEdit_ = new QLineEdit(toolBar_);
    firstEdit_->setFixedWidth(digits);
    firstEdit_->setAlignment(Qt::AlignRight);
    toolBar_->addWidget(firstEdit_);
    toolBar_->addWidget(new QLabel(QStringLiteral(" / "), toolBar_));
    countEdit_ = new QLineEdit(toolBar_);
    countEdit_->setFixedWidth(digits);
    countEdit_->setAlignment(Qt::AlignRight);
    countEdit_->setReadOnly(true);
    countEdit_->setFocusPolicy(Qt::ClickFocus);
    toolBar_->addWidget(countEdit_);
    sppLabel_ = new QLabel(toolBar_);
    toolBar_->addWidget(sppLabel_);
    sppSpin_ = new QSpinBox(toolBar_);
    sppSpin_->setMinimumWidth(digits);
    sppSpin_->setAlignment(Qt::AlignRight);
    // Any number from 1 on, also beyond the stored values (the plot shows what there is); a typed 0 is
    // corrected to 1.
    sppSpin_->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    sppSpin_->setRange(1, static_cast<int>(kSamplesPerPlotSpinMaximum));
    toolBar_->addWidget(sppSpin_);

    QAction* copy = new QAction(this);
    copy->setData(ID_MEAS_COPY);
    copy->setShortcut(QKeySequence::Copy);
    copy->setIcon(QIcon(QStringLiteral(":/icons/copy.png")));
    QAction* exportValues = new QAction(this);
    exportValues->setData(ID_MEAS_EXPORT);
    exportValues->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    QAction* picture = new QAction(this);
    picture->setData(ID_MEAS_SAVE_PICTURE);
    picture->setIcon(QIcon(QStringLiteral(":/icons/save.png")));
    QAction* erase = new QAction(this);
    erase->setData(ID_MEAS_ERASE);
    erase->setShortcut(QKeySequence::Delete);
    for (QAction* action : {copy, exportValues, picture, erase}) {
        actions_.emplace_back(action->data().toInt(), action);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
    }
    valuesMenu_->addAction(copy);
    valuesMenu_->addAction(exportValues);
    valuesMenu_->addAction(picture);
    valuesMenu_->addSeparator();
    valuesMenu_->addAction(erase);
    SetContextMenu(valuesMenu_,
                   QStringLiteral("%1 (%2)").arg(serialNo_).arg(QString::fromStdString(store_.ModuleName())));

    stack_ = new QStackedWidget(this);
    values_ = new CMeasValueList(stack_);
    list_ = values_->View();
    plot_ = new CMeasPlotWidget(stack_);
    stack_->addWidget(values_);
    stack_->addWidget(plot_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 4);
    layout->setSpacing(2);
    layout->setMenuBar(menuBar_);
    layout->addWidget(toolBar_);
    layout->addWidget(stack_, 1);
    setLayout(layout);
    SetResizable(true);
    setFocusProxy(values_);

    connect(Action(ID_MEAS_FIRST), &QAction::triggered, this, [this] { Navigate(PlotMove::kFirst); });
    connect(Action(ID_MEAS_PAGE_BACK), &QAction::triggered, this, [this] { Navigate(PlotMove::kPageBack); });
    connect(Action(ID_MEAS_BACK), &QAction::triggered, this, [this] { Navigate(PlotMove::kBack); });
    connect(Action(ID_MEAS_FORWARD), &QAction::triggered, this, [this] { Navigate(PlotMove::kForward); });
    connect(Action(ID_MEAS_PAGE_FORWARD), &QAction::triggered, this,
            [this] { Navigate(PlotMove::kPageForward); });
    connect(Action(ID_MEAS_LAST), &QAction::triggered, this, [this] { Navigate(PlotMove::kLast); });
    connect(markers, &QAction::triggered, this, [this] { ToggleMarkers(); });
    connect(plot, &QAction::toggled, this, [this](bool on) { ShowPlot(on); });
    connect(copy, &QAction::triggered, this, [this] { CopySelection(); });
    connect(exportValues, &QAction::triggered, this, [this] { OnExport(); });
    connect(picture, &QAction::triggered, this, [this] { OnSavePicture(); });
    connect(erase, &QAction::triggered, this, [this] { EraseValues(true); });
    connect(sppSpin_, &QSpinBox::valueChanged, this, [this](int value) { SetSamplesPerPlot(value); });
    connect(firstEdit_, &QLineEdit::editingFinished, this, [this] { OnFirstEdited(); });
    connect(plot_, &CMeasPlotWidget::FirstChanged, this, [this](qint64 first) { OnPlotMoved(first); });

    // The list: one row per stored record, each read when it is drawn.
    values_->SetCells(
        [this](int64_t record, int column) { return CellText(record, column); },
        [this](int64_t record, int column, int role) { return CellData(record, column, role); });
    BuildColumns();
    values_->SetRecordCount(StoreRowCount());
    connect(values_, &CMeasValueList::currentRecordChanged, this,
            [this](qint64 record) { OnRowSelected(record); });

    // The plot over the same store. It opens on the newest values, where the list stands too.
    source_ = std::make_unique<StorePlotSource>(store_, PlotCurvesFor(record_));
    RefreshCounts();
    plot_->SetSamplesPerPlot(wantedSpp_);
    plot_->SetSource(source_.get());
    syncing_ = true;
    plot_->Last();
    syncing_ = false;

    RetranslateUi();
    resize(720, 480);
    LoadWindowPlacement(section_);
    // Column widths are kept as fractions of the list's width: the list must have its size first.
    for (QLayout* nested : {static_cast<QLayout*>(layout), stack_->layout(), values_->layout()}) {
        nested->activate();
    }
    list_->LoadColumns(section_);
    if (values_->RecordCount() > 0) {
        // Once laid out: the newest row at the bottom of the list, which takes the keys.
        QMetaObject::invokeMethod(
            this,
            [this] {
                values_->ScrollToEnd();
                if (!PlotShown()) {
                    values_->setFocus();
                }
            },
            Qt::QueuedConnection);
    }
}

CMeasValueDlg::~CMeasValueDlg() {
    if (!layoutSaved_) {
        SaveLayout();
    }
    // The controls outlive this object's members by a moment (children go with the base): hiding the
    // window still sends them focus changes, which must not reach this half-destroyed window, and the plot
    // must not keep the source.
    for (QObject* sender : std::initializer_list<QObject*>{firstEdit_, sppSpin_, plot_, values_}) {
        sender->disconnect(this);
    }
    plot_->SetSource(nullptr);
}

QAction* CMeasValueDlg::AddCommand(QToolBar* bar, int commandId, const QIcon& icon, const QKeySequence& key) {
    QAction* action = bar->addAction(icon, QString());
    action->setData(commandId);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(action);
    actions_.emplace_back(commandId, action);
    return action;
}

QAction* CMeasValueDlg::Action(int commandId) const {
    for (const auto& [id, action] : actions_) {
        if (id == commandId) {
            return action;
        }
    }
    return nullptr;
}

bool CMeasValueDlg::PlotShown() const {
    return stack_->currentWidget() == plot_;
}

void CMeasValueDlg::RetranslateUi() {
    // The text names the serial already: only the station follows.
    setWindowTitle(StationWindowTitle(Text(24757).replace(QStringLiteral("%u"), QString::number(serialNo_)),
                                      record_.iaStation));
    for (const auto& [id, action] : actions_) {
        const QString prompt = PromptFor(id);
        if (!prompt.isEmpty()) {
            action->setText(TipOf(prompt));
            action->setToolTip(TipOf(prompt));
            action->setStatusTip(PromptOf(prompt));
        }
    }
    Action(ID_MEAS_PLOT)->setText(TipOf(PromptText(32801)));
    valuesMenu_->setTitle(tr("&Values"));
    Action(ID_MEAS_COPY)->setText(MenuText(57634));
    Action(ID_MEAS_EXPORT)->setText(tr("E&xport..."));
    Action(ID_MEAS_SAVE_PICTURE)->setText(tr("Save plot as &picture..."));
    Action(ID_MEAS_ERASE)->setText(tr("&Erase meas. values"));
    firstEdit_->setToolTip(Text(32799));
    countEdit_->setToolTip(Text(32800));
    sppSpin_->setToolTip(Text(32803) + QStringLiteral("\n") + Text(32804));
    sppLabel_->setText(tr("  SPP: "));
    sppLabel_->setToolTip(Text(32803));
    for (size_t i = 0; i < columns_.FieldCount(); ++i) {
        list_->ListModel()->SetColumnTitle(static_cast<int>(i), ColumnTitle(i));
    }
}

QString CMeasValueDlg::ColumnTitle(size_t field) const {
    if (field > 0 && !units_[field].empty()) {
        return QString::fromStdString(units_[field]);
    }
    // The titles stay English in the measurement files; on screen they are translated.
    return FieldTitleText(columns_.GetTitle(field));
}

void CMeasValueDlg::BuildColumns() {
    // Titles from the record's fields; a value field of an ordinary module is titled with its channel's
    // unit, as the module reports it. Widths fit the title and the texts of the newest record.
    const QFontMetrics normal(list_->font());
    QFont boldFont = list_->font();
    boldFont.setWeight(QFont::Bold);
    const QFontMetrics bold(boldFont);
    const uint32_t count = store_.RecordCount();
    const bool sample = count > 0 && store_.ReadRecord(count - 1);
    for (size_t i = 0; i < columns_.FieldCount(); ++i) {
        const QString title = ColumnTitle(i);
        int width = normal.horizontalAdvance(title);
        if (sample) {
            width = std::max(
                width, bold.horizontalAdvance(QString::fromStdString(store_.ReadRecordData().Format(i))));
        }
        // Room for a value wider than the sample (a sign, another digit) and for the cell's margins.
        width += normal.horizontalAdvance(QStringLiteral("00")) + 12;
        list_->InsertColumn(static_cast<int>(i), title, i == 0 ? Qt::AlignLeft : Qt::AlignRight, width);
    }
}

int CMeasValueDlg::StoreRowCount() {
    return static_cast<int>(std::min<uint32_t>(store_.RecordCount(), std::numeric_limits<int>::max()));
}

QString CMeasValueDlg::CellText(int64_t record, int column) {
    if (record < 0 || !store_.ReadRecord(static_cast<uint32_t>(record))) {
        return {};
    }
    return QString::fromStdString(store_.ReadRecordData().Format(static_cast<size_t>(column)));
}

QVariant CMeasValueDlg::CellData(int64_t record, int column, int role) {
    if (role != Qt::ForegroundRole && role != Qt::FontRole) {
        return {};
    }
    // A measurement that failed (its first value holds the error marker) stands out: red, its values bold.
    if (record < 0 || !store_.ReadRecord(static_cast<uint32_t>(record)) ||
        !store_.ReadRecordData().IsErrorMarker(1)) {
        return {};
    }
    if (role == Qt::ForegroundRole) {
        return QColor(Qt::red);
    }
    if (column == 0) {
        return {};
    }
    QFont font = list_->font();
    font.setWeight(QFont::Bold);
    return font;
}

void CMeasValueDlg::RefreshCounts() {
    const int count = StoreRowCount();
    countEdit_->setText(QString::number(count));
    const QSignalBlocker blocker(sppSpin_);
    sppSpin_->setValue(static_cast<int>(SpinSamplesPerPlot(wantedSpp_)));
    const bool any = count > 0;
    for (int id : {ID_MEAS_COPY, ID_MEAS_EXPORT, ID_MEAS_ERASE}) {
        Action(id)->setEnabled(any);
    }
}

void CMeasValueDlg::OnNewValue() {
    const int64_t oldCount = values_->RecordCount();
    const int64_t newCount = StoreRowCount();
    // Where list and plot stood before: at the end, they follow the new values; elsewhere they stay.
    const bool listAtEnd = ListFollowsNewValue(values_->TopRecord(), values_->RowsPerPage(), oldCount + 1);
    const int64_t spp = plot_->SamplesPerPlot();
    const bool plotAtEnd = oldCount >= spp && plot_->CurrentFirst() == LastPageStart(oldCount, spp);
    const bool pageAtEnd =
        PageRangeOf(plot_->CurrentFirst(), spp, oldCount).end == static_cast<uint32_t>(oldCount);
    values_->SetRecordCount(newCount);
    RefreshCounts();
    if (newCount < oldCount) {
        // Erased elsewhere: the plot moves onto what is left.
        currentRow_ = std::min<int64_t>(currentRow_, newCount - 1);
        syncing_ = true;
        plot_->SetFirst(std::min(plot_->CurrentFirst(), LastPageStart(newCount, plot_->SamplesPerPlot())));
        syncing_ = false;
        return;
    }
    if (newCount == oldCount) {
        return;
    }
    if (listAtEnd) {
        values_->ScrollToEnd();
    }
    if (plotAtEnd) {
        syncing_ = true; // the plot follows; the list keeps its own place
        plot_->Last();
        syncing_ = false;
    } else if (pageAtEnd) {
        plot_->Reload(); // a page that was not full shows the new value
    }
}

void CMeasValueDlg::Navigate(PlotMove move) {
    switch (move) {
    case PlotMove::kFirst:
        plot_->First();
        break;
    case PlotMove::kPageBack:
        plot_->Back(true);
        break;
    case PlotMove::kBack:
        plot_->Back(false);
        break;
    case PlotMove::kForward:
        plot_->Forward(false);
        break;
    case PlotMove::kPageForward:
        plot_->Forward(true);
        break;
    case PlotMove::kLast:
        plot_->Last();
        break;
    }
}

void CMeasValueDlg::OnPlotMoved(int64_t first) {
    currentRow_ = first;
    firstEdit_->setText(QString::number(first));
    if (syncing_) {
        return;
    }
    // The list follows the plot: the row at the plot's start is selected and stands at the top.
    if (first >= values_->RecordCount()) {
        return;
    }
    syncing_ = true;
    values_->SelectRecord(first);
    values_->ScrollTo(first);
    syncing_ = false;
}

void CMeasValueDlg::OnRowSelected(int64_t record) {
    if (syncing_) {
        return;
    }
    // The selected row becomes the current row, and the plot starts there.
    syncing_ = true;
    plot_->SetFirst(PlotFirstAt(record));
    syncing_ = false;
}

void CMeasValueDlg::OnFirstEdited() {
    bool ok = false;
    const qlonglong typed = firstEdit_->text().trimmed().toLongLong(&ok);
    const int64_t rows = values_->RecordCount();
    if (!ok || rows == 0) {
        firstEdit_->setText(QString::number(std::max<int64_t>(currentRow_, 0)));
        return;
    }
    if (typed == currentRow_) {
        return;
    }
    plot_->SetFirst(std::clamp<int64_t>(typed, 0, rows - 1));
}

void CMeasValueDlg::SetSamplesPerPlot(int64_t wanted) {
    wantedSpp_ = ClampSamplesPerPlot(wanted);
    plot_->SetSamplesPerPlot(wantedSpp_);
    const QSignalBlocker blocker(sppSpin_);
    sppSpin_->setValue(static_cast<int>(SpinSamplesPerPlot(wantedSpp_)));
}

void CMeasValueDlg::ToggleMarkers() {
    plot_->ToggleMarkers();
    const QSignalBlocker blocker(Action(ID_MEAS_MARKERS));
    Action(ID_MEAS_MARKERS)->setChecked(!plot_->Markers());
}

void CMeasValueDlg::ShowPlot(bool plot) {
    if (Action(ID_MEAS_PLOT)->isChecked() != plot) {
        const QSignalBlocker blocker(Action(ID_MEAS_PLOT));
        Action(ID_MEAS_PLOT)->setChecked(plot);
    }
    stack_->setCurrentWidget(plot ? static_cast<QWidget*>(plot_) : values_);
    setFocusProxy(stack_->currentWidget());
    stack_->currentWidget()->setFocus();
}

bool CMeasValueDlg::EraseValues(bool confirm) {
    if (StoreRowCount() == 0) {
        return false;
    }
    if (confirm && ShowMessage(this, Text(24667), windowTitle(), MessageIcon::Question,
                               QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        return false;
    }
    const bool erased = store_.Erase();
    if (!erased) {
        ShowMessage(this, Text(24669), windowTitle(), MessageIcon::Stop);
    }
    // What is really left: nothing after an erase, all of it when the file could not be removed.
    values_->ClearSelection();
    values_->SetRecordCount(StoreRowCount());
    currentRow_ = -1;
    RefreshCounts();
    syncing_ = true;
    plot_->Last();
    syncing_ = false;
    return erased;
}

bool CMeasValueDlg::CopySelection() {
    const auto [first, last] = values_->Selection();
    const int64_t rows = first >= 0 ? last - first + 1 : 0;
    if (rows == 0) {
        ShowMessage(this, tr("Please select the rows to copy."), windowTitle(), MessageIcon::Information);
        return false;
    }
    if (rows > kMaxCopyRows) {
        ShowMessage(this,
                    tr("%1 rows are selected; at most %2 rows are copied to the clipboard. \"Export...\" "
                       "writes any number of rows to a file.")
                        .arg(rows)
                        .arg(kMaxCopyRows),
                    windowTitle(), MessageIcon::Information);
        return false;
    }
    QString text;
    for (int64_t row = first; row <= last; ++row) {
        if (!store_.ReadRecord(static_cast<uint32_t>(row))) {
            ShowMessage(this, CoreText(store_.LastErrorText()), windowTitle(), MessageIcon::Stop);
            return false;
        }
        CMeasRecord& record = store_.ReadRecordData();
        for (size_t i = 0; i < record.FieldCount(); ++i) {
            if (i > 0) {
                text += QLatin1Char('\t');
            }
            text += QString::fromStdString(record.Format(i));
        }
        text += QLatin1Char('\n');
    }
    QApplication::clipboard()->setText(text);
    return true;
}

void CMeasValueDlg::OnExport() {
    const int count = StoreRowCount();
    if (count == 0) {
        return;
    }
    const PlotPageRange shown = PageRangeOf(plot_->CurrentFirst(), plot_->SamplesPerPlot(), count);
    CExportValuesDlg choices(shown.begin, shown.end, static_cast<uint32_t>(count),
                             CurrentLanguage() == kLangGerman, this);
    if (RunModal(choices) != QDialog::Accepted) {
        return;
    }
    const QString suggested =
        QDir(QString::fromStdString(PathText(DataDir()))).filePath(QStringLiteral("%1.csv").arg(serialNo_));
    QString path =
        AskSaveFileName(this, tr("Export values"), suggested, tr("CSV files (*.csv);;All files (*)"));
    if (path.isEmpty()) {
        return;
    }
    const bool all = choices.AllValues();
    ExportTo(path, all ? 0 : shown.begin, all ? static_cast<uint32_t>(count) : shown.end,
             choices.Options(units_));
}

bool CMeasValueDlg::ExportTo(const QString& path, uint32_t begin, uint32_t end, const CsvOptions& options) {
    std::string error;
    if (ExportValuesCsv(store_, units_, begin, end, options, path.toStdString(), &error)) {
        return true;
    }
    ShowMessage(this, tr("The values could not be exported:\n%1").arg(CoreText(error)), windowTitle(),
                MessageIcon::Stop);
    return false;
}

void CMeasValueDlg::OnSavePicture() {
    const QString suggested =
        QDir(QString::fromStdString(PathText(DataDir()))).filePath(QStringLiteral("%1.png").arg(serialNo_));
    QString path = AskSaveFileName(this, tr("Save plot as picture"), suggested, tr("PNG pictures (*.png)"));
    if (path.isEmpty()) {
        return;
    }
    if (!path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) {
        path += QStringLiteral(".png");
    }
    SavePictureTo(path);
}

bool CMeasValueDlg::SavePictureTo(const QString& path) {
    // A hidden plot keeps the size it had when last shown, or none yet: it is drawn at the list's size.
    if (!plot_->isVisible()) {
        plot_->resize(stack_->size().expandedTo(plot_->minimumSizeHint()));
    }
    if (plot_->SaveAsPng(path)) {
        return true;
    }
    ShowMessage(this, tr("The picture could not be saved as %1.").arg(QDir::toNativeSeparators(path)),
                windowTitle(), MessageIcon::Stop);
    return false;
}

void CMeasValueDlg::SaveLayout() {
    layoutSaved_ = true;
    SaveWindowPlacement(section_);
    list_->SaveColumns(section_);
}

void CMeasValueDlg::reject() {
    SaveLayout();
    CPlacementDialog::reject();
}

void RegisterMeasValueWindow(FrameWindows& windows) {
    windows.moduleWindows.createValueWindow = [](BusContext& context, QWidget* owner, ModuleRecord& record,
                                                 CMeasValueStore& store) -> MeasValueView* {
        // A collision placeholder has no values; a store that is not bound to its module has no file.
        if (record.enModuleState == msCollision || !store.IsBound()) {
            return nullptr;
        }
        return new CMeasValueDlg(context, owner, record, store);
    };
}

} // namespace terrix
