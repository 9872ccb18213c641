#pragma once

#include <functional>
#include <memory>
#include <utility>

// A window made the first time it is wanted: the first frame shows the main window alone, and
// many sessions never open some of the others.
template <class Window> class OnDemand {
public:
    explicit OnDemand(std::function<std::unique_ptr<Window>()> make) : make_(std::move(make)) {}

    Window& operator*() {
        if (!window_)
            window_ = make_();
        return *window_;
    }
    // The window when it has been made; none before.
    Window* IfMade() const { return window_.get(); }

private:
    std::function<std::unique_ptr<Window>()> make_;
    std::unique_ptr<Window> window_;
};
