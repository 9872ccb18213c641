#pragma once

#include "core/base/Journal.h"
#include "core/base/ShowWarning.h"

#include <string>
#include <vector>

// Records what the core reports to it: every message of its journal Log (whatever its
// level, no file written) and every message box, which answers with a preset button.
class Recorder final : public MessageBox {
public:
    struct Box {
        WarningButtonSet Buttons;
        WarningIcon Icon;
        std::u16string Text;
    };

    explicit Recorder(WarningButton answer = WarningButton::Close) : Answer(answer) {
        Log.SetObserver([this](int level, std::u16string_view message) {
            Journal.push_back({level, std::u16string(message)});
        });
    }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    WarningButton Show(WarningButtonSet buttons, WarningIcon icon, std::u16string_view text) override {
        Boxes.push_back({buttons, icon, std::u16string(text)});
        return Answer;
    }
    // The journal and the box, for what the core reports.
    Reporting Reports() { return {Log, *this}; }

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

    WarningButton Answer; // what every box is answered with
    ::Journal Log;
    std::vector<std::pair<int, std::u16string>> Journal;
    std::vector<Box> Boxes;
};
