// Random and mutated dialog definitions for the robustness tests: elements of every kind
// with attributes that are valid, risky or wrong, nested a few levels deep.
#pragma once

#include <random>
#include <string>

// A definition of one window `w` with random elements; the procedure name "handler" and the
// flag "#Flag" appear in it, for a registry that may declare them.
std::u16string random_definition(std::mt19937& random);

// Cuts, duplicates and overwrites pieces of a definition.
std::u16string mutate(std::mt19937& random, std::u16string text);

// A number from 0 to sides - 1.
int chance(std::mt19937& random, int sides);
