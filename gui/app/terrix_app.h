#pragma once
// Start-up of the desktop program, in this order: the user-interface language, the single-instance rule,
// the toolkit check, the organisation name, then the main frame.

#include <QObject>

#include <memory>

namespace terrix {

class CMainFrame;
class CSingleInstance;

class CTerrixApp : public QObject {
    Q_OBJECT
public:
    CTerrixApp();
    ~CTerrixApp() override;

    // True to run the program; false to end it at once (a second copy, or an unusable toolkit).
    bool InitInstance();

    CMainFrame* MainFrame() const { return frame_.get(); }
    CSingleInstance* Instance() const { return instance_.get(); }

private:
    std::unique_ptr<CSingleInstance> instance_;
    std::unique_ptr<CMainFrame> frame_;
};

} // namespace terrix
