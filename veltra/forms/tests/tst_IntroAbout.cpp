#include "AboutForm.h"
#include "IntroForm.h"

#include <QApplication>
#include <QLabel>

#include <gtest/gtest.h>

using namespace veltrana;

TEST(IntroAbout, TitlesReadAsWrittenAndEveryLabelFits) {
    static int argc = 1;
    static char* argv[] = {const_cast<char*>("tst_veltra_forms"), nullptr};
    if (!QApplication::instance())
        new QApplication(argc, argv); // one for the whole program, until exit
    IntroForm intro;
    AboutForm about;
    struct Case {
        QWidget* form;
        const char* title;
        const char* text;
    } cases[] = {{&intro, "lblTitleIntro", "Veltrana\u2122  Intro & Demos"},
                 {&about, "txtTitle", "Veltrana\u2122 (Version 5.05)"}};
    for (const Case& c : cases) {
        c.form->show();
        EXPECT_EQ(c.form->findChild<QLabel*>(c.title)->text().toStdString(), c.text);
        for (QLabel* label : c.form->findChildren<QLabel*>()) {
            const std::string name = label->objectName().toStdString();
            EXPECT_TRUE(c.form->rect().contains(label->geometry())) << name;
            EXPECT_LE(label->heightForWidth(label->width()), label->height()) << name;
        }
    }
}
