#pragma once

#include <cstdlib>
#include <optional>
#include <string>

// Sets an environment variable for as long as it lives, then gives back what was there, so
// a failing test leaves the next one the environment it found.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
        if (const char* previous = std::getenv(name))
            previous_ = previous;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment() {
        if (previous_)
            setenv(name_, previous_->c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name_;
    std::optional<std::string> previous_;
};
