#include "platform/gfx/RasterOp.h"

namespace tamber::gfx {

namespace {

template<typename Op>
void Loop(uint32_t* d, const uint32_t* s, const uint32_t* p, int32_t n, uint32_t mask, Op op)
{
    for (int32_t i = 0; i < n; ++i)
        d[i] = op(p ? p[i] : 0, s ? s[i] : 0, d[i]) & mask;
}

} // namespace

void RopRow32(uint8_t code, uint32_t* d, const uint32_t* s, const uint32_t* p, int32_t n, uint32_t mask)
{
    switch (code) {
    case 0x00: Loop(d, s, p, n, mask, [](uint32_t, uint32_t, uint32_t) { return 0u; }); return;
    case 0xFF: Loop(d, s, p, n, mask, [](uint32_t, uint32_t, uint32_t) { return ~0u; }); return;
    case 0xCC: Loop(d, s, p, n, mask, [](uint32_t, uint32_t S, uint32_t) { return S; }); return;
    case 0x33: Loop(d, s, p, n, mask, [](uint32_t, uint32_t S, uint32_t) { return ~S; }); return;
    case 0x44: Loop(d, s, p, n, mask, [](uint32_t, uint32_t S, uint32_t D) { return S & ~D; }); return;
    case 0x66: Loop(d, s, p, n, mask, [](uint32_t, uint32_t S, uint32_t D) { return S ^ D; }); return;
    case 0xEE: Loop(d, s, p, n, mask, [](uint32_t, uint32_t S, uint32_t D) { return S | D; }); return;
    case 0x88: Loop(d, s, p, n, mask, [](uint32_t, uint32_t S, uint32_t D) { return S & D; }); return;
    case 0x11: Loop(d, s, p, n, mask, [](uint32_t, uint32_t S, uint32_t D) { return ~(S | D); }); return;
    case 0xBB: Loop(d, s, p, n, mask, [](uint32_t, uint32_t S, uint32_t D) { return ~S | D; }); return;
    case 0xF0: Loop(d, s, p, n, mask, [](uint32_t P, uint32_t, uint32_t) { return P; }); return;
    case 0x0F: Loop(d, s, p, n, mask, [](uint32_t P, uint32_t, uint32_t) { return ~P; }); return;
    case 0x55: Loop(d, s, p, n, mask, [](uint32_t, uint32_t, uint32_t D) { return ~D; }); return;
    case 0x5A: Loop(d, s, p, n, mask, [](uint32_t P, uint32_t, uint32_t D) { return P ^ D; }); return;
    case 0xA0: Loop(d, s, p, n, mask, [](uint32_t P, uint32_t, uint32_t D) { return P & D; }); return;
    case 0xFA: Loop(d, s, p, n, mask, [](uint32_t P, uint32_t, uint32_t D) { return P | D; }); return;
    case 0xAA: return;
    case 0xC0: Loop(d, s, p, n, mask, [](uint32_t P, uint32_t S, uint32_t) { return P & S; }); return;
    case 0xB8: Loop(d, s, p, n, mask, [](uint32_t P, uint32_t S, uint32_t D) { return ((P ^ D) & S) ^ P; }); return;
    case 0xE2: Loop(d, s, p, n, mask, [](uint32_t P, uint32_t S, uint32_t D) { return ((P ^ D) & S) ^ D; }); return;
    default:
        Loop(d, s, p, n, mask, [code](uint32_t P, uint32_t S, uint32_t D) { return ApplyRop3(code, P, S, D); });
        return;
    }
}

} // namespace tamber::gfx
