// Build tool: renders the game's emblem (the five of the colour dice, the
// picture the program shows itself) as square PNG icons for the desktop's
// icon theme.
//
//   quintor_mkicons <output folder> <icon name> <size>...
//
// writes <output folder>/<size>x<size>/apps/<icon name>.png for every size,
// the layout of a hicolor theme folder.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "DiceImages.h"

int main(int argc, char *argv[]) {
  // Drawing needs no screen.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication App(argc, argv);
  if (argc < 4) {
    std::fprintf(stderr, "usage: quintor_mkicons <output folder> <icon name> <size>...\n");
    return 2;
  }
  const QString Folder = QString::fromLocal8Bit(argv[1]);
  const QString Name = QString::fromLocal8Bit(argv[2]);
  for (int I = 3; I < argc; ++I) {
    bool Ok = false;
    const int Size = QByteArray(argv[I]).toInt(&Ok);
    if (!Ok || Size < 16 || Size > 1024) {
      std::fprintf(stderr, "quintor_mkicons: not an icon size: %s\n", argv[I]);
      return 2;
    }
    // The face is drawn, not scaled: at Size / 32 device pixels per pixel.
    QImage Icon = quintor::DieFace(4, quintor::TDiceSet::dsColor, Size / qreal(quintor::DieFaceSize)).toImage();
    Icon.setDevicePixelRatio(1.0);
    const QString SizeFolder = QStringLiteral("%1/%2x%2/apps").arg(Folder).arg(Size);
    if (!QDir().mkpath(SizeFolder) || Icon.size() != QSize(Size, Size) ||
        !Icon.save(SizeFolder + QLatin1Char('/') + Name + QStringLiteral(".png"), "PNG")) {
      std::fprintf(stderr, "quintor_mkicons: cannot write the %dx%d icon in %s\n", Size, Size, argv[1]);
      return 1;
    }
  }
  return 0;
}
