#include "FormResizer.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>

#include <algorithm>
#include <cmath>

namespace veltrana {

namespace {

constexpr const char* kPlacedByOwner = "veltranaPlacedByOwner";

bool IsControl(const QWidget& widget) {
    const QString name = widget.objectName();
    return !name.isEmpty() && !name.startsWith(QLatin1String("qt_"));
}

/// The font size a control is drawn with, in points.
double PointSizeOf(const QWidget& control) {
    const QFont font = control.font();
    if (font.pointSizeF() > 0)
        return font.pointSizeF();
    return font.pixelSize() * 72.0 / std::max(1, control.logicalDpiY());
}

} // namespace

// The control kinds of the resizing rule mapped onto Qt's classes. Order matters: the more
// specific classes come first (a QGroupBox, a QLabel and a QTextEdit are QFrames too).
//
//   Skipped    QMenuBar, QMenu, QDialog (common dialogs and timers are no widgets here),
//              and controls placed by their owner (SetPlacedByOwner)
//   Line       QFrame drawn as a horizontal or vertical line
//   HBar       QScrollBar (horizontal), QComboBox
//   VBar       QScrollBar (vertical)
//   TextBox    QAbstractButton (check, option, command buttons), QLineEdit, QLabel,
//              QGroupBox (frames), QTextEdit / QPlainTextEdit (multi-line text boxes),
//              QAbstractItemView other than tables (list boxes)
//   Box        QTabWidget (its tab bar's font follows the height too, so that the captions
//              still fit a smaller window), QTableView (the data grids: they hold cells, not text
//              of their own, and a grid that kept its size would be cut off in a smaller window),
//              other QFrames and plain QWidgets (picture boxes)
//   PlaceOnly  anything else
void FormResizer::SetPlacedByOwner(QWidget& control) {
    control.setProperty(kPlacedByOwner, true);
}

FormResizer::Group FormResizer::ControlGroupOf(const QWidget& control) {
    if (control.property(kPlacedByOwner).toBool())
        return Group::Skipped;
    if (qobject_cast<const QMenuBar*>(&control) || qobject_cast<const QMenu*>(&control) ||
        qobject_cast<const QDialog*>(&control))
        return Group::Skipped;
    if (const auto* bar = qobject_cast<const QScrollBar*>(&control))
        return bar->orientation() == Qt::Horizontal ? Group::HBar : Group::VBar;
    if (qobject_cast<const QComboBox*>(&control))
        return Group::HBar;
    if (qobject_cast<const QAbstractButton*>(&control) ||
        qobject_cast<const QLineEdit*>(&control) || qobject_cast<const QLabel*>(&control) ||
        qobject_cast<const QGroupBox*>(&control) || qobject_cast<const QTextEdit*>(&control) ||
        qobject_cast<const QPlainTextEdit*>(&control))
        return Group::TextBox;
    if (const auto* view = qobject_cast<const QAbstractItemView*>(&control))
        return view->inherits("QTableView") ? Group::Box : Group::TextBox;
    if (qobject_cast<const QTabWidget*>(&control))
        return Group::Box;
    if (const auto* frame = qobject_cast<const QFrame*>(&control)) {
        const auto shape = frame->frameShape();
        if (shape == QFrame::HLine || shape == QFrame::VLine)
            return Group::Line;
        return Group::Box;
    }
    if (control.metaObject() == &QWidget::staticMetaObject)
        return Group::Box;
    return Group::PlaceOnly;
}

void FormResizer::StoreControlProportions(QWidget* form) {
    m_form = form;
    m_controls.clear();
    if (!form)
        return;
    const double w = form->width();
    const double h = form->height();
    if (w <= 0 || h <= 0)
        return;
    const auto children = form->findChildren<QWidget*>();
    m_controls.reserve(children.size());
    for (QWidget* control : children) {
        if (!IsControl(*control) || control->isWindow())
            continue;
        // A tab control's pages are laid out by the tab control itself.
        if (qobject_cast<QTabWidget*>(
                control->parentWidget() ? control->parentWidget()->parentWidget() : nullptr))
            continue;
        const QRect r = control->geometry();
        const Group group = ControlGroupOf(*control);
        QWidget* fontOf = group == Group::TextBox ? control : nullptr;
        if (auto* tabs = qobject_cast<QTabWidget*>(control))
            fontOf = tabs->tabBar();
        m_controls.push_back({control, fontOf, group, r.y() / h, r.x() / w, r.width() / w,
                              r.height() / h, fontOf ? PointSizeOf(*fontOf) / h : 0.0});
    }
}

void FormResizer::ResizeControls() {
    if (!m_form)
        return;
    const double w = m_form->width();
    const double h = m_form->height();
    if (w * kTwipsPerPixel < kMinInnerWidthTwips || h * kTwipsPerPixel < kMinInnerHeightTwips)
        return;
    for (const Proportions& p : m_controls) {
        QWidget* control = p.control;
        if (!control || p.group == Group::Skipped)
            continue;
        const QRect old = control->geometry();
        const int left = static_cast<int>(std::lround(p.left * w));
        const int top = static_cast<int>(std::lround(p.top * h));
        const int width = static_cast<int>(std::lround(p.width * w));
        const int height = static_cast<int>(std::lround(p.height * h));
        QRect r = old;
        switch (p.group) {
        case Group::Skipped:
            break;
        case Group::PlaceOnly:
            r.moveTo(left, top);
            break;
        case Group::HBar:
            r = QRect(left, top, width, old.height());
            break;
        case Group::VBar:
            r = QRect(left, top, old.width(), height);
            break;
        case Group::Line:
        case Group::Box:
        case Group::TextBox:
            r = QRect(left, top, width, height);
            break;
        }
        // A control that cannot take the size (its minimum or maximum) keeps what Qt allows.
        control->setGeometry(r);
        if (QWidget* target = p.fontOf) {
            QFont font = target->font();
            const double points = std::max(p.fontSize * h, kMinFontPoints);
            if (points > 0 && std::abs(font.pointSizeF() - points) > 0.01) {
                font.setPointSizeF(points);
                target->setFont(font);
            }
        }
    }
}

} // namespace veltrana
