// A paint device whose painting is written as a LaTeX/TikZ picture: strokes and fills become
// paths, ellipses and text nodes, so that the renderer draws into it as into any vector target.
#pragma once

#include "view/viewtransform.h"

#include <QPaintDevice>

#include <memory>
#include <string>

namespace qorv {

class TikzEngine;

class TikzDevice : public QPaintDevice {
  public:
    // A target of width x height pixels showing `view`; TikZ coordinates are world coordinates
    // divided by `pixelsPerUnit`, so that one document length unit is one centimetre.
    TikzDevice(int width, int height, const ViewTransform& view, double pixelsPerUnit);
    ~TikzDevice() override;

    QPaintEngine* paintEngine() const override;
    // A complete LaTeX document holding the picture of everything painted so far.
    std::string document() const;

  protected:
    int metric(PaintDeviceMetric metric) const override;

  private:
    int width_, height_;
    std::unique_ptr<TikzEngine> engine_;
};

} // namespace qorv
