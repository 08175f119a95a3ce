#pragma once

#include <QTextBrowser>

namespace veltrana {

/// A text browser that reads local pages through the suite's checked open, so that a manual
/// replaced by a pipe or a device cannot hang the window; a page that cannot be read shows
/// why instead.
class ManualBrowser : public QTextBrowser {
public:
    explicit ManualBrowser(QWidget* parent = nullptr) : QTextBrowser(parent) {}

    QVariant loadResource(int type, const QUrl& name) override;
};

} // namespace veltrana
