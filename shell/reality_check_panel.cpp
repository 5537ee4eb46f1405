#include "shell/reality_check_panel.h"

#include <utility>

#include "presentation/asset_catalogue.h"
#include "presentation/cabinet_layout.h"
#include "presentation/picture_names.h"
#include "presentation/translation.h"

namespace fruvana {

namespace {

constexpr int kKeepPlaying = 0;
constexpr int kStop = 1;

}  // namespace

std::unique_ptr<RealityCheckPanel> RealityCheckPanel::create(GameScreen& screen, EventLoop& loop,
                                                             std::string& error) {
    auto picture =
        loadPicture(AssetKind::PreferencesPicture, preferences_pictures::kRealityCheck, error);
    if (!picture) return nullptr;
    std::unique_ptr<RealityCheckPanel> made(new RealityCheckPanel(loop));
    // In the middle of the cabinet.
    const CabinetOrigin o = screen.origin();
    const int x = o.x + (layout::kCabinet.w - picture->width()) / 2;
    const int y = o.y + (layout::kCabinet.h - picture->height()) / 2;
    const Rect area{x, y, picture->width(), picture->height()};
    made->panel_ = FormPanel::create(screen.scene(), std::string(layers::kRealityCheckPrefix), area,
                                     std::move(*picture), error);
    if (!made->panel_) return nullptr;
    made->panel_->setMessagePlace({x + 24, y + 74, 472, 18});
    made->panel_->addItem({x + 64, y + 141, 172, 18}, TextLine::Align::Centre);
    made->panel_->addItem({x + 284, y + 141, 172, 18}, TextLine::Align::Centre);
    made->panel_->setItemText(kKeepPlaying, tr("Keep playing"));
    made->panel_->setItemText(kStop, tr("Stop"));
    return made;
}

void RealityCheckPanel::show(std::string_view text) {
    panel_->setMessage(text);
    panel_->setFocus(kKeepPlaying);
    panel_->setVisible(true);
    loop_.pumpPending();
}

void RealityCheckPanel::hide() {
    panel_->setVisible(false);
}

void RealityCheckPanel::move(FormMove move) {
    switch (move) {
        case FormMove::Left:
            return panel_->setFocus(kKeepPlaying);
        case FormMove::Right:
            return panel_->setFocus(kStop);
        case FormMove::Activate:
            return answer(panel_->focus());
        case FormMove::Close:
            return answer(kKeepPlaying);
        case FormMove::Up:
        case FormMove::Down:
            return;
    }
}

void RealityCheckPanel::click(int item, bool) {
    panel_->setFocus(item);
    answer(item);
}

void RealityCheckPanel::answer(int item) {
    if (onAnswer) onAnswer(item == kStop);
}

std::string RealityCheckPanel::spokenOnOpening() const {
    return panel_->message() + ". " + spokenAfterMove();
}

}  // namespace fruvana
