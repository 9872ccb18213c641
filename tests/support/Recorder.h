#pragma once

#include "core/base/Journal.h"
#include "core/base/ShowWarning.h"

#include <string>
#include <vector>

// Records what the core reports while it lives: every message of its journal Log (whatever
// its level, no file written) and every message box, which answers with a preset button.
class Recorder {
public:
    struct Box {
        WarningButtonSet Buttons;
        WarningIcon Icon;
        std::u16string Text;
    };

    explicit Recorder(WarningButton answer = WarningButton::Close) {
        Log.SetObserver([this](int level, std::u16string_view message) {
            Journal.push_back({level, std::u16string(message)});
        });
        previousWarning_ =
            SetWarningHandler([this, answer](WarningButtonSet buttons, WarningIcon icon, std::u16string_view text) {
                Boxes.push_back({buttons, icon, std::u16string(text)});
                return answer;
            });
    }
    ~Recorder() { SetWarningHandler(previousWarning_); }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    std::vector<std::u16string> JournalMessages() const {
        std::vector<std::u16string> messages;
        for (const auto& [level, message] : Journal)
            messages.push_back(message);
        return messages;
    }
    std::vector<std::u16string> BoxTexts() const {
        std::vector<std::u16string> texts;
        for (const Box& box : Boxes)
            texts.push_back(box.Text);
        return texts;
    }

    ::Journal Log;
    std::vector<std::pair<int, std::u16string>> Journal;
    std::vector<Box> Boxes;

private:
    WarningHandler previousWarning_;
};
