#include "startup/connsplash.h"

namespace kem {

void SplashState::Load()
{
    if (!loaded_)
        ++loads;
    loaded_ = true;
}

void SplashState::Unload()
{
    loaded_ = false;
    shown = false;
}

} // namespace kem
