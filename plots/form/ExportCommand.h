#pragma once

#include <QObject>

#include <string>

namespace veltrana {

class PlotsForm;
class Prompter;

/// File > Export ... of the plot window: the fitted constellation as CSV or JSON, or the data
/// of the plot shown as CSV. The kind follows the filter chosen in the save dialog.
class ExportCommand : public QObject {
    Q_OBJECT

public:
    /// Puts the command into the window's File menu (made when the window has none).
    ExportCommand(PlotsForm& form, Prompter& prompter);

    /// Asks for the file, makes its text and writes it, keeping the old file until the new
    /// one is complete. True when a file was written.
    bool Export();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool refuse(const std::string& why);

    PlotsForm& m_form;
    Prompter& m_prompter;
    bool m_shown = false;
};

} // namespace veltrana
