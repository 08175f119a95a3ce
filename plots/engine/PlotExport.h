#pragma once

#include <QByteArray>

#include <optional>

namespace veltrana {

class PlotRecording;

/// The file types a plot is saved as: pictures of the box (BMP, PNG) or the plot's lines and
/// texts themselves (SVG, PDF), which stay sharp at any size.
enum class PlotFileType { Bitmap, Png, Svg, Pdf };

/// The bytes of a file of `type` holding the plot at the box's size (a PDF page of that size,
/// 96 pixels to the inch); nothing when the plot is empty or could not be encoded.
std::optional<QByteArray> PlotFileBytes(const PlotRecording& plot, PlotFileType type);

} // namespace veltrana
