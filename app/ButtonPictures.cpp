#include "ButtonPictures.h"

#include <QBitmap>
#include <QPainter>
#include <functional>

namespace {

const QColor kTransparente(255, 0, 255);

// Drawn on magenta, which then becomes the transparent colour.
QPixmap Desenhar(const std::function<void(QPainter&)>& desenho)
{
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(kTransparente);
    {
        QPainter p(&img);
        desenho(p);
    }
    QPixmap pix = QPixmap::fromImage(img);
    pix.setMask(pix.createMaskFromColor(kTransparente, Qt::MaskInColor));
    return pix;
}

// Greyed the usual way: shapes in dark grey with a white relief to the
// lower right.
QPixmap Acinzentar(const QPixmap& normal)
{
    const QImage src = normal.toImage().convertToFormat(QImage::Format_ARGB32);
    QImage out(16, 16, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    auto escuro = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= 16 || y >= 16)
            return false;
        const QRgb c = src.pixel(x, y);
        return qAlpha(c) > 0 && qGray(c) < 192;
    };
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (escuro(x - 1, y - 1) && !escuro(x, y))
                out.setPixel(x, y, qRgb(255, 255, 255));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (escuro(x, y))
                out.setPixel(x, y, qRgb(128, 128, 128));
    return QPixmap::fromImage(out);
}

QIcon Icone(const QPixmap& normal)
{
    QIcon icon;
    icon.addPixmap(normal, QIcon::Normal);
    icon.addPixmap(Acinzentar(normal), QIcon::Disabled);
    return icon;
}

} // namespace

namespace ButtonPictures {

QIcon Impressora()
{
    return Icone(Desenhar([](QPainter& p) {
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(4, 1, 7, 5);             // paper going in
        p.setBrush(QColor(192, 192, 192));
        p.drawRect(1, 6, 13, 6);            // body
        p.setBrush(Qt::white);
        p.drawRect(3, 10, 9, 4);            // paper coming out
        p.setPen(QColor(0, 128, 0));
        p.drawPoint(12, 8);                 // power light
        p.setPen(Qt::black);
        p.drawLine(5, 12, 10, 12);
    }));
}

QIcon PaginaNova()
{
    return Icone(Desenhar([](QPainter& p) {
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        const QPoint folha[] = {{2, 1}, {9, 1}, {12, 4}, {12, 14}, {2, 14}};
        p.drawPolygon(folha, 5);
        p.drawLine(9, 1, 9, 4);
        p.drawLine(9, 4, 12, 4);
        p.setPen(QPen(QColor(0, 0, 160), 2));
        p.drawLine(11, 9, 11, 15);          // plus sign, lower right
        p.drawLine(8, 12, 14, 12);
    }));
}

QIcon PortaAberta()
{
    return Icone(Desenhar([](QPainter& p) {
        p.setPen(Qt::black);
        p.setBrush(QColor(64, 64, 64));
        p.drawRect(3, 1, 9, 13);            // the opening
        p.setBrush(QColor(160, 96, 32));
        const QPoint porta[] = {{3, 1}, {8, 3}, {8, 15}, {3, 14}};
        p.drawPolygon(porta, 4);            // the door swung open
        p.setPen(QColor(255, 255, 0));
        p.drawPoint(7, 9);                  // knob
    }));
}

QPixmap Normal(const QIcon& icon)
{
    return icon.pixmap(QSize(16, 16), QIcon::Normal);
}

QPixmap Acinzentada(const QIcon& icon)
{
    return icon.pixmap(QSize(16, 16), QIcon::Disabled);
}

} // namespace ButtonPictures
