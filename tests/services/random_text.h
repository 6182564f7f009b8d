// Random well-formed UTF-16 text for the conversion tests: a third of the characters lie
// beyond the basic plane (surrogate pairs), the rest anywhere in it but the surrogates.
#pragma once

#include <cstddef>
#include <random>
#include <string>

// At most `limit` code units: a length below it is drawn, and a last pair may pass it by one.
std::u16string random_well_formed_text(std::mt19937& gen, std::size_t limit);
