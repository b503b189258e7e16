// What the two windows share of their look: the design's window font on an
// Arial-metric sans serif, the caption colours of their buttons, and
// controls named as in the window definitions.
#ifndef FRONTEND_WIDGETS_WINDOW_LOOK_H_
#define FRONTEND_WIDGETS_WINDOW_LOOK_H_

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>
#include <QWidget>

namespace frontend {

// The design's window font size in points.
inline constexpr double kWindowPointSize = 7.8;

inline const QColor kDarkRed(128, 0, 0);
inline const QColor kDarkBlue(0, 0, 128);

// `base` as the design's window font: bold, 7.8 pt. A sans serif with the
// metrics of the design's face keeps the captions within their twip-sized
// controls; any other sans serif stands in when none of them is installed.
inline QFont designWindowFont(QFont base) {
  base.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                    QStringLiteral("Arimo"), QStringLiteral("Helvetica"),
                    QStringLiteral("Nimbus Sans")});
  base.setStyleHint(QFont::SansSerif);
  base.setPointSizeF(kWindowPointSize);
  base.setBold(true);
  return base;
}

template <typename W>
W* named(W* widget, const QString& name) {
  widget->setObjectName(name);
  return widget;
}

// The caption colour of a button, or the text colour of a label or frame.
inline void setTextColour(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::ButtonText, colour);
  palette.setColor(QPalette::WindowText, colour);
  widget->setPalette(palette);
}

}  // namespace frontend

#endif  // FRONTEND_WIDGETS_WINDOW_LOOK_H_
