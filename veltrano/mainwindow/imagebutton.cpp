#include "mainwindow/imagebutton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

static void initImages() {
    Q_INIT_RESOURCE(images);
}

namespace veltrano {

void loadImageResources() {
    [[maybe_unused]] static const bool loaded = (initImages(), true);
}

QPixmap svgPixmap(const QString& resource, const QSize& size, qreal devicePixelRatio) {
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

ImageButton::ImageButton(const QString& resource, const QRect& geometry, QWidget* parent)
    : QLabel(parent) {
    setGeometry(geometry);
    setPicture(resource);
}

void ImageButton::setPicture(const QString& resource) {
    setPixmap(svgPixmap(resource, size(), devicePixelRatioF()));
}

void ImageButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Click();
    QLabel::mouseReleaseEvent(event);
}

} // namespace veltrano
