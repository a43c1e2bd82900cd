#include "gui/app/terrix_doc.h"

#include <QFileInfo>
#include <QSaveFile>

namespace terrix {

bool CTerrixDoc::OnOpenDocument(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        return false;
    }
    path_ = path;
    return true;
}

bool CTerrixDoc::OnSaveDocument(const QString& path, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.commit()) {
        if (error != nullptr) {
            *error = file.errorString();
        }
        return false;
    }
    path_ = path;
    return true;
}

QString CTerrixDoc::Title() const {
    return path_.isEmpty() ? QString() : QFileInfo(path_).fileName();
}

CTerrixView::CTerrixView(QWidget* parent) : QWidget(parent) {
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

} // namespace terrix
