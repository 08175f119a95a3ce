#include "FormResizer.h"
#include "QtTestApp.h"
#include "SuiteIcons.h"

#include <QComboBox>
#include <QLabel>
#include <QScrollBar>
#include <QTabWidget>

#include <gtest/gtest.h>

using namespace veltrana;

namespace {

/// A small form with one control of each kind that behaves differently.
struct Form {
    bool app = (test::EnsureApp(), true);
    QWidget form;
    QLabel* label;
    QComboBox* combo;
    QScrollBar* vbar;
    QTabWidget* tabs;
    QLabel* hiddenLabel;
    FormResizer resizer;

    Form() {
        form.resize(400, 300);
        label = add<QLabel>("lblA", QRect(10, 20, 100, 30));
        label->setFont(QFont(label->font().family(), 9));
        combo = add<QComboBox>("cboA", QRect(10, 60, 120, 24));
        vbar = add<QScrollBar>("vsbA", QRect(380, 10, 16, 200)); // vertical unless told
        tabs = add<QTabWidget>("Tabs", QRect(10, 130, 380, 160));
        tabs->addTab(new QWidget, "one");
        auto* page2 = new QWidget;
        tabs->addTab(page2, "two");
        hiddenLabel = add<QLabel>("lblHidden", QRect(40, 30, 80, 20), page2);
        form.show();
        resizer.StoreControlProportions(&form);
    }
    template <class W> W* add(const char* name, QRect r, QWidget* parent = nullptr) {
        auto* w = new W(parent ? parent : &form);
        w->setObjectName(name);
        w->setGeometry(r);
        return w;
    }
    void resizeTo(int w, int h) {
        form.resize(w, h);
        resizer.ResizeControls();
    }
};

} // namespace

TEST(FormResizer, EachGroupKeepsWhatItDoesNotOwnAndFontsFollowTheHeight) {
    Form f;
    const int comboHeight = f.combo->height();
    const int barWidth = f.vbar->width();
    f.resizeTo(800, 300);
    EXPECT_EQ(f.label->geometry(), QRect(20, 20, 200, 30));
    EXPECT_DOUBLE_EQ(f.label->font().pointSizeF(), 9);
    f.resizeTo(800, 600);
    EXPECT_EQ(f.label->geometry(), QRect(20, 40, 200, 60));
    EXPECT_DOUBLE_EQ(f.label->font().pointSizeF(), 18);
    EXPECT_EQ(f.combo->geometry(), QRect(20, 120, 240, comboHeight)); // no new height
    EXPECT_EQ(f.vbar->geometry(), QRect(760, 20, barWidth, 400));     // no new width
    EXPECT_EQ(f.tabs->geometry(), QRect(20, 260, 760, 320));
    f.tabs->setCurrentIndex(1); // a hidden page's control was scaled in place
    EXPECT_EQ(f.hiddenLabel->geometry(), QRect(80, 60, 160, 40));
}

TEST(FormResizer, SmallWindowRuleAtTheTwipLimits) {
    // 133 px = 1995 twips, 134 px = 2010; 100 px = 1500 twips.
    for (const auto& [w, h, laysOut] :
         {std::tuple{133, 200, false}, std::tuple{134, 99, false}, std::tuple{134, 100, true}}) {
        Form f;
        const QRect before = f.label->geometry();
        f.resizeTo(w, h);
        EXPECT_EQ(f.label->geometry() != before, laysOut) << w << "x" << h;
    }
}

TEST(SuiteIcons, EveryProgramHasItsIcon) {
    test::EnsureApp();
    for (const char* program : {"veltra", "plots", "list"})
        EXPECT_FALSE(SuiteIcon(program).pixmap(32).isNull()) << program;
}
