#pragma once

#include "core/presentation/FrameLayout.h"

#include <optional>

// What the learner made of the text or the picture window during a run: its size, and whether it
// was folded up to its bar.
struct SideWindowShape {
    FrameSize Expanded; // the size it unfolds to
    bool Folded = false;
    friend bool operator==(const SideWindowShape&, const SideWindowShape&) = default;
};

// Which shape a side window takes when a question announces its attachment: the described one, or,
// with the setting on and once the learner has folded, unfolded or resized it during the run, the
// shape the learner left. A run starts without any.
class SideWindowMemory {
public:
    void StartRun() { learners_.reset(); }
    void LearnerFolded(FrameSize expanded) { learners_ = SideWindowShape{expanded, true}; }
    void LearnerExpanded(FrameSize expanded) { learners_ = SideWindowShape{expanded, false}; }
    // None: the described shape.
    std::optional<SideWindowShape> ShapeForAttachment(bool keepSetting) const;

private:
    std::optional<SideWindowShape> learners_;
};
