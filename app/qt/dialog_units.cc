#include "app/qt/dialog_units.h"

#include <QFontMetrics>
#include <QStringList>

namespace fenmarq {
namespace {

// The average width is taken over the Latin letters, as dialog templates
// do; a Japanese font's own average would count its full-width glyphs.
constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

int averageLetterWidth(const QFontMetrics& metrics) {
  const int total = metrics.horizontalAdvance(QString::fromLatin1(kLetters));
  return (total / 26 + 1) / 2;  // total / 52, rounded
}

// n * base / divisor rounded to the nearest integer, halves up (n >= 0).
int scale(int n, int base, int divisor) { return (n * base + divisor / 2) / divisor; }

}  // namespace

DialogUnits::DialogUnits(int baseWidth, int baseHeight)
    : baseWidth_(baseWidth), baseHeight_(baseHeight) {}

DialogUnits::DialogUnits(const QFont& font)
    : DialogUnits(averageLetterWidth(QFontMetrics(font)), QFontMetrics(font).height()) {}

int DialogUnits::toPixelsX(int units) const { return scale(units, baseWidth_, 4); }

int DialogUnits::toPixelsY(int units) const { return scale(units, baseHeight_, 8); }

QRect DialogUnits::rect(int x, int y, int width, int height) const {
  return QRect(toPixelsX(x), toPixelsY(y), toPixelsX(width), toPixelsY(height));
}

QSize DialogUnits::size(int width, int height) const {
  return QSize(toPixelsX(width), toPixelsY(height));
}

QFont dialogFont() {
  QFont font;
  // The first installed family wins; IPAPGothic is the usual stand-in on
  // Linux, the Noto fonts elsewhere.
  font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                    QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"),
                    QStringLiteral("Noto Sans JP")});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(9);
  return font;
}

}  // namespace fenmarq
