#include "DemosPage.h"

#include "DemoTexts.h"
#include "WidgetText.h"

#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace veltrana {

using forms::LabelText;
using forms::ToQString;

namespace {

constexpr int kMargin = 12;
constexpr int kFileLeft = kMargin;
constexpr int kTimeLeft = 190;
constexpr int kDescriptionLeft = 330;
constexpr int kRowsTop = 190;
constexpr int kRowHeight = 30;

QLabel* AddLabel(QWidget* page, const QString& name, std::string_view text, QRect geometry) {
    auto* label = new QLabel(LabelText(text), page);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setGeometry(geometry);
    return label;
}

QString Indexed(const char* name, int index) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

} // namespace

DemosPage::DemosPage(QWidget* parent)
    : QWidget(parent), m_selectedDemo(forms::kDemoExamples[0].file) {
    QLabel* title =
        AddLabel(this, QStringLiteral("lblTitle"), forms::kDemosTitle, {kMargin, 10, 740, 36});
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    title->setFont(big);
    AddLabel(this, QStringLiteral("lblSentence1"), forms::kDemosSentence1, {kMargin, 52, 740, 80})
        ->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    AddLabel(this, QStringLiteral("lblFileName"), forms::kDemoFileName,
             {kFileLeft, kRowsTop - 40, 170, 28});
    AddLabel(this, QStringLiteral("lblRunTime"), forms::kDemoRunTime,
             {kTimeLeft, kRowsTop - 40, 130, 28});
    AddLabel(this, QStringLiteral("lblDemoHeader"), forms::kDemoHeader,
             {kDescriptionLeft, kRowsTop - 40, 430, 28});

    auto* group = new QButtonGroup(this);
    for (int i = 1; i <= forms::kDemoCount; ++i) {
        const forms::DemoExample& example = forms::kDemoExamples[i - 1];
        const int top = kRowsTop + (i - 1) * kRowHeight;
        auto* option = new QRadioButton(ToQString(example.file), this);
        option->setObjectName(Indexed("Exam", i));
        option->setGeometry(kFileLeft, top, 170, 26);
        group->addButton(option, i);
        connect(option, &QRadioButton::clicked, this,
                [this, option] { m_selectedDemo = option->text().toStdString(); });
        AddLabel(this, Indexed("lblExTime", i), example.runTime, {kTimeLeft + 30, top, 90, 26})
            ->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        AddLabel(this, Indexed("lblDescription", i), example.description,
                 {kDescriptionLeft, top, 440, 26});
    }
    group->button(1)->setChecked(true);

    const int buttonsTop = kRowsTop + forms::kDemoCount * kRowHeight + 20;
    auto* run = new QPushButton(ToQString(forms::kRunDemo), this);
    run->setObjectName(QStringLiteral("cmdRunDemo"));
    run->setGeometry(kMargin, buttonsTop, 150, 32);
    auto* cancel = new QPushButton(ToQString(forms::kCancelDemo), this);
    cancel->setObjectName(QStringLiteral("cmdCancelDemo"));
    cancel->setGeometry(kMargin + 170, buttonsTop, 150, 32);
    connect(run, &QPushButton::clicked, this, &DemosPage::runDemoClicked);
    connect(cancel, &QPushButton::clicked, this, &DemosPage::cancelClicked);
}

} // namespace veltrana
