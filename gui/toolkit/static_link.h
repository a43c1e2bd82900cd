#pragma once
// A text that works as a link: drawn underlined in link blue with a hand cursor, a click opens the text (a
// web or mail address) with the desktop's default handler, and a link once opened turns purple.

#include <QColor>
#include <QLabel>
#include <QUrl>

#include <functional>

namespace terrix {

class CStaticLink : public QLabel {
    Q_OBJECT
public:
    static inline const QColor kUnvisited{0, 0, 255};
    static inline const QColor kVisited{128, 0, 128};

    explicit CStaticLink(const QString& text, QWidget* parent = nullptr);

    QColor LinkColor() const { return color_; }

    // Opens the address; true when the desktop took it.
    bool Open();

    // How links are opened (tests replace it); the default asks the desktop.
    using Opener = std::function<bool(const QUrl&)>;
    static Opener SetOpener(Opener opener);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void ApplyColor();

    QColor color_ = kUnvisited;
};

} // namespace terrix
