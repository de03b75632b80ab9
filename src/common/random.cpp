#include "common/random.h"

#include "common/clock.h"

#include <cstring>

namespace tav {

float LcgRandom::next()
{
    state_ = (state_ * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
    return float(state_) / 16777216.0f;
}

void LcgRandom::reseed(double clockSeconds)
{
    const float f = float(clockSeconds);
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    const uint32_t mixed = ((bits >> 16) ^ (bits & 0xFFFF)) << 8;
    // The whole state takes part (an odd multiplier is a bijection modulo
    // 2^24), so reseeds within one clock tick walk on instead of cycling
    // through a few states.
    state_ = (state_ * 0x9E3779B1u + mixed) & 0xFFFFFFu;
    next();
}

float ScriptedRandom::next()
{
    ++draws;
    if (!values_.isEmpty())
        last_ = values_.takeFirst();
    return last_;
}

namespace {
RandomSource* g_rng = nullptr;
LcgRandom& own()
{
    static LcgRandom r;
    return r;
}
} // namespace

RandomSource& rng() { return g_rng ? *g_rng : own(); }
void setRng(RandomSource* source) { g_rng = source; }
float rnd() { return rng().next(); }
void randomize() { rng().reseed(clock().timer()); }

} // namespace tav
