#pragma once

class QWidget;

namespace veltrana {

/// Keeps a top-level window on its screen's available area each time it is shown: a window
/// larger than the area shrinks to fit it, and one that would stick out is moved back in.
void KeepOnScreen(QWidget& window);

/// The same, once, for a window already shown.
void FitOnScreen(QWidget& window);

} // namespace veltrana
