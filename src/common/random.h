#pragma once
// The program's one uniform generator: single-precision draws in [0, 1).
// The consignment drawings reseed it from the clock; reseeding mixes the
// clock into the current state, so two reseeds within one clock tick still
// give different draws. Tests replace it with a seeded or scripted source.

#include <QList>
#include <cstdint>

namespace tav {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual float next() = 0;
    virtual void reseed(double clockSeconds) = 0;
};

// A 24-bit linear congruential generator.
class LcgRandom : public RandomSource {
public:
    explicit LcgRandom(uint32_t seed = 0x50000) : state_(seed & 0xFFFFFF) {}
    float next() override;
    void reseed(double clockSeconds) override;
    uint32_t state() const { return state_; }

private:
    uint32_t state_;
};

// Answers from a queue (then repeats the last value, or 0); counts the draws.
class ScriptedRandom : public RandomSource {
public:
    explicit ScriptedRandom(QList<float> values = {}) : values_(std::move(values)) {}
    float next() override;
    void reseed(double) override { ++reseeds; }
    void push(float v) { values_.append(v); }
    int draws = 0;
    int reseeds = 0;

private:
    QList<float> values_;
    float last_ = 0.0f;
};

RandomSource& rng();
// Replaces the generator (not owned); nullptr restores the program's own.
void setRng(RandomSource* source);

float rnd();
// Reseeds from the clock (see clock.h).
void randomize();

} // namespace tav
