#include "platform/Clock.h"

bool CClock::LocalTime(std::time_t moment, std::tm& local)
{
    return localtime_r(&moment, &local) != nullptr;
}
