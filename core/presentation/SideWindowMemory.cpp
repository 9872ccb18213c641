#include "core/presentation/SideWindowMemory.h"

// The setting is read at each question, so turning it off mid-run gives the described shapes at once.
std::optional<SideWindowShape> SideWindowMemory::ShapeForAttachment(bool keepSetting) const {
    if (!keepSetting)
        return std::nullopt;
    return learners_;
}
