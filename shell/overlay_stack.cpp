#include "shell/overlay_stack.h"

namespace fruvana {

OverlayStack::OverlayStack(ControlScreen& cabinet, OverlayScreen& settings, OverlayScreen& recall,
                           FormScreen& preferences, FormScreen& realityCheck)
    : cabinet_(cabinet), screens_{&settings, &recall, &preferences, &realityCheck} {
    forms_[static_cast<std::size_t>(Overlay::Preferences)] = &preferences;
    forms_[static_cast<std::size_t>(Overlay::RealityCheck)] = &realityCheck;
}

std::optional<Overlay> OverlayStack::top() const {
    for (int o = kOverlayCount - 1; o >= 0; --o)
        if (shown(static_cast<Overlay>(o))) return static_cast<Overlay>(o);
    return std::nullopt;
}

std::optional<Overlay> OverlayStack::at(int x, int y) const {
    for (int o = kOverlayCount - 1; o >= 0; --o) {
        const OverlayScreen& s = screen(static_cast<Overlay>(o));
        if (s.visible() && s.area().contains(x, y)) return static_cast<Overlay>(o);
    }
    return std::nullopt;
}

void OverlayStack::close(Overlay overlay) {
    screen(overlay).hide();
    focus_ = top();
}

void OverlayStack::closeAll() {
    for (OverlayScreen* s : screens_) s->hide();
    focus_.reset();
}

ControlScreen& OverlayStack::screenOf(std::optional<Overlay> overlay) const {
    return overlay ? static_cast<ControlScreen&>(screen(*overlay)) : cabinet_;
}

FormScreen* OverlayStack::formOf(std::optional<Overlay> overlay) const {
    return overlay ? forms_[static_cast<std::size_t>(*overlay)] : nullptr;
}

}  // namespace fruvana
