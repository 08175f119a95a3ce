#pragma once

#include "MeasuredFile.h"
#include "MeasuredResponse.h"

#include <QDialog>

#include <cstddef>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace veltrana {

class ImportPreviewPlot;

/// File > Import Data ...: the choices for one measured file read already, with a preview of
/// the rows that will come in and a small plot of the magnitude over frequency. The dialog
/// only chooses; the caller imports. OK is offered only while the choices give rows.
class ImportDialog : public QDialog {
    Q_OBJECT

public:
    ImportDialog(const MeasuredFile& file, QWidget* parent = nullptr);

    /// The choices the dialog shows.
    ImportChoices choices() const;
    /// The rows the choices give (0 while they do not fit the file).
    std::size_t rowsToCome() const { return m_rows; }

private:
    void buildTouchstone();
    void buildTable();
    void refresh();

    const MeasuredFile& m_file;
    ImportChoices m_start;
    std::size_t m_rows = 0;

    QComboBox* m_parameter = nullptr;
    QCheckBox* m_delay = nullptr;
    QComboBox* m_freqColumn = nullptr;
    QComboBox* m_unit = nullptr;
    QComboBox* m_youtColumn = nullptr;
    QComboBox* m_yinColumn = nullptr;
    QComboBox* m_weightColumn = nullptr;
    QCheckBox* m_decibels = nullptr;
    QLineEdit* m_from = nullptr;
    QLineEdit* m_to = nullptr;
    QSpinBox* m_maxPoints = nullptr;
    QLabel* m_preview = nullptr;
    ImportPreviewPlot* m_plot = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    QGroupBox* m_group = nullptr;
};

/// The line of the dialog that describes the file: its kind, size and frequency span.
std::string DescribeMeasuredFile(const MeasuredFile& file);

} // namespace veltrana
