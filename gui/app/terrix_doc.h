#pragma once
// The document and view of the single-document frame. The document stores nothing: New starts an empty
// one, Open names a file without reading program data from it, Save writes an empty file. The view draws
// nothing.

#include <QString>
#include <QWidget>

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
};

} // namespace terrix
