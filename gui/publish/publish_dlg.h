#pragma once
// Bus > "Publish values...": where the measuring loop sends every stored record (the broker, the topic
// prefix, the login and the TLS files), kept in the "[Publish]" section of the settings file that terrix-cli
// reads too. "Test" tries the settings as they stand in the dialog on a thread of its own and says in plain
// words what failed; the dialog can be closed while a test runs.

#include "gui/publish/broker_test.h"
#include "gui/publish/publish_form.h"
#include "gui/toolkit/placement_dialog.h"

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace terrix {

struct FrameWindows;

class CPublishDlg : public CPlacementDialog {
    Q_OBJECT
public:
    explicit CPublishDlg(QWidget* owner);
    ~CPublishDlg() override;

    PublishForm Form() const;
    void SetForm(const PublishForm& form);
    // Tests the settings as the dialog shows them; the answer appears in ResultLabel().
    void OnTest();
    bool Testing() const { return test_.Running(); }
    QLabel* ResultLabel() const { return result_; }
    QPushButton* TestButton() const { return testButton_; }
    // Stores the settings; a malformed address is refused, other problems are asked about.
    void accept() override;

private:
    enum Field { kServer, kPrefix, kUser, kPasswordFile, kCaFile, kCertFile, kKeyFile, kFieldCount };

    void Retranslate();
    void Browse(Field field);
    void ShowResult(const QString& text, bool good);

    BrokerTest test_{this};
    std::array<QLabel*, kFieldCount> labels_{};
    std::array<QLineEdit*, kFieldCount> edits_{};
    std::array<QPushButton*, kFieldCount> browseButtons_{}; // file fields only
    QLabel* hint_ = nullptr;
    QLabel* result_ = nullptr;
    QPushButton* testButton_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

void RegisterPublishDialog(FrameWindows& windows);

} // namespace terrix
