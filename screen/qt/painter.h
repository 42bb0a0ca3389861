#pragma once

#include <QPainter>

#include "drawing.h"

// The desktop's painter: the shapes in twips (15 to a pixel) through a QPainter set up in
// logical pixels, so a sharp screen gets sharp pieces and tests can paint into a QImage.
namespace screen {

class QtPainter final : public drawing::Painter {
  public:
    explicit QtPainter(QPainter& painter);
    ~QtPainter() override;
    QtPainter(const QtPainter&) = delete;
    QtPainter& operator=(const QtPainter&) = delete;

    void Picture(const char* name, double x, double y, double width, double height) override;
    void Fill(const drawing::Disc& disc) override;
    void Fill(const drawing::Box& box) override;

    // The screen's pixels to a logical one, for the renderer's thinnest lines.
    double DevicePixels() const;

  private:
    QPainter& painter_;
};

}  // namespace screen
