#pragma once

#include <QWidget>

namespace veltrana {

/// frmIntro: the first form a new user meets. It only offers the three ways on; the shell
/// decides what each one does.
class IntroForm : public QWidget {
    Q_OBJECT

public:
    explicit IntroForm(QWidget* parent = nullptr);

signals:
    void runDemoRequested();
    void createDataRequested();
    void exitRequested();
};

} // namespace veltrana
