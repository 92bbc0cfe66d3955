// Writes Fenmarq's icon, as the window draws it, into a Windows .ico file:
// one PNG image per size. app/fenmarq.ico is made by this program
// (build/app/fenmarq-make-icon app/fenmarq.ico); with --check it compares
// instead, so a test notices when the drawing and the file part ways.
#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QtEndian>
#include <cstdio>

#include "app/qt/app_icon.h"

namespace fenmarq {
namespace {

void appendLittleEndian(QByteArray& out, quint32 value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.append(static_cast<char>(value >> (8 * i) & 0xFF));
}

// An ICONDIR header, one 16-byte ICONDIRENTRY per image, then the images.
QByteArray iconFile() {
  QList<QByteArray> images;
  for (const int size : kApplicationIconSizes) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    drawApplicationIcon(size).save(&buffer, "PNG");
    images.append(png);
  }
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

}  // namespace
}  // namespace fenmarq

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  const bool check = args.size() == 3 && args[1] == "--check";
  if (args.size() != 2 && !check) {
    std::fputs("usage: fenmarq-make-icon [--check] FILE.ico\n", stderr);
    return 2;
  }
  const QByteArray icon = fenmarq::iconFile();
  QFile file(args.last());
  if (check) {
    if (file.open(QIODevice::ReadOnly) && file.readAll() == icon) return 0;
    std::fprintf(stderr, "%s differs from the drawing: run fenmarq-make-icon on it\n",
                 qPrintable(args.last()));
    return 1;
  }
  if (!file.open(QIODevice::WriteOnly) || file.write(icon) != icon.size() || !file.flush()) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(args.last()));
    return 1;
  }
  return 0;
}
