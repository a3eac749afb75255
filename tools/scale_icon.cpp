// Writes the program's icon in the sizes desktops look for: OUT/NxN/apps/kotori.png for each N.
#include <QDir>
#include <QImage>
#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s SOURCE.png OUT SIZE...\n", argv[0]);
        return 2;
    }
    const QImage source(QString::fromLocal8Bit(argv[1]));
    if (source.isNull()) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        // The icons are pixel drawings: whole multiples stay sharp, other sizes are smoothed.
        const Qt::TransformationMode mode =
            size % source.width() == 0 ? Qt::FastTransformation : Qt::SmoothTransformation;
        const QImage scaled = source.scaled(size, size, Qt::IgnoreAspectRatio, mode);
        const QString folder = QString::fromLocal8Bit(argv[2]) + QStringLiteral("/%1x%1/apps").arg(size);
        if (size <= 0 || !QDir().mkpath(folder) || !scaled.save(folder + QStringLiteral("/kotori.png"))) {
            std::fprintf(stderr, "%s: cannot write the %s pixel icon\n", argv[0], argv[i]);
            return 1;
        }
    }
    return 0;
}
