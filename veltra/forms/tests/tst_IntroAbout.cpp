#include "AboutForm.h"
#include "IntroForm.h"
#include "QtTestApp.h"

#include <QLabel>

#include <gtest/gtest.h>

#include <tuple>

using namespace veltrana;

TEST(IntroAbout, TitlesReadAsWrittenAndEveryLabelFits) {
    test::EnsureApp();
    IntroForm intro;
    AboutForm about;
    const std::tuple<QWidget*, const char*, const char*> cases[] = {
        {&intro, "lblTitleIntro", "Veltrana\u2122  Intro & Demos"},
        {&about, "txtTitle", "Veltrana\u2122 (Version 5.05)"}};
    for (const auto& [form, title, text] : cases) {
        form->show();
        EXPECT_EQ(form->findChild<QLabel*>(title)->text().toStdString(), text);
        for (QLabel* label : form->findChildren<QLabel*>()) {
            const std::string name = label->objectName().toStdString();
            EXPECT_TRUE(form->rect().contains(label->geometry())) << name;
            EXPECT_LE(label->heightForWidth(label->width()), label->height()) << name;
        }
    }
}
