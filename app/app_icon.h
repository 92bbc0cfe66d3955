// Fenmarq's icon: wind blowing onto a sheet, drawn in code at each size.
#ifndef FENMARQ_APP_APP_ICON_H_
#define FENMARQ_APP_APP_ICON_H_

#include <QIcon>

namespace fenmarq {

QIcon applicationIcon();

}  // namespace fenmarq

#endif  // FENMARQ_APP_APP_ICON_H_
