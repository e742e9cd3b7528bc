#include "platform/BreakKeySdl.h"

#include <SDL.h>

namespace tamber {

bool SdlBreakKey::IsDown()
{
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0)
        return false;
    uint64_t now = SDL_GetTicks64();
    if (m_lastPump != 0 && now - m_lastPump < kPumpIntervalMs)
        return m_down;
    m_lastPump = now;
    SDL_PumpEvents();
    const Uint8* keys = SDL_GetKeyboardState(nullptr);
    bool control = (SDL_GetModState() & KMOD_CTRL) != 0;
    m_down = keys[SDL_SCANCODE_CANCEL] || (control && keys[SDL_SCANCODE_PAUSE]);
    return m_down;
}

}  // namespace tamber
