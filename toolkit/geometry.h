// Values shared by every operation that positions or sizes something.
#pragma once

// Leave a position, size or bound as it is.
constexpr int UNCHANGED = -65535;
