// Writes Fenmarq's icon, as the window draws it, into every icon file the
// releases carry: the Windows .ico (one PNG image per size), and the
// freedesktop icon theme's PNG per size and scalable SVG, named by the
// application id. app/fenmarq.ico and app/icons/hicolor/ are made by this
// program (build/app/fenmarq-make-icon app/fenmarq.ico app/icons/hicolor);
// with --check it compares instead, so a test notices when the drawing and
// the files part ways. The comparison is of pixels, not bytes: another Qt
// writes the same picture with other PNG or SVG bytes, and paints it with
// slightly other edges.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgGenerator>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "app/qt/app_icon.h"

namespace fenmarq {
namespace {

struct IconFile {
  QString path;
  QByteArray bytes;
  // The pictures the file holds, as decoded from `bytes` or from the file.
  QList<QImage> (*picturesOf)(const QByteArray& bytes);
};

QByteArray pngIcon(int size) {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  drawApplicationIcon(size).save(&buffer, "PNG");
  return png;
}

QByteArray svgIcon() {
  QByteArray svg;
  QBuffer buffer(&svg);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(QSize(kApplicationIconGrid, kApplicationIconGrid));
  generator.setViewBox(QRect(0, 0, kApplicationIconGrid, kApplicationIconGrid));
  generator.setTitle(QStringLiteral("Fenmarq"));
  generator.setDescription(QStringLiteral("Wind blowing onto a sheet"));
  QPainter painter(&generator);
  painter.setRenderHint(QPainter::Antialiasing);
  paintApplicationIcon(painter);
  painter.end();
  return svg;
}

void appendLittleEndian(QByteArray& out, quint32 value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.append(static_cast<char>(value >> (8 * i) & 0xFF));
}

// An ICONDIR header, one 16-byte ICONDIRENTRY per image, then the images.
QByteArray icoIcon() {
  QList<QByteArray> images;
  for (const int size : kApplicationIconSizes) images.append(pngIcon(size));
  constexpr int kHeader = 6, kEntry = 16;
  QByteArray out;
  appendLittleEndian(out, 0, 2);  // reserved
  appendLittleEndian(out, 1, 2);  // an icon, not a cursor
  appendLittleEndian(out, static_cast<quint32>(images.size()), 2);
  quint32 offset = kHeader + kEntry * static_cast<quint32>(images.size());
  for (qsizetype i = 0; i < images.size(); ++i) {
    const int size = kApplicationIconSizes[i];
    out.append(static_cast<char>(size == 256 ? 0 : size));  // width; 0 stands for 256
    out.append(static_cast<char>(size == 256 ? 0 : size));  // height
    appendLittleEndian(out, 0, 2);                          // no palette, reserved
    appendLittleEndian(out, 1, 2);                          // colour planes
    appendLittleEndian(out, 32, 2);                         // bits per pixel
    appendLittleEndian(out, static_cast<quint32>(images[i].size()), 4);
    appendLittleEndian(out, offset, 4);
    offset += static_cast<quint32>(images[i].size());
  }
  for (const QByteArray& image : images) out.append(image);
  return out;
}

QList<QImage> pngPictures(const QByteArray& bytes) { return {QImage::fromData(bytes, "PNG")}; }

// Each PNG image of an .ico, from its directory entry's size and offset.
QList<QImage> icoPictures(const QByteArray& bytes) {
  const auto number = [&bytes](qsizetype at, int width) {
    quint32 value = 0;
    for (int i = width - 1; i >= 0 && at + i < bytes.size(); --i) {
      value = value << 8 | static_cast<quint8>(bytes[at + i]);
    }
    return value;
  };
  QList<QImage> pictures;
  const quint32 count = number(4, 2);
  for (quint32 i = 0; i < count; ++i) {
    const qsizetype entry = 6 + 16 * static_cast<qsizetype>(i);
    pictures.append(
        QImage::fromData(bytes.mid(number(entry + 12, 4), number(entry + 8, 4)), "PNG"));
  }
  return pictures;
}

// The SVG icon rendered at the largest size.
QList<QImage> svgPictures(const QByteArray& bytes) {
  const int size = kApplicationIconSizes[std::size(kApplicationIconSizes) - 1];
  QImage picture(size, size, QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::transparent);
  QSvgRenderer renderer(bytes);
  QPainter painter(&picture);
  renderer.render(&painter);
  return {picture};
}

// The .ico at `ico`; under `hicolor`, the theme's SIZExSIZE/apps/ID.png and
// scalable/apps/ID.svg.
QList<IconFile> iconFiles(const QString& ico, const QString& hicolor) {
  const QString name = QStringLiteral(FENMARQ_APP_ID);
  QList<IconFile> files{{ico, icoIcon(), icoPictures}};
  for (const int size : kApplicationIconSizes) {
    files.append({QStringLiteral("%1/%2x%2/apps/%3.png").arg(hicolor).arg(size).arg(name),
                  pngIcon(size), pngPictures});
  }
  files.append(
      {QStringLiteral("%1/scalable/apps/%2.svg").arg(hicolor, name), svgIcon(), svgPictures});
  return files;
}

bool writeFile(const IconFile& icon) {
  QFile file(icon.path);
  if (!QDir().mkpath(QFileInfo(icon.path).path()) || !file.open(QIODevice::WriteOnly) ||
      file.write(icon.bytes) != icon.bytes.size() || !file.flush()) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(icon.path));
    return false;
  }
  return true;
}

// Two pictures are the same icon when no channel of a pixel is more than
// kChannelTolerance levels (of 255) apart, but for at most one pixel in
// kStrayPixelsPerPixel: the edges that another Qt paints differ by a few
// levels, a changed drawing moves whole strokes.
constexpr int kChannelTolerance = 24;
constexpr int kStrayPixelsPerPixel = 500;

// The pixels of `a` with a channel further than the tolerance from `b`'s.
qsizetype strayPixels(const QImage& a, const QImage& b) {
  const QImage x = a.convertToFormat(QImage::Format_ARGB32);
  const QImage y = b.convertToFormat(QImage::Format_ARGB32);
  qsizetype stray = 0;
  for (int row = 0; row < x.height(); ++row) {
    const QRgb* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
    const QRgb* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
    for (int column = 0; column < x.width(); ++column) {
      for (const int shift : {0, 8, 16, 24}) {  // blue, green, red, alpha
        const int apart = static_cast<int>(p[column] >> shift & 0xFF) -
                          static_cast<int>(q[column] >> shift & 0xFF);
        if (std::abs(apart) > kChannelTolerance) {
          ++stray;
          break;
        }
      }
    }
  }
  return stray;
}

bool samePicture(const QImage& stored, const QImage& drawn) {
  if (stored.isNull() || stored.size() != drawn.size()) return false;
  const qsizetype pixels = qsizetype{drawn.width()} * drawn.height();
  return strayPixels(stored, drawn) * kStrayPixelsPerPixel <= pixels;
}

bool fileMatches(const IconFile& icon) {
  QFile file(icon.path);
  const QList<QImage> stored =
      file.open(QIODevice::ReadOnly) ? icon.picturesOf(file.readAll()) : QList<QImage>{};
  const QList<QImage> drawn = icon.picturesOf(icon.bytes);
  bool matches = stored.size() == drawn.size();
  for (qsizetype i = 0; matches && i < drawn.size(); ++i) {
    matches = samePicture(stored[i], drawn[i]);
  }
  if (!matches) {
    std::fprintf(stderr, "%s differs from the drawing: run fenmarq-make-icon\n",
                 qPrintable(icon.path));
  }
  return matches;
}

}  // namespace
}  // namespace fenmarq

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  const bool check = args.size() == 4 && args[1] == "--check";
  if (args.size() != 3 && !check) {
    std::fputs("usage: fenmarq-make-icon [--check] FILE.ico HICOLOR_DIR\n", stderr);
    return 2;
  }
  bool ok = true;
  for (const fenmarq::IconFile& icon : fenmarq::iconFiles(args[args.size() - 2], args.last())) {
    ok = (check ? fenmarq::fileMatches(icon) : fenmarq::writeFile(icon)) && ok;
  }
  return ok ? 0 : 1;
}
