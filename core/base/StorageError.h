#pragma once

#include <stdexcept>
#include <string>

// The one failure that storage code raises; the loaders catch it and report.
class StorageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
