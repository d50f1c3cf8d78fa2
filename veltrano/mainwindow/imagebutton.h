#pragma once

#include <QLabel>

namespace veltrano {

// A picture drawn from an SVG resource at a fixed size, with the classic Click event of an
// image control. Pictures without a handler are the same control left unconnected.
class ImageButton : public QLabel {
    Q_OBJECT

public:
    ImageButton(const QString& resource, const QRect& geometry, QWidget* parent);
    void setPicture(const QString& resource);

signals:
    void Click();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// Makes the program's images available as resources (":/veltrano/images/..."). They live in
// a static library, whose resources are not registered unless asked for. Once is enough.
void loadImageResources();

// Renders an SVG resource to a pixmap of the given size (device pixel ratio included).
QPixmap svgPixmap(const QString& resource, const QSize& size, qreal devicePixelRatio = 1.0);

} // namespace veltrano
