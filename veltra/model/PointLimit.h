#pragma once

namespace veltrana {

/// The most points the optimiser takes in one table (pass band or delay): pastes and imports
/// that would go beyond it are refused.
inline constexpr int kMaxTablePoints = 5000;

} // namespace veltrana
