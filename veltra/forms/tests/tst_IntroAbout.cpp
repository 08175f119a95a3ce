#include "AboutForm.h"
#include "IntroForm.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace veltrana;

namespace {

void EnsureApp() {
    static int argc = 1;
    static char* argv[] = {const_cast<char*>("tst_veltra_forms"), nullptr};
    if (!QApplication::instance())
        new QApplication(argc, argv); // one for the whole program, until exit
}

// Every label shows its whole text inside the form.
void ExpectLabelsFit(QWidget& form) {
    for (QLabel* label : form.findChildren<QLabel*>()) {
        EXPECT_TRUE(form.rect().contains(label->geometry())) << label->objectName().toStdString();
        EXPECT_LE(label->heightForWidth(label->width()), label->height())
            << label->objectName().toStdString();
    }
}

} // namespace

TEST(IntroAbout, AboutShowsTheVersionAndOkHidesIt) {
    EnsureApp();
    AboutForm about;
    about.show();
    auto* title = about.findChild<QLabel*>("txtTitle");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text().toStdString(), "Veltrana\u2122 (Version 5.05)");
    ExpectLabelsFit(about);
    about.findChild<QPushButton*>("cmdOkay")->click();
    EXPECT_FALSE(about.isVisible());
}

TEST(IntroAbout, IntroButtonsEachAskForTheirWayOn) {
    EnsureApp();
    IntroForm intro;
    intro.show();
    EXPECT_EQ(intro.findChild<QLabel*>("lblTitleIntro")->text().toStdString(),
              "Veltrana\u2122  Intro & Demos");
    ExpectLabelsFit(intro);
    struct Case {
        const char* button;
        void (IntroForm::*signal)();
    } cases[] = {{"cmdRunIntro", &IntroForm::runDemoRequested},
                 {"cmdCreateIntro", &IntroForm::createDataRequested},
                 {"cmdExitIntro", &IntroForm::exitRequested}};
    for (const Case& c : cases) {
        QSignalSpy spy(&intro, c.signal);
        intro.findChild<QPushButton*>(c.button)->click();
        EXPECT_EQ(spy.count(), 1) << c.button;
    }
}
