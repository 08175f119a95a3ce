#include "WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace veltrana {

namespace {

class ShowWatcher : public QObject {
public:
    explicit ShowWatcher(QWidget& window) : QObject(&window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // After the window's own handling of the showing, which may still size it.
        if (event->type() == QEvent::Show && watched == parent()) {
            QPointer<QWidget> window = static_cast<QWidget*>(watched);
            QTimer::singleShot(0, window, [window] {
                if (window)
                    FitOnScreen(*window);
            });
        }
        return false;
    }
};

} // namespace

void KeepOnScreen(QWidget& window) {
    window.installEventFilter(new ShowWatcher(window));
    if (window.isVisible())
        FitOnScreen(window);
}

void FitOnScreen(QWidget& window) {
    QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen || !window.isWindow())
        return;
    const QRect area = screen->availableGeometry();
    // The frame is known only once the window manager has decorated the window.
    const QSize frame = window.frameGeometry().size() - window.size();
    const int width = std::min(window.width(), area.width() - frame.width());
    const int height = std::min(window.height(), area.height() - frame.height());
    if (width != window.width() || height != window.height())
        window.resize(std::max(width, 1), std::max(height, 1));
    const QRect outer = window.frameGeometry();
    const int x =
        std::clamp(outer.x(), area.left(), std::max(area.left(), area.right() + 1 - outer.width()));
    const int y =
        std::clamp(outer.y(), area.top(), std::max(area.top(), area.bottom() + 1 - outer.height()));
    if (x != outer.x() || y != outer.y())
        window.move(x, y);
}

} // namespace veltrana
