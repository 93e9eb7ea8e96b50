// icontool: writes the program's icon at one of the sizes a desktop's icon
// theme asks for.
//
//   icontool source.png 48 48x48/apps/vocabrium.png

#include <QDir>
#include <QFileInfo>
#include <QImage>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: icontool source.png size output.png\n");
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[3]);
    const int size = QByteArray(argv[2]).toInt();
    const QImage source(QString::fromLocal8Bit(argv[1]));
    if (source.isNull() || size <= 0) {
        std::fprintf(stderr, "icontool: cannot read %s or bad size %s\n", argv[1], argv[2]);
        return 1;
    }
    const QImage icon = source.size() == QSize(size, size)
                            ? source
                            : source.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (!QDir().mkpath(QFileInfo(output).path()) || !icon.save(output, "PNG")) {
        std::fprintf(stderr, "icontool: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
