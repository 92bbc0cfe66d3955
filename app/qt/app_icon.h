// Fenmarq's icon: wind blowing onto a sheet, drawn in code at each size.
#ifndef FENMARQ_APP_QT_APP_ICON_H_
#define FENMARQ_APP_QT_APP_ICON_H_

#include <QIcon>
#include <QImage>

class QPainter;

namespace fenmarq {

inline constexpr int kApplicationIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The icon is drawn on a 64 x 64 grid; a painter scales it to each size.
inline constexpr int kApplicationIconGrid = 64;

// Paints the icon onto the grid's square at the origin: the one drawing
// behind the window's icon and every icon file (tools/make_icon.cc).
void paintApplicationIcon(QPainter& painter);

// The icon at `size` x `size` pixels.
QImage drawApplicationIcon(int size);

QIcon applicationIcon();

}  // namespace fenmarq

#endif  // FENMARQ_APP_QT_APP_ICON_H_
