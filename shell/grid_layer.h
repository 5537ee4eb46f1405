#pragma once
// A grid as a layer of the game window. The layer owns the grid, so the grid lives exactly as
// long as the window's layers that paint it and ask for repaints.

#include <memory>
#include <string>
#include <utility>

#include "grid/align_grid.h"
#include "presentation/scene.h"

namespace fruvana {

class GridLayer final : public Layer {
  public:
    explicit GridLayer(std::string name)
        : Layer(std::move(name)), grid_(std::make_unique<AlignGrid>()) {
        grid_->onInvalidate = [this](const Rect& area) { invalidate(area); };
    }
    AlignGrid& grid() { return *grid_; }
    Rect bounds() const override { return grid_->bounds(); }
    void paint(Picture& target, const Rect& clip) const override { grid_->paint(target, clip); }

  private:
    std::unique_ptr<AlignGrid> grid_;
};

}  // namespace fruvana
