#pragma once

// Checks of proportional resizing on a real form: what every control looked like, and what
// it must look like after the form's inner area was scaled.

#include "FormResizer.h"

#include <QPointer>
#include <QTabWidget>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace veltrana::test {

struct ControlShot {
    QPointer<QWidget> control;
    QRect geometry;
    double points;
};

/// Every control that the resizer places: named, not a tab control's page, not left alone.
inline std::vector<ControlShot> Snapshot(QWidget& form) {
    std::vector<ControlShot> shots;
    for (QWidget* w : form.findChildren<QWidget*>()) {
        const QString name = w->objectName();
        const QWidget* parent = w->parentWidget();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) ||
            (parent && qobject_cast<const QTabWidget*>(parent->parentWidget())) ||
            FormResizer::ControlGroupOf(*w) == FormResizer::Group::Skipped)
            continue;
        shots.push_back({w, w->geometry(), w->font().pointSizeF()});
    }
    return shots;
}

/// After scaling the inner width by `fx` and the height by `fy`: each control's quantities
/// follow its group, and font sizes follow the height only.
inline void ExpectScaled(const std::vector<ControlShot>& before, double fx, double fy) {
    using Group = FormResizer::Group;
    auto scaled = [](int v, double f) { return static_cast<int>(std::lround(v * f)); };
    for (const ControlShot& shot : before) {
        ASSERT_TRUE(shot.control);
        const std::string name = shot.control->objectName().toStdString();
        const Group group = FormResizer::ControlGroupOf(*shot.control);
        const QRect was = shot.geometry;
        const bool sized = group != Group::PlaceOnly;
        const QRect expected(scaled(was.x(), fx), scaled(was.y(), fy),
                             sized && group != Group::VBar ? scaled(was.width(), fx) : was.width(),
                             sized && group != Group::HBar ? scaled(was.height(), fy)
                                                           : was.height());
        EXPECT_EQ(shot.control->geometry(), expected) << name;
        const double points = group == Group::TextBox ? shot.points * fy : shot.points;
        EXPECT_NEAR(shot.control->font().pointSizeF(), points, 0.01) << name;
    }
}

/// Nothing moved, resized or changed its font.
inline void ExpectUnchanged(const std::vector<ControlShot>& before) {
    ExpectScaled(before, 1, 1);
}

} // namespace veltrana::test
