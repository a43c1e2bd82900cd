#pragma once
// The document and view of the single-document frame. The document stores nothing: New starts an empty
// one, Open names a file without reading program data from it, Save writes an empty file. The view draws
// nothing but, until a bus has been scanned, a short hint which command scans.

#include <QString>
#include <QWidget>

class QLabel;

namespace terrix {

class CTerrixDoc {
public:
    void OnNewDocument() { path_.clear(); }
    // Opening reads nothing; the document only takes the file's name.
    bool OnOpenDocument(const QString& path);
    // Writes the document (which holds no data) to `path`; false with `error` set when that fails.
    bool OnSaveDocument(const QString& path, QString* error = nullptr);

    QString PathName() const { return path_; }
    // The file name, or empty for a new document.
    QString Title() const;

private:
    QString path_;
};

class CTerrixView : public QWidget {
    Q_OBJECT
public:
    explicit CTerrixView(QWidget* parent = nullptr);

    // The hint shown while no scan has finished in this run: which commands scan, and, when the saved bus
    // is listed (`savedModules` records, none identified yet), that it is.
    void SetScanHintShown(bool shown, uint32_t savedModules = 0);
    bool ScanHintShown() const;
    QString ScanHint() const;

private:
    void Retranslate();
    QLabel* hint_ = nullptr;
    uint32_t savedModules_ = 0;
};

} // namespace terrix
