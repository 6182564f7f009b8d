// The authors' reference of the definition language, written from the engine's own tables
// (elements, attributes with their defaults, event attributes, flag names and values), so
// that the guide that carries it cannot drift from what the engine reads.
#pragma once

#include <string>

// The line in the authors' guide below which the build writes the reference.
constexpr const char* DIALOG_REFERENCE_MARK =
    "Reference (written by the build from the engine's tables; edit above this line only)";

// The reference as plain text with LF line ends, starting with the mark's line.
std::string dialog_reference_text();

// The guide's text with everything below the mark (or, without a mark, the whole text
// followed by one) replaced by the reference.
std::string dialog_reference_in_guide(const std::string& guide);
