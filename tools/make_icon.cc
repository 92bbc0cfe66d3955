// Writes Fenmarq's icon, as the window draws it, into every icon file the
// releases carry: the Windows .ico (one PNG image per size), and the
// freedesktop icon theme's PNG per size and scalable SVG, named by the
// application id. app/fenmarq.ico and app/icons/hicolor/ are made by this
// program (build/app/fenmarq-make-icon app/fenmarq.ico app/icons/hicolor);
// with --check it compares instead, so a test notices when the drawing and
// the files part ways.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgGenerator>
#include <cstdio>

#include "app/qt/app_icon.h"

namespace fenmarq {
namespace {

struct IconFile {
  QString path;
  QByteArray bytes;
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

// The .ico at `ico`; under `hicolor`, the theme's SIZExSIZE/apps/ID.png and
// scalable/apps/ID.svg.
QList<IconFile> iconFiles(const QString& ico, const QString& hicolor) {
  const QString name = QStringLiteral(FENMARQ_APP_ID);
  QList<IconFile> files{{ico, icoIcon()}};
  for (const int size : kApplicationIconSizes) {
    files.append(
        {QStringLiteral("%1/%2x%2/apps/%3.png").arg(hicolor).arg(size).arg(name), pngIcon(size)});
  }
  files.append({QStringLiteral("%1/scalable/apps/%2.svg").arg(hicolor, name), svgIcon()});
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

bool fileMatches(const IconFile& icon) {
  QFile file(icon.path);
  if (file.open(QIODevice::ReadOnly) && file.readAll() == icon.bytes) return true;
  std::fprintf(stderr, "%s differs from the drawing: run fenmarq-make-icon\n",
               qPrintable(icon.path));
  return false;
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
