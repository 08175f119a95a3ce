#pragma once

#include <QPointer>
#include <QRect>
#include <QWidget>

#include <vector>

namespace veltrana {

/// Keeps a form's layout in proportion to its inner area: the place, size and font size of
/// every control are recorded once as fractions of the inner width and height and set from
/// those fractions on every resize, so repeated resizing never drifts.
///
/// A control is a descendant widget of the form with an objectName of ours (Qt's own inner
/// widgets, named "qt_..." or unnamed, follow their owners). Hidden tab pages need nothing
/// special: Qt hides the page instead of moving its controls, so they are scaled in place.
class FormResizer {
public:
    /// What is scaled for each kind of control (see ControlGroupOf for the mapping).
    enum class Group {
        Skipped,   ///< menus, dialogs: left alone
        Line,      ///< both ends scaled: the whole rectangle, no font
        HBar,      ///< horizontal scroll bars and combo boxes: top, left, width
        VBar,      ///< vertical scroll bars: top, left, height
        Box,       ///< picture boxes and tab controls: top, left, width, height
        TextBox,   ///< text-bearing controls: the rectangle and the font size
        PlaceOnly, ///< any other control: top and left
    };
    static Group ControlGroupOf(const QWidget& control);

    /// Marks `control` as placed by its owner rather than by its proportions (a grid's cell
    /// editor follows its cell): the resizer leaves it alone.
    static void SetPlacedByOwner(QWidget& control);

    /// Twips per pixel, the unit of the small-window rule.
    static constexpr int kTwipsPerPixel = 15;
    /// Below this inner width or height (twips) a form is not laid out.
    static constexpr int kMinInnerWidthTwips = 2000;
    static constexpr int kMinInnerHeightTwips = 1500;
    /// Fonts follow the inner height down to this size (points), below which text is no
    /// longer readable on a screen.
    static constexpr double kMinFontPoints = 6;

    /// Records the proportions of the controls of `form` (the widget whose inner area is the
    /// reference: a main window's central widget). Call once the form has its designed size.
    void StoreControlProportions(QWidget* form);
    /// Sets every recorded control from its proportions and the form's current inner size.
    void ResizeControls();

private:
    struct Proportions {
        QPointer<QWidget> control;
        /// Whose font follows the height: the control itself for text-bearing controls, a
        /// tab control's tab bar (so that its captions keep fitting), else none.
        QPointer<QWidget> fontOf;
        Group group;
        double top, left, width, height, fontSize;
    };
    QPointer<QWidget> m_form;
    std::vector<Proportions> m_controls;
};

} // namespace veltrana
