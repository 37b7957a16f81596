#pragma once

#include <ctime>

// The local time of a moment, as the log stamps its lines.
class CClock {
public:
    // False when the moment has no local time.
    static bool LocalTime(std::time_t moment, std::tm& local);
};
