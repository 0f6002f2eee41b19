// quvex-make-icons FOLDER NAME SIZE...: writes the desktop icons at build time, painted by the
// same function as the window's own icon: FOLDER/scalable/NAME.svg and, for each SIZE,
// FOLDER/<SIZE>x<SIZE>/NAME.png.
#include "app/pictures.h"

#include <QDir>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// Unbuffered, so that a failed write shows in commit() instead of vanishing in a buffer.
bool open_for_writing(QSaveFile &file)
{
    if (QDir().mkpath(QFileInfo(file.fileName()).path())
        && file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return true;
    std::fprintf(stderr, "quvex-make-icons: cannot write %s: %s\n", qPrintable(file.fileName()),
                 qPrintable(file.errorString()));
    return false;
}

bool finish(QSaveFile &file, bool written)
{
    if (written && file.commit())
        return true;
    std::fprintf(stderr, "quvex-make-icons: cannot write %s: %s\n", qPrintable(file.fileName()),
                 qPrintable(file.errorString()));
    return false;
}

bool write_svg(const QString &path)
{
    constexpr int kSide = 32; // the drawing's own grid, so the file keeps its round numbers
    QSaveFile file(path);
    if (!open_for_writing(file))
        return false;
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(QSize(kSide, kSide));
    svg.setViewBox(QRect(0, 0, kSide, kSide));
    svg.setTitle(u"QUVEX control panel"_s);
    svg.setDescription(u"A monitor showing a Q"_s);
    QPainter painter;
    if (!painter.begin(&svg))
        return finish(file, false);
    // The generator writes the painter's font into every group, and without an application
    // that font has size -1, which is no SVG length.
    painter.setFont(QFont(u"sans-serif"_s, 9));
    quvex::app::paint_window_icon(painter, kSide);
    return finish(file, painter.end());
}

bool write_png(const QString &path, int side)
{
    QImage picture(side, side, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    quvex::app::paint_window_icon(painter, side);
    painter.end();
    QSaveFile file(path);
    return open_for_writing(file) && finish(file, picture.save(&file, "PNG"));
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 4) {
        std::fputs("usage: quvex-make-icons FOLDER NAME SIZE...\n", stderr);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    if (!write_svg(folder + u"/scalable/"_s + name + u".svg"_s))
        return 1;
    for (int i = 3; i < argc; ++i) {
        bool ok = false;
        const int side = QByteArray(argv[i]).toInt(&ok);
        if (!ok || side < 1 || side > 1024) {
            std::fprintf(stderr, "quvex-make-icons: not an icon size: %s\n", argv[i]);
            return 2;
        }
        const QString size = u"%1x%1"_s.arg(side);
        if (!write_png(folder + u'/' + size + u'/' + name + u".png"_s, side))
            return 1;
    }
    return 0;
}
