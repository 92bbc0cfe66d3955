// The window is laid out as a dialog template: positions and sizes in dialog
// units, which scale with the dialog's font. A horizontal unit is a quarter
// of the font's average character width, a vertical unit an eighth of its
// character height.
#ifndef FENMARQ_APP_QT_DIALOG_UNITS_H_
#define FENMARQ_APP_QT_DIALOG_UNITS_H_

#include <QFont>
#include <QRect>
#include <QSize>

namespace fenmarq {

class DialogUnits {
 public:
  // From the base units in pixels: the average character width and height.
  DialogUnits(int baseWidth, int baseHeight);
  explicit DialogUnits(const QFont& font);

  int baseWidth() const { return baseWidth_; }
  int baseHeight() const { return baseHeight_; }

  // Each of x, y, width and height is converted on its own and rounded to
  // the nearest pixel, halves up.
  QRect rect(int x, int y, int width, int height) const;
  QSize size(int width, int height) const;

 private:
  int toPixelsX(int units) const;
  int toPixelsY(int units) const;

  int baseWidth_;
  int baseHeight_;
};

// The font of both dialogs: MS P Gothic 9 pt where installed, else another
// proportional Japanese gothic.
QFont dialogFont();

}  // namespace fenmarq

#endif  // FENMARQ_APP_QT_DIALOG_UNITS_H_
