#pragma once

#include <QDir>
#include <QString>

#include <optional>

class QTabWidget;
class QWidget;

namespace veltrana {

/// The output folder of a screenshot program, its first argument, made when missing. Nothing,
/// after a line on stderr, when it is not given or cannot be made. `usage` names the
/// arguments for the usage line.
std::optional<QDir> ShotFolder(int argc, char** argv, const char* usage = "<output folder>");

/// Saves a picture of `widget` as dir/name.png; false, after a line on stderr, when it
/// cannot be written.
bool SaveShot(QWidget& widget, const QDir& dir, const QString& name);

/// One picture of `window` per page of `tabs`: dir/prefix-tabN.png. False when one failed.
bool ShootTabs(QWidget& window, QTabWidget& tabs, const QDir& dir, const QString& prefix);

} // namespace veltrana
