#include "Screenshots.h"

#include <QApplication>
#include <QPixmap>
#include <QTabWidget>
#include <QWidget>

#include <cstdio>

namespace veltrana {

std::optional<QDir> ShotFolder(int argc, char** argv, const char* usage) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s %s\n", argc > 0 ? argv[0] : "shots", usage);
        return std::nullopt;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return std::nullopt;
    }
    return dir;
}

bool SaveShot(QWidget& widget, const QDir& dir, const QString& name) {
    const QString file = dir.filePath(name + QStringLiteral(".png"));
    if (widget.grab().save(file))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    return false;
}

bool ShootTabs(QWidget& window, QTabWidget& tabs, const QDir& dir, const QString& prefix) {
    bool ok = true;
    for (int i = 0; i < tabs.count(); ++i) {
        tabs.setCurrentIndex(i);
        QApplication::processEvents();
        ok = SaveShot(window, dir, QStringLiteral("%1-tab%2").arg(prefix).arg(i)) && ok;
    }
    return ok;
}

} // namespace veltrana
