#pragma once
// Tabbed pages whose tabs are chosen with Alt and the mnemonic letter of their title ("&Range": Alt+R), from
// anywhere inside the sheet; CNicePropertySheetCtrl lives inside an ordinary dialog in place of a
// placeholder control.

#include <QTabWidget>

class QKeyEvent;

namespace terrix {

class CNicePropertySheet : public QTabWidget {
    Q_OBJECT
public:
    explicit CNicePropertySheet(QWidget* parent = nullptr);
    ~CNicePropertySheet() override;

    // Alt+key (key code 33 and above): makes the first page whose title holds "&" and that letter (in any
    // case) the active page. True when a page was found; the key is then used up.
    bool SelectPageByMnemonic(const QKeyEvent* event);

protected:
    // The page whose title holds the mnemonic of `event`, or -1.
    int PageForMnemonic(const QKeyEvent* event) const;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

class CNicePropertySheetCtrl : public CNicePropertySheet {
    Q_OBJECT
public:
    using CNicePropertySheet::CNicePropertySheet;

    // Takes the place and size of `placeholder` (a control of `parent`, which is hidden and disabled) and
    // shows page 0. The pages are added before.
    bool Create(QWidget* parent, QWidget* placeholder);
};

} // namespace terrix
