// Fenmarq's icon: wind blowing onto a sheet, drawn in code at each size.
#ifndef FENMARQ_APP_QT_APP_ICON_H_
#define FENMARQ_APP_QT_APP_ICON_H_

#include <QIcon>
#include <QImage>

namespace fenmarq {

inline constexpr int kApplicationIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The icon at `size` x `size` pixels, drawn on a 64 x 64 grid scaled to it.
QImage drawApplicationIcon(int size);

QIcon applicationIcon();

}  // namespace fenmarq

#endif  // FENMARQ_APP_QT_APP_ICON_H_
