#pragma once

#include <QDialog>

#include <string>

namespace veltrana {

/// The About box's title: the product name and the build's version text.
std::string AboutTitle();

/// frmAbout: the product and its version, with an OK button that hides the box.
class AboutForm : public QDialog {
    Q_OBJECT

public:
    explicit AboutForm(QWidget* parent = nullptr);
};

} // namespace veltrana
