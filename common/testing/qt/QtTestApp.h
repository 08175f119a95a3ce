#pragma once

#include <functional>

class QWidget;

namespace veltrana::test {

/// The one QApplication of a test program, made on first use and kept until exit: one torn
/// down among the other statics at exit crashes.
void EnsureApp();

/// Runs `act` on the next modal widget once it is up; gives up after a few seconds.
void WhenModal(std::function<void(QWidget*)> act);

} // namespace veltrana::test
