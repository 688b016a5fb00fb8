#pragma once
// Going to a frame of a clip by number: a number typed into the frame box,
// and the keys that jump (Page Up and Page Down ten frames, Home and End to
// the first and last frame). Frames run from 0 to count - 1; every result
// stays within the clip.

#include <QString>
#include <cstdint>
#include <optional>

namespace zt {

inline constexpr int64_t framePageStep = 10;

// The frame a typed text asks for, read as every box is read (a leading
// number, to the nearest whole frame) and kept within the clip; nullopt for
// an empty clip or a text without a number.
std::optional<int64_t> typedFrame(const QString& text, int64_t frameCount);

// The frame a key goes to from position; nullopt for other keys.
std::optional<int64_t> frameForKey(int qtKey, int64_t position, int64_t frameCount);

} // namespace zt
