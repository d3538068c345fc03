#pragma once
// The random numbers behind every series type's sample values. They come from
// the clock unless a program seeds them, so that a gallery picture or a test
// shows the same values on every run.

#include <random>

std::mt19937& SampleValueGenerator();
void SeedSampleValues(unsigned seed);
