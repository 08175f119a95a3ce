#include "ImportDialog.h"

#include "ImportPreviewPlot.h"
#include "NumberText.h"
#include "ProblemCheck.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace veltrana {

namespace {

QString Q(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const char* SeparatorName(TableSeparator separator) {
    switch (separator) {
    case TableSeparator::Tab:
        return "TABs";
    case TableSeparator::Semicolon:
        return "semicolons";
    case TableSeparator::Comma:
        return "commas";
    case TableSeparator::Blanks:
        break;
    }
    return "blanks";
}

template <class W> W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A column combo box: "(none)" first when the column may be left out.
QComboBox* ColumnBox(const TextTable& table, const char* name, bool optional, int chosen) {
    auto* box = Named(new QComboBox, name);
    if (optional)
        box->addItem(QStringLiteral("(none)"), -1);
    for (int c = 0; c < table.columns; ++c)
        box->addItem(QStringLiteral("%1: %2").arg(c + 1).arg(Q(ColumnName(table, c))), c);
    box->setCurrentIndex(std::max(box->findData(chosen), 0));
    return box;
}

int ColumnOf(const QComboBox* box) {
    return box->currentData().toInt();
}

} // namespace

std::string DescribeMeasuredFile(const MeasuredFile& file) {
    if (file.kind == MeasuredFile::Kind::Touchstone) {
        const TouchstoneData& t = file.touchstone;
        const std::size_t n = t.freqHz.size();
        return file.name + ": Touchstone version " + (t.version == 2 ? "2.0" : "1") + ", " +
               std::to_string(t.ports) + (t.ports == 1 ? " port, " : " ports, ") +
               std::string(1, t.parameter) + " parameters, " + std::to_string(n) +
               (n == 1 ? " frequency" : " frequencies") + " from " +
               GeneralNumber(t.freqHz.front() / 1e6) + " to " +
               GeneralNumber(t.freqHz.back() / 1e6) + " MHz";
    }
    const TextTable& t = file.table;
    return file.name + ": a table of " + std::to_string(t.rows.size()) + " rows and " +
           std::to_string(t.columns) + " columns separated by " + SeparatorName(t.separator) +
           (t.header.empty() ? ", without a header line" : ", with a header line");
}

ImportDialog::ImportDialog(const MeasuredFile& file, QWidget* parent)
    : QDialog(parent), m_file(file) {
    setObjectName(QStringLiteral("frmImport"));
    setWindowTitle(QStringLiteral("Import Data"));
    auto* layout = new QVBoxLayout(this);
    auto* about = Named(new QLabel(Q(DescribeMeasuredFile(file))), "lblFile");
    about->setWordWrap(true);
    layout->addWidget(about);

    if (file.kind == MeasuredFile::Kind::Touchstone)
        buildTouchstone();
    else
        buildTable();
    layout->addWidget(m_group);

    auto* range = Named(new QGroupBox(QStringLiteral("Range")), "fraRange");
    auto* grid = new QGridLayout(range);
    m_from = Named(new QLineEdit, "txtFrom");
    m_to = Named(new QLineEdit, "txtTo");
    m_from->setPlaceholderText(QStringLiteral("lowest"));
    m_to->setPlaceholderText(QStringLiteral("highest"));
    m_maxPoints = Named(new QSpinBox, "spnMaxPoints");
    m_maxPoints->setRange(2, kMaxTablePoints);
    m_maxPoints->setValue(kMaxTablePoints);
    auto label = [](const char* text, QWidget* buddy) {
        auto* l = new QLabel(QString::fromUtf8(text));
        l->setBuddy(buddy);
        return l;
    };
    grid->addWidget(label("&From", m_from), 0, 0);
    grid->addWidget(m_from, 0, 1);
    grid->addWidget(label("MHz   &to", m_to), 0, 2);
    grid->addWidget(m_to, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("MHz")), 0, 4);
    grid->addWidget(
        label("&Largest number of points (thinned evenly, keeping both ends)", m_maxPoints), 1, 0,
        1, 3);
    grid->addWidget(m_maxPoints, 1, 3);
    for (int column : {1, 3})
        grid->setColumnStretch(column, 1);
    layout->addWidget(range);

    m_preview = Named(new QLabel, "lblPreview");
    m_preview->setWordWrap(true);
    m_preview->setMinimumHeight(m_preview->fontMetrics().lineSpacing() * 3);
    m_preview->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(m_preview);
    m_plot = Named(new ImportPreviewPlot, "picPreview");
    m_plot->setMinimumHeight(180);
    layout->addWidget(m_plot, 1);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    m_buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdOK"));
    m_buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Import"));
    m_buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    for (QComboBox* box : findChildren<QComboBox*>())
        connect(box, &QComboBox::currentIndexChanged, this, &ImportDialog::refresh);
    for (QCheckBox* box : findChildren<QCheckBox*>())
        connect(box, &QCheckBox::toggled, this, &ImportDialog::refresh);
    for (QLineEdit* edit : {m_from, m_to})
        connect(edit, &QLineEdit::textChanged, this, &ImportDialog::refresh);
    connect(m_maxPoints, &QSpinBox::valueChanged, this, &ImportDialog::refresh);
    resize(600, 620);
    refresh();
}

void ImportDialog::buildTouchstone() {
    const TouchstoneData& t = m_file.touchstone;
    m_group = Named(new QGroupBox(QStringLiteral("Touchstone data")), "fraTouchstone");
    auto* form = new QFormLayout(m_group);
    m_parameter = Named(new QComboBox, "cboParameter");
    for (int row = 0; row < t.ports; ++row)
        for (int column = 0; column < t.ports; ++column)
            m_parameter->addItem(Q(ParameterName(t.parameter, t.ports, row, column)));
    m_parameter->setCurrentText(Q(DefaultParameter(t)));
    form->addRow(QStringLiteral("&Parameter (Yout = its magnitude, Yin = 1)"), m_parameter);
    m_delay = Named(new QCheckBox(QStringLiteral("Also fill the &delay table with its group "
                                                 "delay, from the phase (ns)")),
                    "chkDelay");
    form->addRow(m_delay);
}

void ImportDialog::buildTable() {
    const TextTable& t = m_file.table;
    m_start = SuggestedTableChoices(t);
    const TableColumns& c = m_start.columns;
    m_group = Named(new QGroupBox(QStringLiteral("Columns of the table")), "fraTable");
    auto* form = new QFormLayout(m_group);
    m_freqColumn = ColumnBox(t, "cboFreqColumn", false, c.freq);
    m_unit = Named(new QComboBox, "cboUnit");
    for (const char* unit : {"Hz", "kHz", "MHz", "GHz"})
        m_unit->addItem(QString::fromLatin1(unit));
    m_unit->setCurrentIndex(static_cast<int>(m_start.unit));
    auto* freq = new QHBoxLayout;
    freq->addWidget(m_freqColumn, 1);
    freq->addWidget(m_unit);
    auto* freqLabel = new QLabel(QStringLiteral("&Frequency"));
    freqLabel->setBuddy(m_freqColumn);
    form->addRow(freqLabel, freq);
    m_youtColumn = ColumnBox(t, "cboYoutColumn", false, c.yout);
    form->addRow(QStringLiteral("&Yout"), m_youtColumn);
    m_yinColumn = ColumnBox(t, "cboYinColumn", true, -1);
    form->addRow(QStringLiteral("Y&in (none: 1)"), m_yinColumn);
    m_weightColumn = ColumnBox(t, "cboWeightColumn", true, -1);
    form->addRow(QStringLiteral("&Weight"), m_weightColumn);
    m_decibels = Named(new QCheckBox(QStringLiteral("Yout and Yin in d&B (20 log10 of the "
                                                    "magnitude)")),
                       "chkDecibels");
    m_decibels->setChecked(m_start.decibels);
    form->addRow(m_decibels);
}

ImportChoices ImportDialog::choices() const {
    ImportChoices c;
    if (m_parameter) {
        c.parameter = m_parameter->currentText().toStdString();
        c.delay = m_delay->isChecked();
    } else {
        c.columns = {ColumnOf(m_freqColumn), ColumnOf(m_youtColumn), ColumnOf(m_yinColumn),
                     ColumnOf(m_weightColumn)};
        c.unit = static_cast<FrequencyUnit>(m_unit->currentIndex());
        c.decibels = m_decibels->isChecked();
    }
    c.range.fromMHz = ParseNumber(m_from->text().trimmed().toStdString());
    c.range.toMHz = ParseNumber(m_to->text().trimmed().toStdString());
    c.range.maxPoints = m_maxPoints->value();
    return c;
}

void ImportDialog::refresh() {
    const ImportChoices c = choices();
    m_rows = 0;
    std::string problem;
    for (auto [edit, bound, name] :
         {std::tuple{m_from, c.range.fromMHz, "From"}, std::tuple{m_to, c.range.toMHz, "To"}})
        if (!bound && !edit->text().trimmed().isEmpty())
            problem = std::string(name) + ": '" + edit->text().trimmed().toStdString() +
                      "' is not a number of MHz.";
    if (problem.empty() && c.range.fromMHz && c.range.toMHz && *c.range.fromMHz > *c.range.toMHz)
        problem = "From lies above To.";

    MeasuredResponse response;
    ImportError error;
    std::vector<std::size_t> selected;
    if (problem.empty() && !MeasuredResponseOf(m_file, c, response, error))
        problem = error.text();
    if (problem.empty()) {
        selected = SelectPoints(response.freqMHz, c.range);
        if (selected.empty())
            problem = "No point above 0 MHz lies in the range chosen.";
    }
    m_plot->setCurve(
        {response.freqMHz, response.yout, selected, c.range.fromMHz, c.range.toMHz, response.what});
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(problem.empty());
    if (!problem.empty()) {
        m_preview->setStyleSheet(QStringLiteral("color: #b00000;"));
        m_preview->setText(Q(problem));
        return;
    }
    m_rows = selected.size();
    PointRange whole = c.range;
    whole.maxPoints = 0;
    const std::size_t inRange = SelectPoints(response.freqMHz, whole).size();
    std::string text = std::to_string(m_rows) + (m_rows == 1 ? " row" : " rows") + " of " +
                       response.what + " will replace the pass-band table";
    if (inRange > m_rows)
        text += ", thinned evenly from " + std::to_string(inRange);
    text += ".";
    const bool zero = !response.freqMHz.empty() && response.freqMHz.front() <= 0 &&
                      (!c.range.fromMHz || *c.range.fromMHz <= 0);
    if (zero)
        text += " The point at 0 Hz is left out.";
    if (!response.delayNs.empty())
        text += " The delay table gets as many rows, and question 1 (equalise the group delay) "
                "is switched on.";
    if (!response.weight.empty())
        text += " The weights switch question 3 on.";
    m_preview->setStyleSheet(QString());
    m_preview->setText(Q(text));
}

} // namespace veltrana
