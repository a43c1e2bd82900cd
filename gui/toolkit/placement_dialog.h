#pragma once
// The base of the program's own dialogs and modeless windows: one class for modal and modeless use that
// tells its owner when a modeless window goes (the childClosed signal, emitted once), confirms changes on OK
// and Cancel, and keeps its placement in the settings file as fractions of the parent's size.
//
// Controls are placed with a Qt layout (setLayout before the dialog is first shown); which controls grow
// with a resizable window is said with stretch factors. A resizable dialog gets a size grip, its initial
// size as minimum, and the first list view's columns rescaled to the list's width. A dialog without a
// layout keeps the size it has when first shown.

#include <QDialog>

#include <QPointer>
#include <QRect>
#include <functional>

#include <filesystem>
#include <string>
#include <vector>

class QAbstractItemView;
class QMenu;
class QSizeGrip;

namespace terrix {

class CPlacementDialog : public QDialog {
    Q_OBJECT
public:
    explicit CPlacementDialog(QWidget* parent = nullptr);
    ~CPlacementDialog() override;

    // Makes the dialog modeless and shows it; it deletes itself when closed and emits childClosed first.
    void Create();
    bool IsModal() const { return modal_; }

    virtual int IsModified() const { return modified_; }
    virtual int SetModified(int value);
    // Stores the changes; the base has none to store.
    virtual bool Apply() { return false; }
    // Stores the changes and calls `finished` with the outcome, at once or later: a dialog whose changes
    // go over the bus starts a bus job here and calls `finished` from its result. The base calls Apply().
    virtual void StartApply(std::function<void(bool ok)> finished) { finished(Apply()); }
    // The question OK asks before StartApply; a dialog that can say what exactly will change says so.
    virtual QString ChangeQuestion() const;

    // Set before the dialog is first shown: a sizing border, within which the layout places the controls.
    void SetResizable(bool resizable) { resizable_ = resizable; }
    bool IsResizable() const { return resizable_; }
    QSize InitialSize() const { return initialSize_; }
    QSizeGrip* SizeGrip() const;

    // Placement as fractions of the parent's client size (of the screen without a parent), in `section` of
    // `file` (empty: the settings file). Save returns false when the file could not be written.
    bool SaveWindowPlacement(const std::string& section, const std::filesystem::path& file = {}) const;
    // Restores a stored placement; false (and no move) when it is missing or unusable.
    bool LoadWindowPlacement(const std::string& section, const std::filesystem::path& file = {});

    // The default context menu: `menu` (owned by the caller) with `title` as its title line.
    void SetContextMenu(QMenu* menu, const QString& title);

    // Closing while an operation of the window runs (see WindowOperation) asks it to stop and closes the
    // window after it ended.
    void accept() override;
    void reject() override;
    // Runs through RunModal: refused (Rejected, nothing shown) while a window around it is closing, and
    // closed first when one starts to close.
    int exec() override;

Q_SIGNALS:
    // A modeless window has gone (OK, Cancel, close, or its parent deleted it); emitted once. The owner that
    // created the window connects to it.
    void childClosed(QWidget* child);

protected:
    // Runs once, before the dialog is first shown. Derived dialogs call the base first.
    virtual void OnInitDialog();
    // True when the close was put off until the window's operations have ended (accept or reject then
    // runs again); overrides that do work before closing call it first.
    bool DeferCloseWhileBusy(bool accept);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void WatchList(QAbstractItemView* list);
    void CloseDialog(int result);
    void NotifyOwnerOnce();
    void RescaleColumns(int listWidth);
    void OnSectionResized(int logicalIndex, int newSize);
    QSize ReferenceSize() const;

    bool modal_ = true;
    bool ownerNotified_ = false;
    int modified_ = 0;
    bool applying_ = false; // StartApply runs; its result closes the dialog
    bool resizable_ = false;
    bool initialised_ = false;
    QSize initialSize_;
    bool rescaling_ = false;
    // The list whose columns keep their proportions as it grows, and their widths to scale from (filled on
    // the first rescale; a column the user sizes becomes a base).
    QPointer<QAbstractItemView> scaledList_;
    std::vector<int> baseWidths_;
    QPointer<QMenu> contextMenu_;
    QString contextMenuTitle_;
};

} // namespace terrix
