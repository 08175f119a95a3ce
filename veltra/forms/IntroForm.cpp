#include "IntroForm.h"

#include "DemoTexts.h"
#include "WidgetText.h"

#include <QLabel>
#include <QPushButton>

namespace veltrana {

using forms::LabelText;
using forms::ToQString;

IntroForm::IntroForm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmIntro"));
    setWindowTitle(ToQString(forms::kIntroCaption));
    setFixedSize(600, 330);

    auto label = [this](const char* name, std::string_view text, QRect geometry) {
        auto* l = new QLabel(LabelText(text), this);
        l->setObjectName(QLatin1String(name));
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        l->setGeometry(geometry);
        return l;
    };
    QLabel* title = label("lblTitleIntro", forms::kIntroTitle, {24, 18, 552, 40});
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    title->setFont(big);
    label("lblSentence1", forms::kIntroSentence1, {24, 72, 552, 60});
    label("lblSentence2", forms::kIntroSentence2, {24, 140, 552, 90});

    auto button = [this](const char* name, std::string_view caption, int left) {
        auto* b = new QPushButton(ToQString(caption), this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(left, 260, 160, 34);
        return b;
    };
    QPushButton* run = button("cmdRunIntro", forms::kIntroRun, 24);
    QPushButton* create = button("cmdCreateIntro", forms::kIntroCreate, 220);
    QPushButton* exit = button("cmdExitIntro", forms::kIntroExit, 416);
    run->setDefault(true);
    connect(run, &QPushButton::clicked, this, &IntroForm::runDemoRequested);
    connect(create, &QPushButton::clicked, this, &IntroForm::createDataRequested);
    connect(exit, &QPushButton::clicked, this, &IntroForm::exitRequested);
}

} // namespace veltrana
