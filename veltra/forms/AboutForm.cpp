#include "AboutForm.h"

#include "BuildConfig.h"
#include "DemoTexts.h"
#include "WidgetText.h"

#include <QLabel>
#include <QPushButton>

namespace veltrana {

std::string AboutTitle() {
    return std::string("Veltrana\u2122 (Version ") + build::kVersionText + ")";
}

AboutForm::AboutForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(forms::ToQString(forms::kAboutCaption));
    setFixedSize(360, 150);
    auto* title = new QLabel(QString::fromStdString(AboutTitle()), this);
    title->setObjectName(QStringLiteral("txtTitle"));
    title->setAlignment(Qt::AlignCenter);
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    title->setFont(big);
    title->setGeometry(12, 24, 336, 50);
    auto* ok = new QPushButton(forms::ToQString(forms::kOkay), this);
    ok->setObjectName(QStringLiteral("cmdOkay"));
    ok->setGeometry(130, 96, 100, 32);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace veltrana
