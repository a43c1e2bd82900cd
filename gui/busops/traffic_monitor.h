#pragma once
// The bus traffic monitor: a modeless window listing every frame on the bus as it happens (time,
// direction, station, command, outcome, bytes), so a technician sees at a glance whether a module answers,
// answers garbage or collides. Frames from any thread arrive through the queued trace adapter; the list
// keeps the newest kMaxFrames.

#include "core/bus/bus_trace.h"
#include "core/inventory/bus_context.h"
#include "gui/toolkit/placement_dialog.h"
#include "gui/toolkit/queued_adapters.h"

#include <QAbstractTableModel>
#include <QDateTime>

#include <deque>

class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;

namespace terrix {

struct FrameWindows;

// The name of a module command in the user's language, or an empty string for a number the program does
// not send.
QString CommandName(uint8_t command);

// The frames shown, oldest first; at most `limit`, the oldest dropped first.
class TrafficModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kTime, kDirection, kStation, kCommand, kOutcome, kBytes, kColumnCount };
    explicit TrafficModel(size_t limit, QObject* parent = nullptr);

    void Append(const BusTraceEvent& event, const QDateTime& when);
    void Clear();
    // The texts of the current language (after a switch).
    void Retranslate();
    size_t Size() const { return frames_.size(); }
    // One line per frame in the format of terrix-cli --trace.
    QString Text() const;
    // The widest texts a column shows in the ordinary course (for the bytes, the XV module's reply to "read
    // station info"), so the columns have room before the first frame arrives.
    static QStringList TypicalTexts(int column);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    struct Frame {
        BusTraceEvent event;
        QDateTime when;
        std::vector<uint8_t> request; // received without a header: the header of the request it answers
    };
    QString Cell(const Frame& frame, int column) const;
    size_t limit_;
    std::deque<Frame> frames_;
    std::vector<uint8_t> lastRequest_;
};

class CTrafficMonitor : public CPlacementDialog {
    Q_OBJECT
public:
    static constexpr size_t kMaxFrames = 100000;

    CTrafficMonitor(BusContext& context, QWidget* owner, size_t limit = kMaxFrames);
    ~CTrafficMonitor() override;

    TrafficModel& Model() { return model_; }
    QTableView* View() const { return view_; }
    QPushButton* PauseButton() const { return pause_; }
    // Writes the list as text; false (with the reason in `error`) when the file could not be written.
    bool SaveText(const QString& path, QString& error) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void OnInitDialog() override;

private:
    void OnFrame(const BusTraceEvent& event);
    void OnSave();
    void Retranslate();
    // Widens every column that is narrower than the header or one of the rows firstRow..lastRow needs.
    void FitColumns(int firstRow, int lastRow);
    // Widens every column to its typical texts.
    void FitTypicalColumns();
    void UpdateCount();

    TrafficModel model_;
    QTableView* view_ = nullptr;
    QPushButton* pause_ = nullptr;
    QPushButton* clear_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* close_ = nullptr;
    QLabel* count_ = nullptr;
    size_t dropped_ = 0;
    bool placementLoaded_ = false;
    // Declared last: uninstalled first, so no frame arrives while the members above go.
    QueuedBusTraceObserver observer_;
};

void RegisterTrafficMonitor(FrameWindows& windows);

} // namespace terrix
