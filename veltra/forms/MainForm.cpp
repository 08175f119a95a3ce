#include "MainForm.h"

#include "DemosPage.h"
#include "DesignProblem.h"
#include "FormTexts.h"
#include "GridClipboardKeys.h"
#include "Prompter.h"
#include "ShellState.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cmath>

namespace veltrana {

namespace {

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Labels show the designer's "&&" as one "&" and have no access keys.
QString LabelText(std::string_view caption) {
    return Q(caption).replace(QLatin1String("&&"), QLatin1String("&"));
}

// Where a mouse press counts as one on the grid: its cells, its headers and its scroll bars.
// The headers and bars take no focus, so without them an open editor kept unstored text.
std::array<QWidget*, 5> ClickableParts(QTableWidget* table) {
    return {table->viewport(), table->horizontalHeader()->viewport(),
            table->verticalHeader()->viewport(), table->verticalScrollBar(),
            table->horizontalScrollBar()};
}

// The row numbers' column is headed "#" in the grids' formats; Qt's corner button has no text
// of its own, so a label inside it carries the heading.
void ShowCornerHeading(QTableWidget* table) {
    auto* corner = table->findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
    if (!corner)
        return;
    auto* heading = new QLabel(QStringLiteral("#"), corner);
    heading->setAlignment(Qt::AlignCenter);
    heading->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* layout = new QHBoxLayout(corner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(heading);
}

QString Indexed(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

// Design geometry in pixels (the form was drawn at 15 twips per pixel).
constexpr int kFormWidth = 800;
constexpr int kFormHeight = 560;
constexpr int kMargin = 12;
constexpr int kLineHeight = 24;
constexpr int kPassGridWidth = 461;  // 6910 twips
constexpr int kDelayGridWidth = 354; // 5315 twips
constexpr int kRowHeaderWidth = 48;  // room for five-digit row numbers

// Question rows: label on the left, answer on the right.
constexpr int kQuestionWidth = 530;
constexpr int kAnswerLeft = 560;
constexpr int kAnswerWidth = 200;

} // namespace

MainForm::MainForm(DesignProblem& problem, ShellState& state, Prompter& prompter, QWidget* parent)
    : QMainWindow(parent), m_problem(problem), m_state(state), m_prompter(prompter),
      m_grids(*this, problem, state, prompter), m_binding(problem, state, *this, m_grids) {
    setObjectName(QStringLiteral("frmMain"));
    m_problem.CountLabels[0] = kFreqCountLabel;
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    setCentralWidget(central);
    // The controls are placed in this frame; the resizer scales them from it.
    central->resize(kFormWidth, kFormHeight);

    m_tabs = new QTabWidget(central);
    m_tabs->setObjectName(QStringLiteral("ODE_Tabs"));
    m_tabs->setGeometry(6, 6, kFormWidth - 12, kFormHeight - 12);
    for (int i = 0; i < forms::kTabCount; ++i) {
        m_pages[i] = i == forms::kDemosTab ? (m_demos = new DemosPage) : new QWidget;
        m_pages[i]->setObjectName(Indexed("tabPage", i));
        m_tabs->addTab(m_pages[i], Q(forms::kTabCaptions[i]));
    }
    buildStartTab();
    buildPolesTab();
    buildMiscTab();
    buildPassTab();
    buildDelayTab();
    buildSolverTab();
    buildRunTab();

    m_tabs->setCurrentIndex(0);
    m_tabs->setTabEnabled(forms::kDemosTab, false);
    m_shownTab = 0;

    for (Grid grid : {Grid::PassData, Grid::DelayData}) {
        setRowCount(grid, 3);
        setColumnCount(grid, grid == Grid::PassData ? 4 : 3);
        m_editor[index(grid)]->hide();
        m_editor[index(grid)]->setFont(m_table[index(grid)]->font());
        m_grids.FormatGrid(grid);
    }
    m_grids.setCurrentGrid(Grid::PassData);
    SizeGridColumns();

    m_binding.ShowStartValues();
    m_binding.RefreshEnabling();
    m_binding.EnableSolverFields(true);
    connectControls();
    new GridClipboardKeys(this, *this, m_grids, m_state, m_prompter);
    m_state.dataChanged = false;

    for (QLineEdit* editor : m_editor)
        FormResizer::SetPlacedByOwner(*editor);
    m_resizer.StoreControlProportions(central);
    central->installEventFilter(this);
    resize(kFormWidth, kFormHeight);
}

void MainForm::showEvent(QShowEvent* event) {
    // The menu bar comes after the form is built: the first showing makes room for it, so
    // that the controls get their designed inner area, unless someone has sized the window.
    if (!m_shownOnce && !event->spontaneous()) {
        m_shownOnce = true;
        if (size() == QSize(kFormWidth, kFormHeight) && menuWidget())
            resize(kFormWidth, kFormHeight + menuWidget()->sizeHint().height());
    }
    QMainWindow::showEvent(event);
}

void MainForm::ResizeControls() {
    m_resizer.ResizeControls();
    for (Grid grid : {Grid::PassData, Grid::DelayData}) {
        fitGridColumns(grid, m_table[index(grid)]->width());
        if (editorVisible(grid))
            placeEditor(grid);
    }
}

MainForm::~MainForm() = default;

// --- building -----------------------------------------------------------------------------

QLabel* MainForm::addLabel(QWidget* page, const QString& name, std::string_view caption,
                           QRect geometry) {
    auto* label = new QLabel(LabelText(caption), page);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(geometry);
    return label;
}

QLineEdit* MainForm::addField(QWidget* page, const QString& name, QRect geometry) {
    auto* field = new QLineEdit(page);
    field->setObjectName(name);
    field->setGeometry(geometry);
    m_fields.emplace(name.toStdString(), field);
    return field;
}

QCheckBox* MainForm::addCheck(QWidget* page, const QString& name, QRect geometry) {
    auto* box = new QCheckBox(Q(forms::kCheckYes), page);
    box->setObjectName(name);
    box->setGeometry(geometry);
    m_checks.emplace(name.toStdString(), box);
    return box;
}

QPushButton* MainForm::addButton(QWidget* page, const QString& name, std::string_view caption,
                                 QRect geometry) {
    auto* button = new QPushButton(Q(caption), page);
    button->setObjectName(name);
    button->setGeometry(geometry);
    return button;
}

void MainForm::buildStartTab() {
    QWidget* page = m_pages[0];
    addLabel(page, QStringLiteral("lblInstructions1"), forms::kInstructions1,
             {kMargin, 10, 760, 36});
    QFont bold = font();
    bold.setBold(true);
    addLabel(page, QStringLiteral("lblHeader1b"), forms::kHeaderQuestions, {kMargin, 54, 200, 20})
        ->setFont(bold);
    addLabel(page, QStringLiteral("lblHeader1a"), forms::kHeaderResponses,
             {kAnswerLeft, 54, kAnswerWidth, 20})
        ->setFont(bold);

    // Label number, its control, and the row height its caption needs when wrapped.
    struct Row {
        int label;
        const char* control;
        int height;
    };
    constexpr Row rows[] = {{1, "chkEqualDelay", 40},  {2, "tmin", 52},
                            {3, "DelRipplePower", 44}, {4, "iPower", 44},
                            {6, "magnVSripple", 44},   {7, "freqNorm", 52}};
    int y = 82;
    for (const Row& row : rows) {
        m_questions[row.label - 1] = addLabel(page, Indexed("lblQuestion", row.label),
                                              forms::kQuestionCaptions[row.label - 1],
                                              {kMargin, y + 3, kQuestionWidth, row.height - 4});
        const QRect answer{kAnswerLeft, y, kAnswerWidth, kLineHeight};
        if (QString::fromLatin1(row.control).startsWith(QLatin1String("chk")))
            addCheck(page, QString::fromLatin1(row.control), answer);
        else
            addField(page, QString::fromLatin1(row.control), answer);
        y += row.height;
    }
}

void MainForm::buildPolesTab() {
    QWidget* page = m_pages[2];
    addLabel(page, QStringLiteral("lblNote2"), forms::kNormalizeNote, {kMargin, 10, 760, 20});
    struct Row {
        int label;
        const char* control; // empty: the three zero counts
    };
    constexpr Row rows[] = {{8, "nPoles"},      {9, "sigmaPoles"},    {10, "poleReal"},
                            {11, "poleImag"},   {12, "chkSigmaZero"}, {13, "sigmaZero"},
                            {14, "chkDoublet"}, {15, "chkLossless"},  {16, ""},
                            {17, "Yzero"},      {18, "Zreal"},        {19, "Zimag"}};
    int y = 40;
    for (const Row& row : rows) {
        m_questions[row.label - 1] =
            addLabel(page, Indexed("lblQuestion", row.label),
                     forms::kQuestionCaptions[row.label - 1], {kMargin, y + 3, kQuestionWidth, 32});
        const QString control = QString::fromLatin1(row.control);
        if (control.isEmpty()) {
            const std::array<std::pair<const char*, std::string_view>, 3> counts{
                {{"nYzeros", forms::kCountS},
                 {"nZpairs", forms::kCountP},
                 {"nZquads", forms::kCountQ}}};
            int x = kAnswerLeft;
            for (const auto& [name, caption] : counts) {
                addLabel(page, QStringLiteral("lbl") + QLatin1String(name), caption,
                         {x, y + 3, 20, 20});
                addField(page, QString::fromLatin1(name), {x + 20, y, 44, kLineHeight});
                x += 72;
            }
        } else if (control.startsWith(QLatin1String("chk"))) {
            addCheck(page, control, {kAnswerLeft, y, kAnswerWidth, kLineHeight});
        } else {
            addField(page, control, {kAnswerLeft, y, kAnswerWidth, kLineHeight});
        }
        y += 38;
    }
}

void MainForm::buildMiscTab() {
    QWidget* page = m_pages[3];
    addLabel(page, QStringLiteral("lblNote3"), forms::kNormalizeNote, {kMargin, 10, 760, 20});
    int y = 44;
    for (auto [label, control] : {std::pair{20, "Gain"}, {21, "LowestX_Y"}, {22, "maxX_Y"}}) {
        m_questions[label - 1] =
            addLabel(page, Indexed("lblQuestion", label), forms::kQuestionCaptions[label - 1],
                     {kMargin, y + 3, kQuestionWidth, 36});
        addField(page, QString::fromLatin1(control), {kAnswerLeft, y, kAnswerWidth, kLineHeight});
        y += 44;
    }
    addLabel(page, QStringLiteral("lblKeepNotes"), forms::kKeepNotes, {kMargin, y + 16, 400, 20});
    addField(page, QStringLiteral("Note1"), {kMargin, y + 42, 748, kLineHeight});
    addField(page, QStringLiteral("Note2"), {kMargin, y + 74, 748, kLineHeight});
}

void MainForm::buildPassTab() {
    QWidget* page = m_pages[forms::kPassTab];
    addLabel(page, QStringLiteral("lblArrowMovement1"), forms::kArrowMovement,
             {kMargin, 10, 760, 36});
    m_questions[4] = addLabel(page, Indexed("lblQuestion", 5), forms::kQuestionCaptions[4],
                              {kMargin, 55, kQuestionWidth, 36});
    addCheck(page, QStringLiteral("chkUseWeights"), {kAnswerLeft, 52, 100, kLineHeight});

    auto* grid = new QTableWidget(page);
    grid->setObjectName(QStringLiteral("PassData"));
    grid->setGeometry(kMargin, 100, kPassGridWidth, 400);
    m_table[0] = grid;
    addButton(page, QStringLiteral("cmdClearPassData"), forms::kClearPassData,
              {kMargin + kPassGridWidth + 20, 100, 140, 30});
    m_editor[0] = new QLineEdit(page);
    m_editor[0]->setObjectName(QStringLiteral("txtPassCellEditor"));
}

void MainForm::buildDelayTab() {
    QWidget* page = m_pages[forms::kDelayTab];
    auto* grid = new QTableWidget(page);
    grid->setObjectName(QStringLiteral("DelayData"));
    grid->setGeometry(kMargin, 12, kDelayGridWidth, 488);
    m_table[1] = grid;
    addButton(page, QStringLiteral("cmdClearDelayData"), forms::kClearDelayData,
              {kMargin + kDelayGridWidth + 20, 12, 140, 30});
    m_editor[1] = new QLineEdit(page);
    m_editor[1]->setObjectName(QStringLiteral("txtDelayCellEditor"));
}

void MainForm::buildSolverTab() {
    QWidget* page = m_pages[6];
    // Narrow enough that the runs of blanks in captions 1, 7 and 8 break their lines.
    constexpr int kCaptionWidth = 405;
    constexpr int kSettingLeft = 440;
    constexpr int kDefaultLeft = 600;
    addLabel(page, QStringLiteral("lblInstructions4"), forms::kInstructions4,
             {kMargin, 10, 760, 20});
    QFont bold = font();
    bold.setBold(true);
    addLabel(page, QStringLiteral("lblHeader4b"), forms::kHeaderControl, {kMargin, 36, 300, 20})
        ->setFont(bold);
    addLabel(page, QStringLiteral("lblHeader4a"), forms::kHeaderDefaults,
             {kDefaultLeft, 36, 160, 20})
        ->setFont(bold);
    int y = 62;
    for (int i = 0; i < forms::kSolverCount; ++i) {
        const int height = (i == 0 || i == 6 || i == 7) ? 52 : 40;
        addLabel(page, Indexed("lblSolvQuestion", i + 1),
                 forms::kSolverFields[i] == "SetRho" ? forms::kSetRhoLabel
                                                     : forms::kSolverCaptions[i],
                 {kMargin, y + 3, kCaptionWidth, height - 4});
        addField(page, QString::fromLatin1(forms::kSolverFields[i].data()),
                 {kSettingLeft, y, 130, kLineHeight});
        addLabel(page, Indexed("lblDefAnswer", i + 1), forms::kSolverShownDefaults[i],
                 {kDefaultLeft, y + 3, 160, 20});
        y += height;
    }
    addButton(page, QStringLiteral("cmdEditSolverData"), forms::kEditDefaults,
              {kMargin, y + 6, 130, 30});
    addButton(page, QStringLiteral("cmdDefaultSolverData"), forms::kUseDefaults,
              {kMargin + 150, y + 6, 130, 30});
}

void MainForm::buildRunTab() {
    QWidget* page = m_pages[7];
    addLabel(page, QStringLiteral("lblSubmit"), forms::kSubmitNote, {kMargin, 16, 600, 40});
    addButton(page, QStringLiteral("cmdSubmit"), forms::kSubmit, {kMargin, 72, 180, 32});
    addButton(page, QStringLiteral("cmdPlots"), forms::kPlots, {kMargin, 116, 180, 32});
}

void MainForm::SizeGridColumns() {
    for (Grid grid : {Grid::PassData, Grid::DelayData}) {
        QTableWidget* table = m_table[index(grid)];
        const int designWidth = grid == Grid::PassData ? kPassGridWidth : kDelayGridWidth;
        table->resize(designWidth, table->height());
        fitGridColumns(grid, designWidth);
    }
}

// The columns share the grid's width as at start-up, so a grid resized with the window shows
// its columns whole, without a horizontal scroll bar.
void MainForm::fitGridColumns(Grid grid, int gridWidth) {
    QTableWidget* table = m_table[index(grid)];
    // Width available to the data columns: the scroll bar is always there.
    const int a = gridWidth - 2 * table->frameWidth() - kRowHeaderWidth -
                  table->style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 1;
    if (grid == Grid::PassData) {
        const int w = static_cast<int>(std::lround(a / 4.0));
        table->setColumnWidth(0, w);
        table->setColumnWidth(1, w);
        table->setColumnWidth(2, a - 3 * w);
        if (table->columnCount() > 3)
            table->setColumnWidth(3, w);
    } else {
        const int first = static_cast<int>(std::lround(a / 2.0));
        table->setColumnWidth(0, first);
        table->setColumnWidth(1, a - first - 2);
    }
}

void MainForm::connectControls() {
    for (QTableWidget* table : m_table) {
        table->setSelectionMode(QAbstractItemView::SingleSelection);
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        table->verticalHeader()->setFixedWidth(kRowHeaderWidth);
        table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        table->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
        table->horizontalHeader()->setHighlightSections(false);
        ShowCornerHeading(table);
        table->installEventFilter(this);
        for (QWidget* part : ClickableParts(table))
            part->installEventFilter(this);
    }
    for (Grid grid : {Grid::PassData, Grid::DelayData}) {
        QLineEdit* editor = m_editor[index(grid)];
        editor->setFrame(false);
        editor->installEventFilter(this);
        QTableWidget* table = m_table[index(grid)];
        connect(table, &QTableWidget::cellClicked, this, [this, grid](int row, int column) {
            m_grids.GridClicked(grid, row + 1, column + 1);
        });
        // A scrolled grid carries the open editor along with its cell.
        auto follow = [this, grid] {
            if (editorVisible(grid))
                placeEditor(grid);
        };
        connect(table->verticalScrollBar(), &QScrollBar::valueChanged, this, follow);
        connect(table->horizontalScrollBar(), &QScrollBar::valueChanged, this, follow);
    }
    for (auto& [name, field] : m_fields) {
        field->installEventFilter(this);
        connect(field, &QLineEdit::textChanged, this, [this] { m_binding.FieldChanged(); });
    }
    for (auto& [name, box] : m_checks) {
        box->installEventFilter(this);
        if (name == "chkUseWeights")
            connect(box, &QCheckBox::clicked, this, [this] { m_binding.UseWeightsClicked(); });
        else
            connect(box, &QCheckBox::clicked, this, [this] { m_binding.FieldChanged(); });
    }
    auto button = [this](const char* name) { return findChild<QPushButton*>(QLatin1String(name)); };
    connect(button("cmdClearPassData"), &QPushButton::clicked, this,
            [this] { m_grids.ClearButtonClicked(Grid::PassData); });
    connect(button("cmdClearDelayData"), &QPushButton::clicked, this,
            [this] { m_grids.ClearButtonClicked(Grid::DelayData); });
    connect(button("cmdEditSolverData"), &QPushButton::clicked, this,
            [this] { m_binding.EditDefaults(); });
    connect(button("cmdDefaultSolverData"), &QPushButton::clicked, this,
            [this] { m_binding.UseDefaults(); });
    connect(button("cmdSubmit"), &QPushButton::clicked, this, &MainForm::submitRequested);
    connect(button("cmdPlots"), &QPushButton::clicked, this, &MainForm::plotsRequested);
    // The tab control takes the focus on its tab bar.
    m_tabs->tabBar()->installEventFilter(this);
    // ActivateTabControls is deliberately not built: on a tab change it would enable every
    // control of the shown page and disable the others. Qt already keeps the controls of
    // hidden pages out of reach, and enabling the shown page's controls wholesale would
    // switch on the fields that the entry rules keep disabled (tmin without chkEqualDelay,
    // sigmaPoles without a sigma-axis pole). What remains of it is the focus on the page's
    // first control.
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int tab) {
        const int previous = m_shownTab;
        m_shownTab = tab;
        if (!m_grids.TabChanged(previous, tab)) {
            // The grid's editor holds a text that is not a number: back to it.
            m_tabs->setCurrentIndex(previous);
            return;
        }
        if (tab != forms::kPassTab && tab != forms::kDelayTab)
            focusFirstControl(tab);
    });
}

void MainForm::SetAllTabsEnabled(bool enabled) {
    for (int i = 0; i < m_tabs->count(); ++i)
        m_tabs->setTabEnabled(i, enabled);
}

void MainForm::focusFirstControl(int tab) {
    // Children are created in tab order.
    for (QObject* child : m_pages[tab]->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && !widget->isHidden() && widget->isEnabled() &&
            (widget->focusPolicy() & Qt::TabFocus)) {
            widget->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

// --- events -------------------------------------------------------------------------------

bool MainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == centralWidget() && event->type() == QEvent::Resize) {
        ResizeControls();
        return false;
    }
    if (watched == m_tabs->tabBar() && event->type() == QEvent::FocusIn &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::ActiveWindowFocusReason &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        // Back on the tab control without a tab change (after Esc, say): the shown grid's
        // editor opens again.
        m_grids.TabControlFocused(m_tabs->currentIndex());
        return false;
    }
    for (Grid grid : {Grid::PassData, Grid::DelayData}) {
        const std::size_t i = index(grid);
        if (watched == m_editor[i]) {
            if (event->type() == QEvent::KeyPress) {
                const auto* key = static_cast<QKeyEvent*>(event);
                const bool shift = key->modifiers() & Qt::ShiftModifier;
                switch (key->key()) {
                case Qt::Key_Up:
                    m_grids.EditorKeyDown(grid, EditorKey::Up);
                    return true;
                case Qt::Key_Down:
                    m_grids.EditorKeyDown(grid, EditorKey::Down);
                    return true;
                case Qt::Key_Backtab:
                    m_grids.EditorKeyDown(grid, EditorKey::Previous);
                    return true;
                case Qt::Key_Tab:
                case Qt::Key_Return:
                case Qt::Key_Enter:
                    m_grids.EditorKeyDown(grid, shift ? EditorKey::Previous : EditorKey::Next);
                    return true;
                case Qt::Key_Escape:
                    m_grids.EditorKeyDown(grid, EditorKey::Escape);
                    return true;
                default:
                    return false;
                }
            }
            // A click back into an open editor counts as reaching it; the focus given by
            // ShowCellEditor has already been accounted for there.
            if (event->type() == QEvent::FocusIn &&
                static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason)
                m_grids.EditorFocused(grid);
            return false;
        }
        if (watched == m_table[i] && event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const QString typed = key->text();
            if (!typed.isEmpty() && typed.at(0).unicode() >= 32 && typed.at(0).unicode() != 127 &&
                !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
                m_grids.CellCharacterTyped(grid, typed.toStdString());
                return true;
            }
            return false;
        }
        if (event->type() == QEvent::MouseButtonPress) {
            const auto parts = ClickableParts(m_table[i]);
            if (std::find(parts.begin(), parts.end(), watched) != parts.end())
                return !m_grids.GridMouseDown(grid); // a refused text keeps the editor put
        }
    }
    if (event->type() == QEvent::FocusOut || event->type() == QEvent::FocusIn) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget)
            return false;
        const std::string name = widget->objectName().toStdString();
        if (event->type() == QEvent::FocusOut) {
            // Popups and window switches do not leave the field.
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                m_binding.FieldLeft(name);
        } else if (const auto reason = static_cast<QFocusEvent*>(event)->reason();
                   reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
                   ProblemBinding::SelectsAllOnFocus(name)) {
            // Only on reaching the field: coming back from a menu or another window must not
            // select the text that the next key would then replace.
            if (auto* field = qobject_cast<QLineEdit*>(widget)) {
                // After the click that gave the focus has placed the caret.
                QTimer::singleShot(0, field, [field] { field->setSelection(0, 9999); });
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- FormView -----------------------------------------------------------------------------

std::string MainForm::text(std::string_view field) const {
    return m_fields.find(field)->second->text().toStdString();
}

void MainForm::setText(std::string_view field, const std::string& text) {
    m_fields.find(field)->second->setText(QString::fromStdString(text));
}

bool MainForm::isChecked(std::string_view box) const {
    return m_checks.find(box)->second->isChecked();
}

void MainForm::setChecked(std::string_view box, bool checked) {
    m_checks.find(box)->second->setChecked(checked);
}

void MainForm::setEnabled(std::string_view control, bool enabled) {
    if (auto field = m_fields.find(control); field != m_fields.end())
        field->second->setEnabled(enabled);
    else if (auto box = m_checks.find(control); box != m_checks.end())
        box->second->setEnabled(enabled);
}

int MainForm::rowCount(Grid grid) const {
    return m_table[index(grid)]->rowCount() + 1;
}

void MainForm::setRowCount(Grid grid, int rows) {
    m_table[index(grid)]->setRowCount(std::max(rows - 1, 0));
}

int MainForm::columnCount(Grid grid) const {
    return m_table[index(grid)]->columnCount() + 1;
}

void MainForm::setColumnCount(Grid grid, int columns) {
    QTableWidget* table = m_table[index(grid)];
    const int before = table->columnCount();
    table->setColumnCount(std::max(columns - 1, 0));
    // A column shown again gets the width the start-up sizing gives it.
    for (int c = before; c < table->columnCount(); ++c)
        table->setColumnWidth(c, table->columnWidth(0));
}

std::string MainForm::cellText(Grid grid, int row, int column) const {
    const QTableWidgetItem* item = m_table[index(grid)]->item(row - 1, column - 1);
    return item ? item->text().toStdString() : std::string();
}

void MainForm::setCellText(Grid grid, int row, int column, const std::string& text) {
    QTableWidget* table = m_table[index(grid)];
    if (QTableWidgetItem* item = table->item(row - 1, column - 1))
        item->setText(QString::fromStdString(text));
    else if (!text.empty()) {
        auto* item = new QTableWidgetItem(QString::fromStdString(text));
        item->setTextAlignment(cellAlignment(grid, column));
        table->setItem(row - 1, column - 1, item);
    }
}

Qt::Alignment MainForm::cellAlignment(Grid grid, int column) const {
    const auto& centred = m_centred[index(grid)];
    const bool centre = column >= 1 && column <= static_cast<int>(centred.size()) &&
                        centred[static_cast<std::size_t>(column - 1)];
    return (centre ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter;
}

void MainForm::setColumnsCentred(Grid grid, const std::vector<bool>& centred) {
    if (m_centred[index(grid)] == centred)
        return;
    m_centred[index(grid)] = centred;
    QTableWidget* table = m_table[index(grid)];
    for (int r = 0; r < table->rowCount(); ++r) {
        for (int c = 0; c < table->columnCount(); ++c) {
            if (QTableWidgetItem* item = table->item(r, c))
                item->setTextAlignment(cellAlignment(grid, c + 1));
        }
    }
}

void MainForm::clearCells(Grid grid) {
    m_table[index(grid)]->clearContents();
}

void MainForm::setColumnHeaders(Grid grid, const std::vector<std::string>& headers) {
    QStringList labels;
    for (const auto& h : headers)
        labels << QString::fromStdString(h);
    m_table[index(grid)]->setHorizontalHeaderLabels(labels);
}

int MainForm::currentRow(Grid grid) const {
    return m_table[index(grid)]->currentRow() + 1;
}

int MainForm::currentColumn(Grid grid) const {
    return m_table[index(grid)]->currentColumn() + 1;
}

void MainForm::setCurrentCell(Grid grid, int row, int column) {
    m_table[index(grid)]->setCurrentCell(row - 1, column - 1);
}

void MainForm::beginBulkUpdate(Grid grid) {
    m_table[index(grid)]->setUpdatesEnabled(false);
    m_table[index(grid)]->blockSignals(true);
}

void MainForm::endBulkUpdate(Grid grid) {
    m_table[index(grid)]->blockSignals(false);
    m_table[index(grid)]->setUpdatesEnabled(true);
}

int MainForm::shownTab() const {
    return m_tabs->currentIndex();
}

bool MainForm::editorVisible(Grid grid) const {
    return !m_editor[index(grid)]->isHidden();
}

std::string MainForm::editorText(Grid grid) const {
    return m_editor[index(grid)]->text().toStdString();
}

void MainForm::setEditorText(Grid grid, const std::string& text) {
    m_editor[index(grid)]->setText(QString::fromStdString(text));
}

void MainForm::setEditorSelection(Grid grid, int start, int length) {
    m_editor[index(grid)]->setSelection(start, length);
}

void MainForm::placeEditor(Grid grid) {
    QTableWidget* table = m_table[index(grid)];
    const GridCell cell = m_grids.editCell(grid);
    QRect rect = table->visualRect(table->model()->index(cell.row - 1, cell.column - 1));
    rect.moveTopLeft(table->viewport()->mapTo(table->parentWidget(), rect.topLeft()));
    m_editor[index(grid)]->setGeometry(rect.x(), rect.y(), rect.width() - 1, rect.height() - 1);
}

void MainForm::showEditor(Grid grid, int row, int column) {
    QTableWidget* table = m_table[index(grid)];
    QLineEdit* editor = m_editor[index(grid)];
    const QModelIndex cell = table->model()->index(row - 1, column - 1);
    table->scrollTo(cell);
    QRect rect = table->visualRect(cell);
    rect.moveTopLeft(table->viewport()->mapTo(table->parentWidget(), rect.topLeft()));
    editor->setGeometry(rect.x(), rect.y(), rect.width() - 1, rect.height() - 1);
    editor->setAlignment(cellAlignment(grid, column));
    editor->show();
    editor->raise();
    editor->setFocus(Qt::OtherFocusReason);
}

void MainForm::hideEditor(Grid grid) {
    QLineEdit* editor = m_editor[index(grid)];
    // The grid takes the focus first: a hidden focus widget would pass it on to the next
    // control, which may be the tab control, and that would open the editor again.
    if (editor->hasFocus())
        m_table[index(grid)]->setFocus(Qt::OtherFocusReason);
    editor->hide();
}

// --- public operations --------------------------------------------------------------------

bool MainForm::PutAnswers() {
    return m_binding.PutAnswers();
}
void MainForm::GetAnswers() {
    m_binding.GetAnswers();
}
void MainForm::ClearBoth() {
    m_binding.ClearBoth();
}
void MainForm::ShowWeightColumn() {
    m_binding.ShowWeightColumn();
}
void MainForm::RefreshEnabling() {
    m_binding.RefreshEnabling();
}
void MainForm::PutSolvAnswers() {
    m_binding.PutSolvAnswers();
}
void MainForm::GetSolvAnswers() {
    m_binding.GetSolvAnswers();
}
void MainForm::clearSolvdata() {
    m_binding.clearSolvdata();
}
void MainForm::EnableSolverFields(bool on) {
    m_binding.EnableSolverFields(on);
}

} // namespace veltrana
