#include "platform/Clock.h"

bool CClock::LocalTime(std::time_t moment, std::tm& local)
{
#if defined(_WIN32)
    return localtime_s(&local, &moment) == 0;
#else
    return localtime_r(&moment, &local) != nullptr;
#endif
}
