#pragma once
// The base of the program's own dialogs and modeless windows: one class for modal and modeless use that
// tells its owner when a modeless window goes, confirms changes on OK and Cancel, keeps its placement in the
// settings file as fractions of the parent's size, and, when resizable, moves and stretches its controls
// around its first list view. Resizable dialogs place their controls with fixed geometry (no Qt layout);
// the layout entries do the rest.

#include <QDialog>
#include <QPointer>
#include <QRect>

#include <filesystem>
#include <string>
#include <vector>

class QAbstractItemView;
class QMenu;
class QSizeGrip;

namespace terrix {

class CPlacementDialog;

// An owner that wants to know when one of its modeless windows has gone.
class CChildOwner {
public:
    virtual ~CChildOwner() = default;
    virtual void OnChildClosed(QWidget* child) = 0;
};

class CPlacementDialog : public QDialog {
    Q_OBJECT
public:
    enum LayoutMode { kFixed = 0, kStretch = 1, kMove = 2, kProportional = 3 };

    explicit CPlacementDialog(QWidget* parent = nullptr);
    ~CPlacementDialog() override;

    // Shows the dialog modeless; it deletes itself when closed and tells its owner first.
    void Create();
    bool IsModal() const { return modal_; }

    virtual int IsModified() const { return modified_; }
    virtual int SetModified(int value);
    // Stores the changes; the base has none to store.
    virtual bool Apply() { return false; }

    void SetNotifyOwner(QObject* owner) { notifyOwner_ = owner; }
    QObject* NotifyOwner() const { return notifyOwner_; }

    // Set before the dialog is first shown: a sizing border (and with it the layout of the controls).
    void SetResizable(bool resizable) { resizable_ = resizable; }
    bool IsResizable() const { return resizable_; }
    // Options, all on by default: size grip, width and height may grow beyond the initial size.
    void SetLayoutOptions(bool sizeGrip, bool widthGrows, bool heightGrows);

    // Registers a control for the layout (nothing for null).
    void AddLayoutControl(QWidget* control, LayoutMode horizontal, LayoutMode vertical,
                          bool paintExclude = true);
    // The stored layout rectangle of a registered control, or an empty rectangle.
    QRect LayoutRect(const QWidget* control) const;
    QSize InitialSize() const { return initialSize_; }
    QSizeGrip* SizeGrip() const { return sizeGrip_; }

    // Placement as fractions of the parent's client size (of the screen without a parent), in `section` of
    // `file` (empty: the settings file). Save returns false when the file could not be written.
    bool SaveWindowPlacement(const std::string& section, const std::filesystem::path& file = {}) const;
    // Restores a stored placement; false (and no move) when it is missing or unusable.
    bool LoadWindowPlacement(const std::string& section, const std::filesystem::path& file = {});

    // The default context menu: `menu` (owned by the caller) with `title` as its title line.
    void SetContextMenu(QMenu* menu, const QString& title);

    void accept() override;
    void reject() override;

Q_SIGNALS:
    // A modeless window has been closed by OK or Cancel (emitted once, before it is deleted).
    void childClosed(QWidget* child);

protected:
    // Runs once, before the dialog is first shown. Derived dialogs call the base first.
    virtual void OnInitDialog();
    // A command from the dialog's context menu.
    virtual void OnCommand(int commandId);

    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    struct LayoutEntry {
        QPointer<QWidget> control;
        LayoutMode horizontal = kFixed;
        LayoutMode vertical = kFixed;
        QRect rect;
        bool isList = false;
        bool paintExclude = false;
        // Proportional mode: the near edge and the dialog's extent at registration; the edge stays at that
        // fraction (left / (width - left) as a ratio) of the dialog's size.
        QPoint proportionalEdge;
        QSize proportionalExtent;
        std::vector<int> baseWidths; // list views: filled on the first layout
    };

    void CloseDialog(int result);
    void NotifyOwnerOnce();
    void RescaleColumns(LayoutEntry& entry, int listWidth);
    void OnSectionResized(QAbstractItemView* list, int logicalIndex, int newSize);
    QSize ReferenceSize() const;

    bool modal_ = true;
    QPointer<QObject> notifyOwner_;
    bool ownerNotified_ = false;
    int modified_ = 0;
    QSizeGrip* sizeGrip_ = nullptr;
    bool resizable_ = false;
    bool initialised_ = false;
    QSize initialSize_;
    QSize layoutSize_; // the dialog size the entries' rectangles belong to
    bool sizeGripWanted_ = true;
    bool widthGrows_ = true;
    bool heightGrows_ = true;
    bool rescaling_ = false;
    std::vector<LayoutEntry> entries_;
    QPointer<QMenu> contextMenu_;
    QString contextMenuTitle_;
};

} // namespace terrix
