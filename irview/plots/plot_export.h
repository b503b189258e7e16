// Pictures of a plot for export, as the bytes of a PNG or an SVG file: the
// chart as its view shows it (zoom included), at the view's size; the SVG
// keeps the curves as vector paths.
#ifndef IRVIEW_PLOTS_PLOT_EXPORT_H_
#define IRVIEW_PLOTS_PLOT_EXPORT_H_

#include <QByteArray>
#include <QString>

class QChartView;

namespace irview {

QByteArray pngBytes(QChartView& view);
QByteArray svgBytes(QChartView& view, const QString& title);

}  // namespace irview

#endif  // IRVIEW_PLOTS_PLOT_EXPORT_H_
