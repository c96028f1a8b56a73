#include "map/MapPicture.h"

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace corvale {

namespace {

constexpr int kPdfResolution = 96;  // one pixel of the view is one point and a third

QByteArray PngBytes(const MapRenderer& renderer, const MapView& view) {
    QImage image(view.PictureSize().toSize(), QImage::Format_RGB32);
    {
        QPainter painter(&image);
        renderer.Render(painter, view);
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data();
}

QByteArray SvgBytes(const MapRenderer& renderer, const MapView& view) {
    QBuffer buffer;
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    const QSize size = view.PictureSize().toSize();
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(QStringLiteral("Corvale award map"));
    {
        QPainter painter(&generator);
        renderer.Render(painter, view);
    }
    return buffer.data();
}

QByteArray PdfBytes(const MapRenderer& renderer, const MapView& view) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfResolution);
        writer.setPageSize(QPageSize(view.PictureSize() * 72.0 / kPdfResolution, QPageSize::Point));
        writer.setPageMargins({0, 0, 0, 0});
        writer.setTitle(QStringLiteral("Corvale award map"));
        QPainter painter(&writer);
        renderer.Render(painter, view);
    }
    return buffer.data();
}

}  // namespace

QByteArray MapFileBytes(const MapRenderer& renderer, const MapView& view, MapFormat format) {
    switch (format) {
        case MapFormat::Png:
            return PngBytes(renderer, view);
        case MapFormat::Svg:
            return SvgBytes(renderer, view);
        case MapFormat::Pdf:
            break;
    }
    return PdfBytes(renderer, view);
}

}  // namespace corvale
