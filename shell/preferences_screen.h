#pragma once
// The preferences screen: a form drawn over the cabinet, in the finish of the settings screen,
// with the volumes, what happens without the focus, autoplay's own stops, the reality check,
// every cabinet action's keys and controller button, Defaults and OK. The form decides what a
// move does; the screen draws it and tells the program what changed.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/event_loop.h"
#include "presentation/game_screen.h"
#include "shell/form_panel.h"
#include "shell/overlay_stack.h"
#include "shell/preferences_form.h"

namespace fruvana {

class PreferencesScreen final : public FormScreen {
  public:
    // Adds the screen's parts over the cabinet, hidden. Null with the reason in error.
    static std::unique_ptr<PreferencesScreen> create(GameScreen& screen, EventLoop& loop,
                                                     Preferences& preferences,
                                                     InputBindings& bindings, SpeechOutput* speech,
                                                     std::string& error);

    // Shows the screen with the preferences as they stand, the focus on the first control.
    void show();
    void hide() override;
    // Draws every value again, as one that the form does not change (speech's) may have.
    void refresh() { redraw(); }
    bool visible() const override { return panel_->visible(); }
    Rect area() const override { return panel_->area(); }
    std::optional<ControlHit> controlAt(int x, int y) const override {
        return panel_->controlAt(x, y);
    }
    void move(FormMove move) override;
    void click(int item, bool back) override;
    bool capture(const Input& input) override;
    // "Preferences." and the focused control; after a move, the focused control as it now
    // stands, or the message the move gave.
    std::string spokenOnOpening() const override;
    std::string spokenAfterMove() const override { return spokenAfterMove_; }

    // What a move changed: a value (which one in form().changed()), the bindings, or the screen
    // asked to close.
    std::function<void(PreferencesForm::Result)> onChange;

    const PreferencesForm& form() const { return form_; }
    const FormPanel& panel() const { return *panel_; }

  private:
    PreferencesScreen(EventLoop& loop, Preferences& preferences, InputBindings& bindings,
                      SpeechOutput* speech);
    bool build(GameScreen& screen, std::string& error);
    // Every item's text, the message and the focus as the form now has them.
    void redraw();
    void changed(PreferencesForm::Result result);

    // The panel's item that shows a form item (-1 for a preference scrolled out of sight), and
    // the form item a panel item shows.
    int panelItem(std::size_t formItem) const;
    std::size_t formItem(int panelItem) const;

    EventLoop& loop_;
    PreferencesForm form_;
    std::unique_ptr<FormPanel> panel_;
    // The preference lines: how many, how many the panel shows at once, the first shown, and
    // the labels of the shown ones.
    int rows_;
    int slots_;
    int first_ = 0;
    std::vector<int> slotLabels_;
    std::string spokenAfterMove_;
};

// The first of lines to show in slots so that the focused line (or -1 for none) is among them,
// scrolling as little as it can from first.
int firstShownLine(int first, int focused, int lines, int slots);

}  // namespace fruvana
