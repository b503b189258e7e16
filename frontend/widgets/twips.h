// Window geometry is designed in twips (1/1440 inch); these convert it to
// device-independent pixels at the screen's logical resolution.
#ifndef FRONTEND_WIDGETS_TWIPS_H_
#define FRONTEND_WIDGETS_TWIPS_H_

#include <QRect>
#include <cmath>

namespace frontend {

inline int twipsToPixels(int twips, double logicalDpi) {
  return static_cast<int>(std::lround(twips * logicalDpi / 1440.0));
}

inline QRect twipsRect(int left, int top, int width, int height, double logicalDpi) {
  return QRect(twipsToPixels(left, logicalDpi), twipsToPixels(top, logicalDpi),
               twipsToPixels(width, logicalDpi), twipsToPixels(height, logicalDpi));
}

}  // namespace frontend

#endif  // FRONTEND_WIDGETS_TWIPS_H_
