#pragma once

#include <QWidget>

#include <string>

namespace veltrana {

/// The Demos tab of the main form: the seven example problems as options with their run
/// times and descriptions, and the Run Demo and Cancel buttons.
class DemosPage : public QWidget {
    Q_OBJECT

public:
    explicit DemosPage(QWidget* parent = nullptr);

    /// File name of the example chosen last; the first example until an option is clicked.
    const std::string& selectedDemo() const { return m_selectedDemo; }

signals:
    void runDemoClicked();
    void cancelClicked();

private:
    std::string m_selectedDemo;
};

} // namespace veltrana
